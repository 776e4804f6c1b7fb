#pragma once
// A write-only device that fails on the n-th write call (1-based) and on every one after it, as a
// full disk or a dropped connection would: the call returns -1 and sets the error string. What
// the writes before it delivered is kept in `written`. Opened unbuffered, so each QIODevice::write
// is one write call.

#include <QByteArray>
#include <QIODevice>
#include <QString>

namespace zv::test {

class FailingDevice final : public QIODevice {
 public:
  explicit FailingDevice(int failingWrite) : m_failingWrite(failingWrite) {
    open(QIODevice::WriteOnly | QIODevice::Unbuffered);
  }

  int writeCalls() const { return m_writeCalls; }
  QByteArray written;

 protected:
  qint64 readData(char*, qint64) override { return -1; }
  qint64 writeData(const char* data, qint64 size) override {
    if (++m_writeCalls >= m_failingWrite) {
      setErrorString(QStringLiteral("No space left on device"));
      return -1;
    }
    written.append(data, size);
    return size;
  }

 private:
  int m_failingWrite;
  int m_writeCalls = 0;
};

}  // namespace zv::test
