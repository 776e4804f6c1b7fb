#include "uninstall/TrainerQuit.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>

#include <cerrno>
#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace zv {

bool SendMessageOverUnixSocket(const QString& serverName, std::uint32_t message) {
  const QByteArray path = QFile::encodeName(serverName);
  sockaddr_un address{};
  if (path.isEmpty() || std::size_t(path.size()) >= sizeof address.sun_path) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.constData(), std::size_t(path.size()));

  const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  bool sent = false;
  if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    unsigned char bytes[4];
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<unsigned char>((message >> (8 * i)) & 0xFF);
    std::size_t done = 0;
    while (done < sizeof bytes) {
      const ssize_t n = ::send(fd, bytes + done, sizeof bytes - done, MSG_NOSIGNAL);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      done += std::size_t(n);
    }
    sent = done == sizeof bytes;
  }
  ::close(fd);
  return sent;
}

TrainerQuit QuitRunningTrainer(const InstancePaths& instance, int timeoutMs) {
  if (!instance.IsValid()) return TrainerQuit::NotRunning;
  if (!SingleInstanceLock(instance.LockFile).AlreadyExists()) return TrainerQuit::NotRunning;

  // The trainer may still be starting (its server not listening yet): the message is sent again
  // until it is taken, and the lock watched until it is released.
  QElapsedTimer timer;
  timer.start();
  bool sent = false;
  while (timer.elapsed() < timeoutMs) {
    if (!sent) sent = SendMessageOverUnixSocket(instance.ServerName, kQuitMessage);
    QThread::msleep(50);
    if (!SingleInstanceLock(instance.LockFile).AlreadyExists()) return TrainerQuit::Ended;
  }
  return TrainerQuit::StillRunning;
}

}  // namespace zv
