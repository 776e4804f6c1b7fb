#include "exam/Protocol.h"

#include <QStringList>

namespace zv {

QString ProtocolParagraph::Text() const {
  QString out;
  for (const ProtocolRun& r : runs) out += r.text;
  return out;
}

void ProtocolDocument::Clear() {
  m_paragraphs.assign(1, ProtocolParagraph{});
  m_style = {};
  m_colour = kBlack;
}

void ProtocolDocument::SetAttributes(RunStyle style, std::uint32_t colour) {
  m_style = style;
  m_colour = colour;
}

void ProtocolDocument::SetAlignment(Align align) { m_paragraphs.back().align = align; }

void ProtocolDocument::Append(const QString& text) {
  // A carriage return before the line feed (or alone) ends a paragraph just the same.
  QString normal = text;
  normal.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  const QStringList parts = normal.split(QLatin1Char('\n'));
  for (qsizetype i = 0; i < parts.size(); ++i) {
    if (i > 0) m_paragraphs.push_back(ProtocolParagraph{m_paragraphs.back().align, {}});
    if (parts[i].isEmpty()) continue;
    auto& runs = m_paragraphs.back().runs;
    if (!runs.empty() && runs.back().style == m_style && runs.back().colour == m_colour)
      runs.back().text += parts[i];
    else
      runs.push_back({parts[i], m_style, m_colour});
  }
}

QString ProtocolDocument::PlainText() const {
  QStringList lines;
  for (const auto& p : m_paragraphs) lines.append(p.Text());
  return lines.join(QLatin1Char('\n'));
}

}  // namespace zv
