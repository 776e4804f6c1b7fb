#pragma once
// Pieces shared by the exam flow's files (ExamFlow*.cpp): text styles and colours of the
// protocol and the screen, the random pick among fixed texts, and the notices.

#include "exam/MainScreen.h"
#include "exam/Protocol.h"
#include "platform/RandomSource.h"

#include <QString>
#include <QStringList>

#include <cstdint>

namespace zv::examflow {

inline QString S(const char* utf8) { return QString::fromUtf8(utf8); }

inline const QString& Pick(RandomSource& random, const QStringList& list) {
  return list[random.Uniform(static_cast<int>(list.size()))];
}

inline constexpr std::uint32_t kNavy = 0x000080;
inline constexpr std::uint32_t kSilver = 0xC0C0C0;

inline std::uint32_t PackedRgb(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r) << 16) | (static_cast<std::uint32_t>(g) << 8) | static_cast<std::uint32_t>(b);
}

inline const QString kWrapNotice =
    S("Все имеющиеся в программе задания пройдены.\r\nРабота и статистика вновь начинается с нуля.");
inline const QString kPoolNotice = S("Все пройденные задания успешно повторены.\r\nПереход к новым заданиям.");
inline const QString kRepLabel = S(" Закрепление пройденного ");
inline const QString kDirLabel = S("Представление заданий");

}  // namespace zv::examflow
