#include "update/UpdateSession.h"

#include "common/Paths.h"
#include "sound/PackageFormat.h"
#include "sound/PackageSoundService.h"
#include "update/UpdateHandOff.h"
#include "update/UpdateIndex.h"

#include <QFile>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

// The downloaded file's bytes (at most one more than an index may have), then the file is gone.
QByteArray TakeFile(const QString& path) {
  QByteArray bytes;
  QFile file(path);
  if (file.open(QIODevice::ReadOnly)) bytes = file.read(kMaxIndexBytes + 1);
  file.close();
  QFile::remove(path);
  return bytes;
}

}  // namespace

InstalledVersions InstalledVersionsOf(const SoundCoverage& coverage, int build) {
  InstalledVersions v;
  v.build = build;
  v.allVoicedPresent = coverage.allVoicedPresent;
  for (int k = 0; k < kSoundCategoryCount; ++k) {
    const int package = PackageSoundService::PackageOf(static_cast<SoundCategory>(k));
    v.packageCounts[std::size_t(package)] = coverage.comments[std::size_t(k)];
  }
  for (std::size_t q = 0; q < coverage.voicedRevision.size(); ++q)
    v.packageCounts[std::size_t(kCommentPackageCount) + q] = coverage.voicedRevision[q];
  return v;
}

QString UpdateSession::TemporaryIndexPath() const {
  return m_sources.folder + RandomName(m_sources.random) + u".idx"_s;
}

std::optional<UpdateIndex> UpdateSession::FetchIndex(const QString& url) {
  const QString path = TemporaryIndexPath();
  const DownloadVerdict got = m_sources.transfer.Download(url, path, -1, FirstLineCheck::Off, {});
  const QByteArray bytes = TakeFile(path);
  if (!got.usable()) return std::nullopt;
  UpdateIndex index = ParseUpdateIndex(bytes);
  if (index.error) return std::nullopt;
  return index;
}

CheckOutcome UpdateSession::Check(UpdateLog& log) {
  CheckOutcome out;
  if (m_sources.folder.isEmpty()) {
    out.failure = CheckFailure::NoFolder;
    return out;
  }
  log.Log(u"Поиск серверов обновлений:"_s);
  const QString addressFile = TemporaryIndexPath();
  // The first server, then the second: the first whose address file passes the check answers.
  QString answering;
  for (const QString& server : {m_sources.servers.first, m_sources.servers.second}) {
    log.Log(server);
    if (m_sources.transfer.Download(server + u"/ZVUpdateURL.idx"_s, addressFile, -1, FirstLineCheck::On, {}).usable()) {
      answering = server;
      break;
    }
    QFile::remove(addressFile);
  }
  if (answering.isEmpty()) {
    out.failure = CheckFailure::NoServer;
    return out;
  }
  log.Log(u"Получение списка обновлений..."_s);
  const std::optional<UpdateServers> servers = ParseUpdateServers(TakeFile(addressFile), answering);
  if (!servers) {
    out.failure = CheckFailure::BadBaseAddress;
    return out;
  }
  m_base = servers->base;
  log.Log(m_base);
  std::optional<UpdateIndex> index = FetchIndex(m_base + u"ZV1500.idx"_s);
  if (!index) {
    m_base = servers->alternate;
    log.Log(m_base);
    index = FetchIndex(m_base + u"ZV1500.idx"_s);
    if (!index) {
      out.failure = CheckFailure::NoIndex;
      return out;
    }
  }
  out.offer = OfferUpdates(*index, m_sources.installed);
  return out;
}

DownloadOutcome UpdateSession::Download(const std::vector<UpdateItem>& items, const std::vector<int>& checked,
                                        DownloadProgress& progress) {
  m_cancel = false;
  std::vector<HandOffItem> handOff;
  for (const int i : checked) {
    if (m_cancel) break;
    const UpdateItem& item = items[std::size_t(i)];
    progress.ItemStarting(i, item);
    const QString path = m_sources.folder + item.fileName;
    const TransferHooks hooks{[&progress] { progress.Chunk(); }, &m_cancel};
    const DownloadVerdict got =
        m_sources.transfer.Download(m_base + item.fileName, path, item.size, FirstLineCheck::Off, hooks);
    if (m_cancel) break;
    // The hand-off runs the installer directly.
    const bool arrived =
        got.usable() &&
        QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_marks.Set(i);
    progress.ItemFinished(i, got.reportFailure);
    handOff.push_back({item.fileName, arrived});
  }
  if (m_cancel) return {DownloadEnd::Cancelled, {}};
  const std::optional<CommandFile> script = BuildHandOff(m_sources.folder, handOff);
  if (!script) return {DownloadEnd::NothingArrived, {}};
  const QString path = m_sources.folder + QString::fromUtf16(kHandOffFileName);
  if (script->Save(path)) return {DownloadEnd::ScriptNotSaved, {}};
  return {DownloadEnd::HandOffReady, path};
}

}  // namespace zv
