#pragma once
// The program's short Latin name and the registry key built from it — the one place both are
// spelled. Every group of settings opens this key under HKEY_CURRENT_USER.

#include <QString>
#include <QStringView>

namespace zv {

inline constexpr QStringView kShortLatinName = u"Zorvik";

// "Software\Ostwin\" followed by the short name (the trainer's own by default).
inline QString ProgramKeyPath(QStringView shortName = kShortLatinName) {
  return QStringLiteral("Software\\Ostwin\\") + shortName.toString();
}

}  // namespace zv
