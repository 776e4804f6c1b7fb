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

ProtocolDocument ProtocolDocument::FromParagraphs(std::vector<ProtocolParagraph> paragraphs) {
  ProtocolDocument d;
  if (!paragraphs.empty()) d.m_paragraphs = std::move(paragraphs);
  return d;
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

QString LongTimeWithoutZone(const QLocale& locale) {
  const QString format = locale.timeFormat(QLocale::LongFormat);
  const auto chopBlanks = [](QString& text) {
    while (!text.isEmpty() && text.back().isSpace()) text.chop(1);
  };
  QString out;
  for (qsizetype i = 0; i < format.size();) {
    const QChar c = format[i];
    if (c == QLatin1Char('\'')) {  // a quoted literal is copied whole ("''" is a quote)
      qsizetype end = format.indexOf(QLatin1Char('\''), i + 1);
      if (end < 0) end = format.size() - 1;
      out += format.mid(i, end - i + 1);
      i = end + 1;
      continue;
    }
    if (c != QLatin1Char('t')) {
      out += c;
      ++i;
      continue;
    }
    // A zone field ("t" ... "tttt"), with the brackets that hold only it and one of its
    // separating blanks.
    qsizetype next = i;
    while (next < format.size() && format[next] == QLatin1Char('t')) ++next;
    if (out.endsWith(QLatin1Char('(')) && next < format.size() && format[next] == QLatin1Char(')')) {
      out.chop(1);
      ++next;
    }
    if (!out.isEmpty() && out.back().isSpace())
      chopBlanks(out);
    else
      while (next < format.size() && format[next].isSpace()) ++next;
    i = next;
  }
  chopBlanks(out);
  return out;
}

QString ProtocolDocument::PlainText() const {
  QStringList lines;
  for (const auto& p : m_paragraphs) lines.append(p.Text());
  return lines.join(QLatin1Char('\n'));
}

}  // namespace zv
