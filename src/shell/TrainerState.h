#pragma once
// TrainerState: the program-wide values fixed at start-up and the three start-up selectors,
// handed to the main window, which owns them from then on (it reads the statistics from the
// settings, and saves and releases the selectors when it closes).
//
// The selectors draw from the SystemInfo's random source, which must outlive them.

#include "common/ProgramKey.h"
#include "exam/ExamStatistics.h"
#include "tasks/TSmartRand.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace zv {

struct SystemInfo;
class ProgressSteps;

struct TrainerState {
  QString ShortName = kShortLatinName.toString();   // registry key, export file names
  QString CyrillicName = QStringLiteral("Зорвик");  // application title, message-box caption
  QString LatinName = QStringLiteral("Zorvik");     // font window
  int TaskCount = 1500;
  std::int32_t BuildNumber = 15000;  // compared with the update items
  QString VersionLabel = QStringLiteral("1500");
  ExamStatistics Statistics;  // start-up sets FirstDate to the current moment, RCount to 0

  std::unique_ptr<TSmartRand> Sayings;  // HeartP: the sayings under the protocol
  std::unique_ptr<TSmartRand> Remarks;  // HeartRC: the 18 consolidation remarks
  std::unique_ptr<TSmartRand> Tasks;    // Heart and DoneHeart: the 1500 tasks
};

inline constexpr int kRemarkSelectorWindow = 5;
inline constexpr int kTaskSelectorWindow = 50;

// Copies the names, the version label and the build number into the system information,
// which the settings key, the messages and the system description read them from.
void PublishProgramValues(const TrainerState& state, SystemInfo& info);

// Creates the three selectors and restores them from the settings key:
//  - sayings over `sayingsCount` items from HeartP; only when HeartP was taken the caption
//    becomes "Загрузка заданий:" and the bar steps;
//  - remarks (18 items, recent window 5) from HeartRC, then a step;
//  - tasks (1500 items, done set, recent window 50) from Heart and, whether or not Heart was
//    taken, DoneHeart (counted when taken), then a step.
// Every value that is absent, too long, of another type or empty leaves its set fresh;
// nothing is reported. The settings key is closed afterwards.
void RestoreStartUpSelectors(SystemInfo& info, TrainerState& state, int sayingsCount, ProgressSteps& progress);

}  // namespace zv
