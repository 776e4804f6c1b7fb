#pragma once
// Renders the exam protocol into the rich text the task list window shows.
//
// Each paragraph of the ProtocolDocument becomes one block with the paragraph's alignment;
// each run becomes one fragment with its style (bold, italic, struck out) and its colour
// (0xRRGGBB). The font family and size are the document's default font, so a later change of
// the view's font applies to the whole protocol. A line end left inside a run's text ("\r\n",
// a lone "\r" or "\n") is shown as a line break within its paragraph, never as a stray glyph
// and never as an extra empty paragraph; other control characters except the tab are dropped.

#include "exam/Protocol.h"

#include <QFont>
#include <QString>

class QTextDocument;

namespace zv {

// "Arial" 8 pt, Liberation Sans standing in where Arial is not installed.
QFont DefaultProtocolFont();

// Replaces the content of `target` with the protocol; `font` becomes its default font. The
// rendering is not recorded on the target's undo stack.
void RenderProtocol(const ProtocolDocument& protocol, QTextDocument& target, const QFont& font = DefaultProtocolFont());

// A run's text as the view shows it: line ends turned into line breaks (U+2028), other
// control characters but the tab removed.
QString ProtocolDisplayText(const QString& text);

}  // namespace zv
