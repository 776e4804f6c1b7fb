#pragma once
// UpdateSession: the update window's two steps, apart from the window.
//
// The check finds a server and reads what it offers. The address file "ZVUpdateURL.idx" is
// asked of the first server, then of the second when the first gives nothing usable (no
// answer, an empty body, a first line without a web address); its base address must hold
// one. The index "ZV1500.idx" is read from the base address, or from the alternate when the
// base holds no index (nothing arrived, or its first line is not "shell"); when the alternate
// holds none either, the check fails rather than reporting that nothing is newer. Each step
// adds a line to the window's log. Both files are downloaded into the private update folder
// under random names and deleted once read.
//
// The download step fetches the ticked items in list order into the same folder, reporting
// each item and each chunk to the window (whose Cancel sets the cancel flag in between), marks
// each finished item, and writes the hand-off script for the installers that arrived whole.
// A cancel stops it after the chunk in hand; the files already downloaded stay.

#include "sound/SoundService.h"
#include "update/DownloadRules.h"
#include "update/ServerAddresses.h"
#include "update/UpdateOffers.h"
#include "update/UpdateTransfer.h"

#include <QString>

#include <optional>
#include <vector>

namespace zv {

class RandomSource;

// The installed versions the offers are compared with: the build, and each package's count
// field as the sound layer found it at start-up (0 when absent or rejected).
InstalledVersions InstalledVersionsOf(const SoundCoverage& coverage, int build);

struct UpdateSources {
  UpdateTransfer& transfer;
  ServerAddresses servers;
  QString folder;  // PrepareUpdateFolder's, ending in "/"; empty when it was refused
  RandomSource& random;
  InstalledVersions installed;
};

// The news label's log: one more line, shown at once.
class UpdateLog {
 public:
  virtual ~UpdateLog() = default;
  virtual void Log(const QString& line) = 0;
};

enum class CheckFailure {
  NoFolder,        // the private folder could not be made or is not safe
  NoServer,        // neither server gave an address file
  BadBaseAddress,  // the address file's base address holds no web address
  NoIndex,         // neither the base nor the alternate holds an index
};

struct CheckOutcome {
  std::optional<CheckFailure> failure;
  UpdateOffer offer;  // without a failure
};

// What the download step shows as it goes.
class DownloadProgress {
 public:
  virtual ~DownloadProgress() = default;
  virtual void ItemStarting(int position, const UpdateItem& item) = 0;
  // After each chunk written; the window processes its messages here, so Cancel can be pressed.
  virtual void Chunk() = 0;
  virtual void ItemFinished(int position, bool failed) = 0;
};

enum class DownloadEnd {
  HandOffReady,    // the script is saved: start it and end the trainer
  Cancelled,       // the user cancelled; nothing to hand over
  NothingArrived,  // no installer arrived whole: nothing to run
  ScriptNotSaved,  // the script could not be written
};

struct DownloadOutcome {
  DownloadEnd end = DownloadEnd::NothingArrived;
  QString script;  // with HandOffReady: its path
};

class UpdateSession {
 public:
  explicit UpdateSession(UpdateSources sources) : m_sources(std::move(sources)) {}

  CheckOutcome Check(UpdateLog& log);
  const QString& BaseAddress() const { return m_base; }

  // `checked`: list positions in ascending order, each below the offer's item count.
  DownloadOutcome Download(const std::vector<UpdateItem>& items, const std::vector<int>& checked,
                           DownloadProgress& progress);
  void Cancel() { m_cancel = true; }
  bool Cancelled() const { return m_cancel; }
  const DownloadedMarks& Marks() const { return m_marks; }

 private:
  QString TemporaryIndexPath() const;
  // The index at `url`, or nothing when no index arrived.
  std::optional<UpdateIndex> FetchIndex(const QString& url);

  UpdateSources m_sources;
  QString m_base;
  bool m_cancel = false;
  DownloadedMarks m_marks;
};

}  // namespace zv
