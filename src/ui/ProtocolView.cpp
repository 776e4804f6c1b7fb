#include "ui/ProtocolView.h"

#include <QColor>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace zv {
namespace {

QTextCharFormat RunFormat(const ProtocolRun& run) {
  QTextCharFormat f;
  f.setFontWeight(run.style.bold ? QFont::Bold : QFont::Normal);
  f.setFontItalic(run.style.italic);
  f.setFontStrikeOut(run.style.strikeOut);
  f.setForeground(QColor::fromRgb(static_cast<QRgb>(0xFF000000u | (run.colour & 0xFFFFFFu))));
  return f;
}

QTextBlockFormat ParagraphFormat(const ProtocolParagraph& paragraph) {
  QTextBlockFormat f;
  f.setAlignment(paragraph.align == Align::Centre ? Qt::AlignHCenter : Qt::AlignLeft);
  return f;
}

// The character format of a block itself: it sets the height of an empty line.
QTextCharFormat PlainFormat() {
  QTextCharFormat f;
  f.setForeground(QColor(Qt::black));
  return f;
}

}  // namespace

QFont DefaultProtocolFont() {
  QFont font;
  font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  font.setPointSize(8);
  return font;
}

QString ProtocolDisplayText(const QString& text) {
  QString out;
  out.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('\r')) {
      if (i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n')) ++i;
      out += QChar::LineSeparator;
    } else if (c == QLatin1Char('\n') || c == QChar::ParagraphSeparator) {
      out += QChar::LineSeparator;
    } else if (c == QLatin1Char('\t') || c.category() != QChar::Other_Control) {
      out += c;
    }
  }
  return out;
}

void RenderProtocol(const ProtocolDocument& protocol, QTextDocument& target, const QFont& font) {
  const bool undo = target.isUndoRedoEnabled();
  target.setUndoRedoEnabled(false);
  target.clear();
  target.setDefaultFont(font);

  QTextCursor cursor(&target);
  bool first = true;
  for (const ProtocolParagraph& paragraph : protocol.Paragraphs()) {
    if (first) {
      cursor.setBlockFormat(ParagraphFormat(paragraph));
      cursor.setBlockCharFormat(PlainFormat());
      first = false;
    } else {
      cursor.insertBlock(ParagraphFormat(paragraph), PlainFormat());
    }
    for (const ProtocolRun& run : paragraph.runs) {
      const QString text = ProtocolDisplayText(run.text);
      if (!text.isEmpty()) cursor.insertText(text, RunFormat(run));
    }
  }
  target.setUndoRedoEnabled(undo);
}

}  // namespace zv
