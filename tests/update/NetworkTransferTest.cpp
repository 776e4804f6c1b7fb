// The transfer against a loopback server that behaves well and badly: what each kind of answer
// yields, how many chunks were reported, and that nothing but the destination is ever left.

#include "update/NetworkTransfer.h"

#include "update/UpdateIndex.h"

#include <gtest/gtest.h>

#include "support/LoopbackHttpServer.h"
#include "support/RowName.h"
#include "support/TestApplication.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QHostAddress>
#include <QTcpServer>
#include <QTemporaryDir>

#include <memory>

ZV_TEST_APPLICATION(QCoreApplication);

namespace zv {
namespace {

using namespace Qt::StringLiterals;
using test::HttpRoute;
using test::LoopbackHttpServer;

constexpr std::chrono::milliseconds kShortTimeout{1500};

QByteArray Bytes(qsizetype size) {
  QByteArray bytes(size, Qt::Uninitialized);
  for (qsizetype i = 0; i < size; ++i) bytes[i] = char((i * 7 + i / 251) & 0xFF);
  return bytes;
}

const QByteArray& WholeFile() {
  static const QByteArray bytes = Bytes(25000);  // two whole chunks and a short one
  return bytes;
}

const QByteArray kAddresses = "http://127.0.0.1/site/\r\nhttp://127.0.0.1/other/\r\n";

// A port nothing listens on: taken, then given back.
quint16 ClosedPort() {
  QTcpServer probe;
  probe.listen(QHostAddress::LocalHost, 0);
  const quint16 port = probe.serverPort();
  probe.close();
  return port;
}

class Site {
 public:
  Site() : m_server(m_folder.path()) {
    Write(u"whole.bin"_s, WholeFile());
    Write(u"ZVUpdateURL.idx"_s, kAddresses);
    m_server.Route("/error-page.idx",
                   HttpRoute::Page("<!DOCTYPE html>\n<html><body>Service unavailable</body></html>"));
    m_server.Route("/truncated.run", HttpRoute::Truncated(Bytes(20000), 30000));
    m_server.Route("/huge.run", HttpRoute::Endless());
    m_server.Route("/loop", HttpRoute::Redirect("/loop"));
    m_server.Route("/moved.bin", HttpRoute::Redirect("/whole.bin"));
    m_server.Route("/to-file", HttpRoute::Redirect("file:///etc/passwd"));
    m_server.Route("/silent.idx", HttpRoute::Silent());
    m_server.Listen();
  }
  LoopbackHttpServer& Server() { return m_server; }

 private:
  void Write(const QString& name, const QByteArray& bytes) {
    QFile file(QDir(m_folder.path()).filePath(name));
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
  }
  QTemporaryDir m_folder;
  LoopbackHttpServer m_server;
};

class NetworkTransferTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    qputenv("no_proxy", "127.0.0.1,localhost");  // a proxy of the machine must not see loopback
    s_site = std::make_unique<Site>();
  }
  static void TearDownTestSuite() { s_site.reset(); }
  static std::unique_ptr<Site> s_site;
};
std::unique_ptr<Site> NetworkTransferTest::s_site;

struct TransferRow {
  const char* name;
  const char* path;  // on the site; "closed:" a closed port, else a whole address when it has "://"
  qint64 expected;
  FirstLineCheck check;
  int cancelAtChunk;  // 0: never
  qint64 result;
  bool fileKept;
  bool reportFailure;
  int chunks;  // onChunk calls; -1: not looked at
};

class Transfers : public NetworkTransferTest, public ::testing::WithParamInterface<TransferRow> {};

TEST_P(Transfers, EndAsTheServerMadeThemAndLeaveOnlyTheDestination) {
  const TransferRow& row = GetParam();
  const QString path = QString::fromLatin1(row.path);
  QString url = s_site->Server().Url(path);
  if (path == u"closed"_s) url = u"http://127.0.0.1:%1/whole.bin"_s.arg(ClosedPort());
  if (path.contains(u"://"_s)) url = path;

  QTemporaryDir dir;
  const QString destination = QDir(dir.path()).filePath(u"item.run"_s);
  int chunks = 0;
  bool cancel = false;
  TransferHooks hooks;
  hooks.onChunk = [&] {  // as the window does: its events, the server's among them, are processed
    QCoreApplication::processEvents();
    ++chunks;
    if (chunks == row.cancelAtChunk) cancel = true;
  };
  hooks.cancel = &cancel;

  NetworkTransfer transfer("Zorvik test", kShortTimeout);
  const DownloadVerdict verdict = transfer.Download(url, destination, row.expected, row.check, hooks);

  EXPECT_EQ(verdict.result, row.result);
  EXPECT_EQ(verdict.keepFile, row.fileKept);
  EXPECT_EQ(verdict.reportFailure, row.reportFailure);
  if (row.chunks >= 0) {
    EXPECT_EQ(chunks, row.chunks);
  }
  const QStringList left =
      QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
  EXPECT_EQ(left, row.fileKept ? QStringList{u"item.run"_s} : QStringList{}) << left.join(u' ').toStdString();
}

constexpr qint64 kWhole = 25000;
// Bodies of unbounded length stop at their limit: the chunks that still fit under it.
constexpr int kItemLimitChunks = int((2 * 10240 + 65536) / kDownloadChunkBytes);
constexpr int kIndexLimitChunks = int(kMaxIndexBytes / kDownloadChunkBytes);

// clang-format off
INSTANTIATE_TEST_SUITE_P(Rows, Transfers, ::testing::Values(
    //          name                                    path                  expected check                cancel result             kept   failure chunks
    TransferRow{"WholeFileInCeilOfSizeOverChunkChunks", "/whole.bin",         kWhole, FirstLineCheck::Off, 0,     kWhole,            true,  false,  3},
    TransferRow{"RedirectFollowed",                     "/moved.bin",         kWhole, FirstLineCheck::Off, 0,     kWhole,            true,  false,  3},
    TransferRow{"AddressFilePassesFirstLineCheck",      "/ZVUpdateURL.idx",   -1,     FirstLineCheck::On,  0,     kAddresses.size(), true,  false,  1},
    TransferRow{"HtmlPageFailsFirstLineCheck",          "/error-page.idx",    -1,     FirstLineCheck::On,  0,     0,                 false, false,  1},
    TransferRow{"BodyShorterThanContentLength",         "/truncated.run",     30720,  FirstLineCheck::Off, 0,     0,                 false, true,  -1},
    TransferRow{"EndlessBodyCutOffAtItemLimit",         "/huge.run",          10240,  FirstLineCheck::Off, 0,     0,                 false, true,   kItemLimitChunks},
    TransferRow{"EndlessIndexCutOffAtIndexLimit",       "/huge.run",          -1,     FirstLineCheck::Off, 0,     0,                 false, true,   kIndexLimitChunks},
    TransferRow{"RedirectLoopEnds",                     "/loop",              10240,  FirstLineCheck::Off, 0,     0,                 false, true,   0},
    TransferRow{"RedirectToAnotherSchemeNotOpened",     "/to-file",           10240,  FirstLineCheck::Off, 0,     -1,                false, false,  0},
    TransferRow{"NeverAnswersTimesOut",                 "/silent.idx",        -1,     FirstLineCheck::On,  0,     0,                 false, true,   0},
    TransferRow{"NotFoundNotOpened",                    "/missing.run",       10240,  FirstLineCheck::Off, 0,     -1,                false, false,  0},
    TransferRow{"ClosedPortNotOpened",                  "closed",             kWhole, FirstLineCheck::Off, 0,     -1,                false, false,  0},
    TransferRow{"OtherSchemeNotOpened",                 "file:///etc/hostname", kWhole, FirstLineCheck::Off, 0,   -1,                false, false,  0},
    TransferRow{"CancelAfterSecondChunkCountsTheFirst", "/whole.bin",         kWhole, FirstLineCheck::Off, 2,     10240,             false, false,  2}),
    test::RowName{});
// clang-format on

TEST_F(NetworkTransferTest, TheBodyArrivesByteForByteWithTheAgentAndNoCache) {
  QTemporaryDir dir;
  const QString destination = QDir(dir.path()).filePath(u"whole.bin"_s);
  NetworkTransfer transfer("Zorvik 1500.0.0 (Test)", kShortTimeout);
  ASSERT_TRUE(
      transfer.Download(s_site->Server().Url(u"/whole.bin"_s), destination, kWhole, FirstLineCheck::Off, {}).usable());
  QFile file(destination);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll() == WholeFile());
  const QByteArray head = s_site->Server().LastRequestHead().toLower();
  EXPECT_TRUE(head.contains("\r\nuser-agent: zorvik 1500.0.0 (test)\r\n")) << head.toStdString();
  EXPECT_TRUE(head.contains("\r\ncache-control: no-cache")) << head.toStdString();
}

TEST_F(NetworkTransferTest, AStaleFileIsReplacedNotAppendedTo) {
  QTemporaryDir dir;
  const QString destination = QDir(dir.path()).filePath(u"ZVUpdateURL.idx"_s);
  QFile stale(destination);
  ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
  stale.write(Bytes(100000));
  stale.close();
  NetworkTransfer transfer("Zorvik test", kShortTimeout);
  EXPECT_EQ(
      transfer.Download(s_site->Server().Url(u"/ZVUpdateURL.idx"_s), destination, -1, FirstLineCheck::On, {}).result,
      kAddresses.size());
  EXPECT_EQ(QFileInfo(destination).size(), kAddresses.size());
}

}  // namespace
}  // namespace zv
