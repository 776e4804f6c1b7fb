// zvregedit FILE.reg [--yes]: adds the registration file to the registry hives (see
// platform/RegImport.h). Without --yes it asks in message boxes; with --yes it asks nothing,
// needs no display and writes its messages to stderr. Exit status 0 when the file was added.

#include "platform/RegImport.h"
#include "platform/SingleInstance.h"
#include "ui/MessageBoxPresenter.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProcessEnvironment>
#include <QStringList>
#include <QThread>

#include <cstdio>
#include <memory>

using namespace Qt::StringLiterals;

namespace {

// The trainer holds its single-instance lock for its whole life.
bool TrainerRunning() {
  const zv::InstancePaths paths = zv::InstancePaths::ForUser(QProcessEnvironment::systemEnvironment());
  if (!paths.IsValid()) return false;
  const zv::SingleInstanceLock probe(paths.LockFile);
  return probe.AlreadyExists();
}

constexpr int kUsageStatus = 64;

}  // namespace

int main(int argc, char** argv) {
  bool assumeYes = false;
  for (int i = 1; i < argc; ++i)
    if (qstrcmp(argv[i], "--yes") == 0) assumeYes = true;

  // Scripts get no window at all: a core application needs no display.
  std::unique_ptr<QCoreApplication> app;
  if (assumeYes)
    app = std::make_unique<QCoreApplication>(argc, argv);
  else
    app = std::make_unique<QApplication>(argc, argv);
  QCoreApplication::setApplicationName(u"zvregedit"_s);

  QStringList files;
  const QStringList arguments = QCoreApplication::arguments().mid(1);
  for (const QString& a : arguments)
    if (a != u"--yes"_s) files << a;
  if (files.size() != 1 || files.front().startsWith(u'-')) {
    std::fputs("usage: zvregedit [--yes] FILE.reg\n", stderr);
    return kUsageStatus;
  }
  if (!assumeYes) zv::InstallMessageBoxPresenter();

  zv::regimport::ImportRequest request;
  request.file = files.front();
  request.assumeYes = assumeYes;
  request.paths = zv::RegistryPaths::fromEnvironment();
  request.trainerRunning = TrainerRunning;
  request.wait = [](int ms) { QThread::msleep(static_cast<unsigned long>(ms)); };
  return zv::regimport::ExitStatusOf(zv::regimport::RunImport(request));
}
