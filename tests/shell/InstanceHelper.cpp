// A stand-in for another copy of the trainer, for the single-instance tests.
//   serve FOLDER   take the lock, listen as the main window would, print "ready", then print
//                  every message received ("message N") and end on the quit message
//   lock FOLDER    take the lock only (a first copy whose main window does not exist yet),
//                  print "ready" and wait to be killed

#include "platform/SingleInstance.h"

#include <QCoreApplication>

#include <cstdio>

using namespace zv;

namespace {

void say(const char* text) {
  std::printf("%s\n", text);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc != 3) return 64;
  const QByteArray mode = argv[1];
  const InstancePaths paths = InstancePaths::InFolder(QString::fromLocal8Bit(argv[2]));

  SingleInstanceLock lock(paths.LockFile);
  if (lock.CurrentState() != SingleInstanceLock::State::Owned) return 2;

  InstanceMessageServer server;
  if (mode == "serve") {
    if (!server.Listen(paths.ServerName)) return 3;
    QObject::connect(&server, &InstanceMessageServer::messageReceived, [](std::uint32_t message) {
      std::printf("message %u\n", message);
      std::fflush(stdout);
    });
    QObject::connect(&server, &InstanceMessageServer::quitRequested, &app, [] {
      say("quit");
      QCoreApplication::quit();
    });
  } else if (mode != "lock") {
    return 64;
  }
  say("ready");
  return QCoreApplication::exec();
}
