#pragma once
// Colours of the windows: RGB values as the exam and the windows keep them (0xRRGGBB), and
// the lettering of a control.

#include <QColor>
#include <QPalette>
#include <QWidget>

#include <cstdint>

namespace zv {

// The light blue behind the about, font, task-list and update windows.
inline constexpr QColor kSkyBlue(0xA6, 0xCA, 0xF0);

inline QColor ColourOf(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(0xFF000000u | rgb)); }

inline void SetTextColor(QWidget* w, QPalette::ColorRole role, const QColor& color) {
  QPalette pal = w->palette();
  pal.setColor(role, color);
  w->setPalette(pal);
}

}  // namespace zv
