#include "shell/FontEditor.h"

#include <algorithm>

namespace zv {

SizeRange SizeRangeFor(FontTarget target) {
  return target == FontTarget::TaskText ? SizeRange{12, 20} : SizeRange{8, 12};
}

FontTarget FontTargetFor(bool onTaskLabel) { return onTaskLabel ? FontTarget::TaskText : FontTarget::Answers; }

std::optional<FontStyle> StyleOf(const FontChoice& font) {
  if (font.underline || font.strikeOut) return std::nullopt;
  if (font.bold) return font.italic ? FontStyle::BoldItalic : FontStyle::Bold;
  return font.italic ? FontStyle::Italic : FontStyle::Regular;
}

FontChoice WithStyle(FontChoice font, FontStyle style) {
  font.bold = style == FontStyle::Bold || style == FontStyle::BoldItalic;
  font.italic = style == FontStyle::Italic || style == FontStyle::BoldItalic;
  font.underline = false;
  font.strikeOut = false;
  return font;
}

FontEditor::FontEditor(FontTarget target, FontChoice current, InstalledFonts installed)
    : m_target(target), m_current(std::move(current)), m_installed(std::move(installed)) {}

int FontEditor::TypefaceIndex() const {
  const QStringList& families = m_installed.families;
  for (const QString& name : {m_current.name, m_installed.resolveAlias(m_current.name)}) {
    if (name.isEmpty()) continue;
    const auto it = std::find_if(
        families.begin(), families.end(), [&](const QString& f) { return f.compare(name, Qt::CaseInsensitive) == 0; });
    if (it != families.end()) return int(it - families.begin());
  }
  return -1;
}

int FontEditor::SizeShown() const {
  const SizeRange r = Range();
  return std::clamp(m_current.size, r.min, r.max);
}

FontStyle FontEditor::CheckedStyle() const { return StyleOf(m_current).value_or(FontStyle::Regular); }

bool FontEditor::ChooseTypeface(const QString& family) {
  if (family.isEmpty() || family == m_current.name) return false;
  m_current.name = family;
  return true;
}

bool FontEditor::ChooseSize(int size) {
  const SizeRange r = Range();
  size = std::clamp(size, r.min, r.max);
  if (size == m_current.size) return false;
  m_current.size = size;
  return true;
}

bool FontEditor::ChooseStyle(FontStyle style) {
  const FontChoice next = WithStyle(m_current, style);
  if (next.bold == m_current.bold && next.italic == m_current.italic && next.underline == m_current.underline &&
      next.strikeOut == m_current.strikeOut)
    return false;
  m_current = next;
  return true;
}

}  // namespace zv
