#pragma once
// The task list as a document of runs (the same form the protocol takes, so one renderer shows
// both), and the search over it. Both are pure: the window renders what they return.
//
// The list, in display order: a header with the task count; when tasks have been passed, the
// line saying that used phrases are struck out; unless the interpretations are earned, the rule
// of how to earn them; one numbered line per task (the phrase in bold blue, struck out once
// passed, and with the interpretations " - " and the right one in green); when tasks have been
// passed, the statistics in grey with the average mark.
//
// The search keeps only the paragraphs that contain the search strings, colours every
// occurrence red, and counts the occurrences of the last string.

#include "exam/ExamStatistics.h"
#include "exam/Protocol.h"

#include <QByteArray>
#include <QDate>
#include <QLocale>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace zv {

class TaskCatalogue;
class TSmartRand;

inline constexpr std::uint32_t kGrey = 0x808080;
inline constexpr int kListStepLines = 16;  // the progress steps, and messages run, every 16 lines
inline constexpr int kListPieceLength = 79;

struct TaskListInput {
  const TaskCatalogue& catalogue;
  std::span<const std::uint16_t> displayOrder;  // task numbers, one per line
  const TSmartRand& tasks;
  ExamStatistics statistics;
  QDate firstDate;   // FirstDate as a calendar day
  int lastMark = 0;  // the mark of the last exam of this run, 0 before any
  bool lastWasConsolidation = false;
  int taskCount = 1500;
  QLocale locale = QLocale::system();  // the short date of the statistics
};

// The last exam earned the interpretations: mark 5 in an ordinary exam.
bool InterpretationsShown(int lastMark, bool lastWasConsolidation);

// 5 x rCount / passed + 0.1, rounded to the nearest integer with halves to even, computed
// exactly; 0 when nothing was passed.
int AverageMark(int rCount, int passed);

// "Формируется список из 1500 фраз" [+ " с толкованиями"] + ":".
QString TaskListProgressText(int taskCount, bool interpretations);
// The bar runs from 0 to this many steps.
int TaskListProgressSteps(int taskCount);

// A phrase or interpretation as the list shows it: at most 79 characters.
QString ListPiece(const QByteArray& piece);

// Builds the list. `step` runs every kListStepLines lines (the window steps its progress bar and
// lets messages run there); when it answers false the building stops and nothing is returned.
std::optional<ProtocolDocument> BuildTaskList(const TaskListInput& input, const std::function<bool()>& step = {});

// The first word of the key that mixes alphabets, judged on Windows-1251 codes: words are runs
// of codes outside 9..64, 91..96 and 123..127; a word is mixed when it starts with a Cyrillic
// letter and has a later Latin letter, or starts otherwise and has a later non-Latin code.
std::optional<QString> FirstMixedWord(const QString& key);

// The strings a search looks for: the key as typed when `whole`, else its blank-separated
// words in order.
std::vector<QString> SearchStrings(const QString& key, bool whole);

struct SearchResult {
  ProtocolDocument document;
  int found = 0;  // occurrences of the last string searched
};

// Searches `full` for every string in turn, each on what the previous one left; matching
// ignores case, and with `whole` an occurrence must not touch a letter or digit on either
// side. A string without occurrences empties the text and ends the search. When nothing is
// found the document is the "Нет фраз, содержащих ..." text.
SearchResult SearchTaskList(const ProtocolDocument& full, const QString& key, bool whole);

// The text shown when nothing was found (centred, bold; the key in red).
ProtocolDocument NothingFoundDocument(const QString& key, bool whole);

}  // namespace zv
