#pragma once
// TaskCatalogue: turns a task index into its phrase and interpretations, and draws the sayings
// and consolidation remarks. It reads the stored text it is given (the program passes the
// built-in content; tests pass small fixtures) and never reads past that text.

#include <QByteArray>
#include <QByteArrayView>

#include <array>
#include <concepts>
#include <vector>

namespace zv {

class TSmartRand;

// The current task: slot 0 the phrase, slots 1..n the interpretations in catalogue order
// (slot 1 the right one). Slots above n keep what an earlier task left there. Texts are
// Windows-1251 bytes, at most 255 each.
struct TaskRecord {
  std::array<QByteArray, 6> Slots;
};

inline constexpr int kRemarkCount = 18;
inline constexpr int kMaxTaskIndex = 2000;

class TaskCatalogue {
 public:
  // taskText: "c" task "c" task ... "c" (pieces separated by "o"); sayingsText: "^" s "^" ... "^".
  // A terminating zero, when present in the views, ends the text.
  TaskCatalogue(QByteArrayView taskText, QByteArrayView sayingsText);
  // The catalogue keeps views of the texts: an array that dies with the full expression would
  // leave them dangling, so temporaries are refused at compile time.
  template <typename T>
  requires std::same_as<T, QByteArray> TaskCatalogue(T&& taskText, QByteArrayView sayingsText)
  = delete;
  template <typename T>
  requires std::same_as<T, QByteArray> TaskCatalogue(QByteArrayView taskText, T&& sayingsText)
  = delete;

  // Fills the record and returns the number of interpretations (3..5); 0 for an index outside
  // 1..2000 or one the text does not hold (an empty task).
  int LoadTask(int index, TaskRecord& record) const;

  // The phrase and the right interpretation (slots 0 and 1 of LoadTask) of tasks 1..count, in
  // one pass over the text: element i - 1 for task i, both empty for a task the text does not
  // hold. The task list reads the whole bank at once this way.
  std::vector<std::array<QByteArray, 2>> PhrasesAndAnswers(int count) const;

  // Number of sayings: the "^" bytes not counting the text's last character.
  int CountSayings() const;
  // One saying, first letter upper-cased, in double quotation marks; one draw of `sayings`.
  QByteArray DrawSaying(TSmartRand& sayings) const;
  // The saying k (1-based), descrambled and capitalised, without quotation marks.
  QByteArray Saying(int k) const;

  // One consolidation remark with its first letter upper-cased; one draw of `remarks`.
  static QByteArray DrawRemark(TSmartRand& remarks);
  // Remark k (1..18) as written, Windows-1251; empty outside the range.
  static QByteArray Remark(int k);

  QByteArrayView TaskText() const { return m_tasks; }

 private:
  QByteArrayView m_tasks;
  QByteArrayView m_sayings;
};

}  // namespace zv
