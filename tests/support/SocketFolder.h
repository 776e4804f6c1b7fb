#pragma once
// A temporary folder that holds a local socket (the trainer's instance server). A socket's full
// path must fit in 107 bytes; a test's own Temp is its run folder deep in the build tree, which
// on a build machine with a longer checkout path leaves too little room, so these live in /tmp.

#include <QTemporaryDir>

namespace zv::test {

class SocketFolder : public QTemporaryDir {
 public:
  SocketFolder() : QTemporaryDir(QStringLiteral("/tmp/zv-XXXXXX")) {}
};

}  // namespace zv::test
