// The failing device keeps its promise: the writes before the n-th arrive whole, the n-th and
// every later one fail with an error, and a stream over it reports the failure.

#include "support/FailingDevice.h"

#include <gtest/gtest.h>

#include <QTextStream>

namespace zv {
namespace {

TEST(FailingDevice, FailsFromTheNthWriteOnAndKeepsWhatCameBefore) {
  test::FailingDevice device(3);
  EXPECT_EQ(device.write("ab"), 2);
  EXPECT_EQ(device.write("cde"), 3);
  EXPECT_EQ(device.write("fg"), -1);
  EXPECT_FALSE(device.errorString().isEmpty());
  EXPECT_EQ(device.write("h"), -1) << "a failed device does not recover";
  EXPECT_EQ(device.written, QByteArray("abcde"));
  EXPECT_EQ(device.writeCalls(), 4);

  test::FailingDevice first(1);
  QTextStream out(&first);
  out << "строка";
  out.flush();
  EXPECT_EQ(out.status(), QTextStream::WriteFailed);
  EXPECT_TRUE(first.written.isEmpty());
}

}  // namespace
}  // namespace zv
