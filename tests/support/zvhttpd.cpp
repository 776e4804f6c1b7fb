// zvhttpd FOLDER [PORT]: serves FOLDER over HTTP on 127.0.0.1 (PORT, or any free port when it
// is 0 or absent), prints the port on a line of its own and serves until it is terminated; it
// also ends with the process that started it. For tests that run the real trainer against an
// update site.

#include "support/LoopbackHttpServer.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QStringList>

#include <csignal>
#include <cstdio>

#include <sys/prctl.h>

int main(int argc, char** argv) {
  ::prctl(PR_SET_PDEATHSIG, SIGTERM);  // a test that dies leaves no server behind
  QCoreApplication app(argc, argv);
  const QStringList args = app.arguments().mid(1);
  bool portOk = true;
  const quint16 port = args.size() > 1 ? args[1].toUShort(&portOk) : quint16{0};
  if (args.isEmpty() || args.size() > 2 || !portOk || !QFileInfo(args[0]).isDir()) {
    std::fputs("usage: zvhttpd FOLDER [PORT]\n", stderr);
    return 2;
  }
  zv::test::LoopbackHttpServer server(args[0]);
  if (!server.Listen(port)) {
    std::fprintf(stderr, "zvhttpd: cannot listen on 127.0.0.1:%u\n", unsigned{port});
    return 1;
  }
  std::printf("%u\n", unsigned{server.Port()});
  std::fflush(stdout);
  return app.exec();
}
