#pragma once
// TrainerProcess: the real trainer (or a driver built from the same pieces) started as a process
// of its own on a temporary folder that holds its registry hives and its instance server, so an
// end-to-end test can wait for its start screen, end it as the uninstaller or a signal would,
// and read back what it stored.

#include "platform/SingleInstance.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>

#include <signal.h>

namespace zv::test {

using namespace Qt::StringLiterals;

class TrainerProcess {
 public:
  // `program`: the trainer or a driver built from it; `drive`: the driver's ZV_DRIVE (empty for
  // the real trainer); `display`: an X display to run on instead of offscreen; `sound`: SDL's
  // dummy audio driver (else an audio driver that cannot open, so the trainer runs without
  // sound). Sound packages are looked up in the temporary folder and next to the program.
  // `more`: further variables, set last (they may replace the ones above).
  TrainerProcess(const QTemporaryDir& dir, const QString& program, const QString& drive = QString(),
                 const QString& display = QString(), bool sound = false,
                 const QProcessEnvironment& more = QProcessEnvironment())
      : m_dir(dir) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(u"QT_QPA_PLATFORM"_s, display.isEmpty() ? u"offscreen"_s : u"xcb"_s);
    if (!display.isEmpty()) env.insert(u"DISPLAY"_s, display);
    env.insert(u"LANG"_s, u"ru_RU.UTF-8"_s);
    env.insert(u"LC_ALL"_s, u"ru_RU.UTF-8"_s);
    env.insert(u"XDG_RUNTIME_DIR"_s, dir.path());
    env.insert(u"ZORVIK_REGISTRY_DIR"_s, dir.filePath(u"registry"_s));
    env.insert(u"XDG_DATA_HOME"_s, dir.path());
    env.insert(u"SDL_AUDIODRIVER"_s, sound ? u"dummy"_s : u"zv-no-audio"_s);
    if (!drive.isEmpty()) env.insert(u"ZV_DRIVE"_s, drive);
    env.insert(more);
    m_process.setProcessEnvironment(env);
    m_process.setProgram(program);
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.start();
    m_driven = !drive.isEmpty();
  }
  ~TrainerProcess() {
    if (m_process.state() != QProcess::NotRunning) {
      m_process.kill();
      m_process.waitForFinished();
    }
  }
  // The real trainer: its main window answers on its server once the start screen is up. The
  // driven one: it says READY when the exam is where it was asked to be.
  bool WaitUntilReady() {
    QElapsedTimer timer;
    timer.start();
    const QString server = InstancePaths::InFolder(m_dir.path()).ServerName;
    while (timer.elapsed() < 30000 && m_process.state() != QProcess::NotRunning) {
      if (m_driven) {
        m_process.waitForReadyRead(100);
        if (m_process.readAllStandardOutput().contains("READY")) return true;
      } else {
        if (SendInstanceMessage(server, kBringForwardMessage, 200)) return true;
        QThread::msleep(20);
      }
    }
    return false;
  }
  // Sends `signal`; the exit code once the process has ended by itself, -1 if it has not
  // within 20 s, -2 if it crashed.
  int EndWith(int signal) {
    ::kill(static_cast<pid_t>(m_process.processId()), signal);
    if (!m_process.waitForFinished(20000)) return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -2;
  }
  // The exit code once the process has ended by itself within 20 s; -1 or -2 as above.
  int WaitForEnd() {
    if (!m_process.waitForFinished(20000)) return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -2;
  }
  int Quit() {
    SendInstanceMessage(InstancePaths::InFolder(m_dir.path()).ServerName, kQuitMessage);
    if (!m_process.waitForFinished(20000)) return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -2;
  }

 private:
  const QTemporaryDir& m_dir;
  QProcess m_process;
  bool m_driven = false;
};

}  // namespace zv::test
