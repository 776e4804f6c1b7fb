#include "tasks/TaskCatalogue.h"

#include "platform/Cp1251.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskText.h"

#include <QString>

#include <algorithm>
#include <cstring>

namespace zv {
namespace {

QByteArrayView UpToZero(QByteArrayView text) {
  const qsizetype zero = text.indexOf('\0');
  return zero < 0 ? text : text.first(zero);
}

// The remarks shown above a replayed task in consolidation mode.
constexpr std::array<const char*, kRemarkCount> kRemarks = {
    "всё когда-нибудь повторяется",
    "ещё раз:",
    "заново:",
    "знакомо?",
    "история повторяется",
    "ну-ка, как усвоено?",
    "насладимся ещё разок:",
    "переповторение - лишнее мучение",
    "повторение - мать учения",
    "повторная попытка",
    "повторное появление:",
    "повторяется на бис:",
    "проверка памяти:",
    "реминисценция",
    "уже опытным глазом:",
    "учим наизусть?",
    "что-то такое уже было:",
    "это не ново:",
};

}  // namespace

TaskCatalogue::TaskCatalogue(QByteArrayView taskText, QByteArrayView sayingsText)
    : m_tasks(UpToZero(taskText)), m_sayings(UpToZero(sayingsText)) {}

int TaskCatalogue::LoadTask(int index, TaskRecord& record) const {
  if (index < 1 || index > kMaxTaskIndex) return 0;
  // Pass `index` task ends: the position is then at the first byte of the task's phrase.
  // memchr keeps the scan over the whole bank (about 170 KB) in the microseconds.
  const char* const begin = m_tasks.data();
  const char* const end = begin + m_tasks.size();
  const char* p = begin;
  for (int passed = 0; passed < index; ++passed) {
    const void* hit = std::memchr(p, kTaskEnd, static_cast<std::size_t>(end - p));
    if (!hit) return 0;
    p = static_cast<const char*>(hit) + 1;
  }
  qsizetype pos = p - begin;
  for (int slot = 0;; ++slot) {
    qsizetype stop = pos;
    while (stop < m_tasks.size() && m_tasks[stop] != kTaskEnd && m_tasks[stop] != kPieceSeparator) ++stop;
    if (stop >= m_tasks.size()) return 0;  // a text cut short: no task here
    const bool last = m_tasks[stop] == kTaskEnd;
    if (slot == 0 && last && stop == pos) return 0;  // an empty task (not yet written)
    if (slot < static_cast<int>(record.Slots.size())) {
      record.Slots[static_cast<std::size_t>(slot)] =
          Capitalize(Descramble(m_tasks.sliced(pos, stop - pos))).left(kMaxPiece);
    }
    if (last) return std::min(slot, static_cast<int>(record.Slots.size()) - 1);
    pos = stop + 1;
  }
}

std::vector<std::array<QByteArray, 2>> TaskCatalogue::PhrasesAndAnswers(int count) const {
  std::vector<std::array<QByteArray, 2>> out(static_cast<std::size_t>(std::max(count, 0)));
  const qsizetype first = m_tasks.indexOf(kTaskEnd);
  if (first < 0) return out;
  qsizetype pos = first + 1;
  for (auto& entry : out) {
    const qsizetype end = m_tasks.indexOf(kTaskEnd, pos);
    if (end < 0) break;  // a text cut short holds no further task
    const QByteArrayView task = m_tasks.sliced(pos, end - pos);
    pos = end + 1;
    const qsizetype cut = task.indexOf(kPieceSeparator);
    if (cut < 0) continue;  // an empty task, or one without interpretations
    const qsizetype cut2 = task.indexOf(kPieceSeparator, cut + 1);
    const QByteArrayView answer = task.sliced(cut + 1, (cut2 < 0 ? task.size() : cut2) - cut - 1);
    entry[0] = Capitalize(Descramble(task.first(cut))).left(kMaxPiece);
    entry[1] = Capitalize(Descramble(answer)).left(kMaxPiece);
  }
  return out;
}

int TaskCatalogue::CountSayings() const {
  if (m_sayings.isEmpty()) return 0;
  return static_cast<int>(m_sayings.first(m_sayings.size() - 1).count(kSayingSeparator));
}

QByteArray TaskCatalogue::Saying(int k) const {
  if (k < 1) return {};
  qsizetype pos = 0;
  for (int passed = 0; passed < k; ++pos) {
    if (pos >= m_sayings.size()) return {};
    if (m_sayings[pos] == kSayingSeparator) ++passed;
  }
  const qsizetype end = m_sayings.indexOf(kSayingSeparator, pos);
  if (end < 0) return {};
  return Capitalize(Descramble(m_sayings.sliced(pos, end - pos)));
}

QByteArray TaskCatalogue::DrawSaying(TSmartRand& sayings) const { return '"' + Saying(sayings.DrawNew()) + '"'; }

QByteArray TaskCatalogue::Remark(int k) {
  if (k < 1 || k > kRemarkCount) return {};
  return cp1251::Encode(QString::fromUtf8(kRemarks[static_cast<std::size_t>(k - 1)])).value_or(QByteArray());
}

QByteArray TaskCatalogue::DrawRemark(TSmartRand& remarks) { return Capitalize(Remark(remarks.DrawNew())); }

}  // namespace zv
