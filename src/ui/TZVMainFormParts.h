#pragma once
// Pieces shared by the main window's files (TZVMainForm*.cpp): the places of the controls
// inside their groups and panels, the link colours and small helpers for fonts and lettering.
// Window-side and private to the main window.

#include "shell/MainSettings.h"
#include "ui/WidgetColours.h"

#include <QComboBox>
#include <QFont>
#include <QFontMetrics>
#include <QGroupBox>
#include <QPalette>
#include <QRect>
#include <QString>
#include <QStringList>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cstdint>

namespace zv::mainform {

inline QString S(const char* utf8) { return QString::fromUtf8(utf8); }

inline constexpr std::uint32_t kPurple = 0x800080;
inline constexpr std::uint32_t kNavyRgb = 0x000080;
inline constexpr std::uint32_t kBlueRgb = 0x0000FF;

// Places inside the groups and panels (their own coordinates).
inline constexpr QRect kGenLabel{8, 4, 112, 36};
inline constexpr QRect kGenComboBox{120, 10, 42, 24};
inline constexpr QRect kDirLabel{6, 2, 143, 16};
inline constexpr QRect kDirComboBox{8, 18, 139, 24};
inline constexpr QRect kSoundCheckBox{8, 4, 16, 18};
inline constexpr QRect kSoundLabel{26, 3, 160, 18};
inline constexpr QRect kSoundLabelAlone{4, 3, 183, 38};  // the notice when there is no sound
inline constexpr QRect kVolumeTrackBar{6, 22, 179, 20};
inline constexpr QRect kTLCheckBox{8, 4, 16, 18};
inline constexpr QRect kTLLabel{24, 3, 134, 18};
inline constexpr QRect kTLComboBox{158, 2, 56, 22};
inline constexpr int kTictacTop = 25;
inline constexpr int kTictacCheckBoxLeft = 6;  // on the start screen; the label 18 pixels right of it
inline constexpr int kTicTacLabelWidth = 120;
inline constexpr QRect kRepCheckBox{8, 4, 16, 18};
inline constexpr QRect kRepLabel{26, 3, 200, 18};
inline constexpr QRect kRepInfoLabel{26, 20, 268, 25};
inline constexpr QRect kTaskLabel{10, 18, 520, 84};
inline constexpr QRect kRepComLabel{8, 2, 262, 16};
inline constexpr QRect kRepStatusLabel{270, 2, 262, 16};
inline constexpr QRect kAnswerButton{2, 1, 536, 26};
inline constexpr int kCancelWidth = 260;
inline constexpr int kShowLogWidth = 200;
inline constexpr int kBottomButtonTop = 4;
inline constexpr int kBottomButtonHeight = 28;
inline constexpr int kTLExamTop = 4;
inline constexpr int kSoundExamTop = 8;
inline constexpr int kEdgeGap = 8;

// The texts of the exam break lines with "\r\n" or a lone "\r"; labels break on "\n".
inline QString Lines(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
}

// The lettering of an enabled control; a disabled one keeps the style's grey.
inline void SetTextColour(QWidget* w, std::uint32_t rgb) {
  QPalette pal = w->palette();
  for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive})
    pal.setColor(group, QPalette::WindowText, ColourOf(rgb));
  w->setPalette(pal);
}

// A paragraph too wide for `width` is broken once, where its two lines come out most even,
// so no word is left alone on a line of its own.
inline QString BalancedLines(const QString& text, const QFontMetrics& metrics, int width) {
  QStringList out;
  for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
    if (metrics.horizontalAdvance(paragraph) <= width) {
      out << paragraph;
      continue;
    }
    qsizetype best = -1;
    int bestWidth = 0;
    for (qsizetype i = paragraph.indexOf(QLatin1Char(' ')); i > 0; i = paragraph.indexOf(QLatin1Char(' '), i + 1)) {
      const int widest =
          std::max(metrics.horizontalAdvance(paragraph.left(i)), metrics.horizontalAdvance(paragraph.mid(i + 1)));
      if (best < 0 || widest < bestWidth) {
        best = i;
        bestWidth = widest;
      }
    }
    if (best < 0 || bestWidth > width) {
      out << paragraph;  // no even break fits: the label wraps it
      continue;
    }
    out << paragraph.left(best) << paragraph.mid(best + 1);
  }
  return out.join(QLatin1Char('\n'));
}

inline void SetBold(QWidget* w, bool bold) {
  QFont f = w->font();
  if (f.bold() == bold) return;
  f.setBold(bold);
  w->setFont(f);
}

inline QFont FontOf(const FontChoice& c) {
  QFont f(c.name);
  f.setPointSize(c.size > 0 ? c.size : 10);
  f.setBold(c.bold);
  f.setItalic(c.italic);
  f.setUnderline(c.underline);
  f.setStrikeOut(c.strikeOut);
  return f;
}

inline FontChoice ChoiceOf(const QFont& f) {
  FontChoice c;
  c.name = f.family();
  c.size = f.pointSize();
  c.bold = f.bold();
  c.italic = f.italic();
  c.underline = f.underline();
  c.strikeOut = f.strikeOut();
  return c;
}

// The card colour of an option group (it paints its own rounded card, see OptionGroup).
inline void SetGroupColour(QGroupBox* group, const QColor& colour) {
  QPalette pal = group->palette();
  pal.setColor(QPalette::Window, colour);
  group->setPalette(pal);
}

// While it is the countdown display, the time-limit box is disabled between its steps yet
// must stay legible: dark lettering then; on the start screen a disabled box looks disabled.
inline void SetCountdownLettering(QComboBox* box, bool countdown) {
  QPalette pal = box->palette();
  const QPalette normal = box->style()->standardPalette();
  for (const QPalette::ColorRole role : {QPalette::ButtonText, QPalette::Text})
    pal.setColor(
        QPalette::Disabled, role, countdown ? QColor(0x1E, 0x2A, 0x44) : normal.color(QPalette::Disabled, role));
  box->setPalette(pal);
}

}  // namespace zv::mainform
