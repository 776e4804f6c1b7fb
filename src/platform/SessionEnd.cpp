#include "platform/SessionEnd.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QSocketNotifier>
#include <QThread>

#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>

#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zv {
namespace {

constexpr std::array kSignals{SIGTERM, SIGINT, SIGHUP};

// The write end of the socket pair, read by the handler; -1 while no SessionEnd lives.
volatile std::sig_atomic_t g_writeFd = -1;
std::array<struct sigaction, kSignals.size()> g_previous{};

extern "C" void OnSessionSignal(int signal) {
  const int savedErrno = errno;
  const int fd = g_writeFd;
  if (fd >= 0) {
    const char byte = static_cast<char>(signal);
    // Non-blocking: when the socket is full, earlier bytes already report the end.
    [[maybe_unused]] const ssize_t written = ::write(fd, &byte, 1);
  }
  errno = savedErrno;
}

// The live instance, for the exit handler.
SessionEnd* g_live = nullptr;

extern "C" void OnProcessExit() { EndAtProcessExit(); }

}  // namespace

void EndAtProcessExit() {
  SessionEnd* session = g_live;
  const QCoreApplication* app = QCoreApplication::instance();
  if (session == nullptr || session->m_ended || app == nullptr || QThread::currentThread() != app->thread()) return;
  session->m_atExit = true;
  session->End();
}

bool RequestSessionEnd() {
  SessionEnd* session = g_live;
  if (session == nullptr) return false;
  session->End();
  return true;
}

SessionEnd::SessionEnd(QObject* parent) : QObject(parent) {
  static const bool exitHandlerRegistered = std::atexit(OnProcessExit) == 0;
  if (exitHandlerRegistered) g_live = this;

  int fds[2] = {-1, -1};
  if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, fds) == 0) {
    m_readFd = fds[0];
    g_writeFd = fds[1];
    m_notifier = new QSocketNotifier(static_cast<qintptr>(m_readFd), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &SessionEnd::ReadSignals);

    struct sigaction action {};
    action.sa_handler = OnSessionSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &action, &g_previous[i]);
  }
  // Without a socket pair the signals keep their default action: the process ends unsaved,
  // as it would have without this object.

  if (auto* gui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
    connect(gui, &QGuiApplication::commitDataRequest, this, &SessionEnd::End);
  if (QCoreApplication* app = QCoreApplication::instance())
    connect(app, &QCoreApplication::aboutToQuit, this, &SessionEnd::End);
}

SessionEnd::~SessionEnd() {
  if (g_live == this) g_live = nullptr;
  if (m_readFd < 0) return;
  for (std::size_t i = 0; i < kSignals.size(); ++i) ::sigaction(kSignals[i], &g_previous[i], nullptr);
  const int writeFd = g_writeFd;
  g_writeFd = -1;
  ::close(writeFd);
  ::close(m_readFd);
}

void SessionEnd::ReadSignals() {
  char bytes[16];
  ssize_t n = 0;
  bool any = false;
  while ((n = ::read(m_readFd, bytes, sizeof bytes)) > 0) {
    m_lastSignal = static_cast<unsigned char>(bytes[n - 1]);
    any = true;
  }
  if (any) End();
}

void SessionEnd::End() {
  m_ended = true;
  emit ending();
}

}  // namespace zv
