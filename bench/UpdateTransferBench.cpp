// Update transfer figures on loopback, against zvhttpd in a process of its own: the download
// of a 5 MB installer with the window's per-chunk work (events processed after every chunk),
// and the fetch of both index files (the address file with its first-line check, then the
// index) as the update window's first step makes it.

#include "UpdateSite.h"

#include "update/NetworkTransfer.h"
#include "update/UpdateIndex.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace zv;
using namespace Qt::StringLiterals;

constexpr qint64 kInstallerBytes = 5 * 1000 * 1000;

void Write(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (file.open(QIODevice::WriteOnly)) file.write(bytes);
}

// A site with a 5 MB file and index files of the real shape (every package listed), served by
// zvhttpd.
class Server {
 public:
  Server() {
    QByteArray big(kInstallerBytes, Qt::Uninitialized);
    for (qint64 i = 0; i < big.size(); ++i) big[i] = char((i * 131) >> 3);
    Write(m_site.filePath(u"big.run"_s), big);
    m_server.start(QStringLiteral(ZV_HTTPD), {m_site.path()});
    m_server.waitForReadyRead(10000);
    m_base = u"http://127.0.0.1:"_s + QString::fromLatin1(m_server.readLine().trimmed());
    Write(m_site.filePath(u"ZVUpdateURL.idx"_s), updatesite::ServersFile({m_base + u"/"_s, m_base + u"/"_s}));
    std::vector<updatesite::SitePackage> packages;
    std::vector<qint64> sizes;
    for (int c = 0; c < kPackageCount; ++c) {
      packages.push_back({c, 1, {}});
      sizes.push_back(400 * 1024);
    }
    Write(m_site.filePath(u"ZV1500.idx"_s), updatesite::IndexFile(packages, sizes));
  }
  ~Server() {
    m_server.terminate();
    m_server.waitForFinished(5000);
  }
  const QString& Base() const { return m_base; }

 private:
  QTemporaryDir m_site;
  QProcess m_server;
  QString m_base;
};

Server& TheServer() {
  static Server server;
  return server;
}

void BM_DownloadWithProgress(benchmark::State& state) {
  Server& server = TheServer();
  QTemporaryDir temp;
  const QString destination = temp.filePath(u"big.run"_s);
  NetworkTransfer transfer("Zorvik bench");
  TransferHooks hooks;
  int chunks = 0;
  hooks.onChunk = [&chunks] {
    ++chunks;
    QCoreApplication::processEvents();
  };
  for (auto _ : state) {
    const DownloadVerdict verdict =
        transfer.Download(server.Base() + u"/big.run"_s, destination, kInstallerBytes, FirstLineCheck::Off, hooks);
    if (verdict.result != kInstallerBytes) state.SkipWithError("the download did not complete");
  }
  state.SetBytesProcessed(state.iterations() * kInstallerBytes);
  state.counters["chunks"] = benchmark::Counter(chunks, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DownloadWithProgress)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_FetchBothIndexFiles(benchmark::State& state) {
  Server& server = TheServer();
  QTemporaryDir temp;
  const QString addresses = temp.filePath(u"a.idx"_s);
  const QString index = temp.filePath(u"b.idx"_s);
  NetworkTransfer transfer("Zorvik bench");
  for (auto _ : state) {
    const DownloadVerdict first =
        transfer.Download(server.Base() + u"/ZVUpdateURL.idx"_s, addresses, -1, FirstLineCheck::On, {});
    QFile file(addresses);
    file.open(QIODevice::ReadOnly);
    const auto servers = ParseUpdateServers(file.readAll(), server.Base());
    if (first.result <= 0 || !servers) {
      state.SkipWithError("no address file");
      break;
    }
    const DownloadVerdict second =
        transfer.Download(servers->base + u"ZV1500.idx"_s, index, -1, FirstLineCheck::Off, {});
    if (second.result <= 0) state.SkipWithError("no index");
  }
}
BENCHMARK(BM_FetchBothIndexFiles)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  qputenv("no_proxy", "127.0.0.1");
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
