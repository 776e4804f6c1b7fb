#pragma once
// The task list window's own values in the program key: its font (LogFont, LogFontSize) and
// size (LogHeight, LogWidth), read in one protected group when the window opens and written in
// one when it closes. A failure ends the group: values not yet read keep their defaults.

#include <QString>

namespace zv {

class Registry;

struct ListSettings {
  static constexpr int kMinFontSize = 6;
  static constexpr int kMaxFontSize = 12;
  static constexpr int kMinHeight = 200;
  static constexpr int kMinWidth = 594;

  QString font = QStringLiteral("Arial");  // the window falls back to Arial when not installed
  int fontSize = 8;
  int height = 459;
  int width = 594;
};

// A stored size outside the 16-bit signed range fails the group; within it, it is clamped to
// 6..12. Height and width are raised to their minimum.
void ReadListSettings(Registry& registry, ListSettings& settings);
void WriteListSettings(Registry& registry, const ListSettings& settings);

}  // namespace zv
