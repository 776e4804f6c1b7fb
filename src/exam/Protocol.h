#pragma once
// The exam protocol as a document of runs: what the exam writes, in the order it writes it,
// with the attributes of a rich text view (style and colour per run, alignment per paragraph).
// The task list window renders it; tests read it directly.

#include <QLocale>
#include <QString>

#include <cstdint>
#include <vector>

namespace zv {

enum class Align { Left, Centre };

struct RunStyle {
  bool bold = false;
  bool italic = false;
  bool strikeOut = false;
  friend bool operator==(const RunStyle&, const RunStyle&) = default;
};

inline constexpr RunStyle kPlain{};
inline constexpr RunStyle kBold{true, false, false};
inline constexpr RunStyle kItalic{false, true, false};
inline constexpr RunStyle kStruck{false, false, true};

inline constexpr std::uint32_t kBlack = 0x000000;
inline constexpr std::uint32_t kBlue = 0x0000FF;
inline constexpr std::uint32_t kGreen = 0x008000;
inline constexpr std::uint32_t kRed = 0xFF0000;

struct ProtocolRun {
  QString text;
  RunStyle style;
  std::uint32_t colour = kBlack;  // 0xRRGGBB
  friend bool operator==(const ProtocolRun&, const ProtocolRun&) = default;
};

struct ProtocolParagraph {
  Align align = Align::Left;
  std::vector<ProtocolRun> runs;
  QString Text() const;
};

// Appends text at the end with the attributes set just before, like typing into a rich text
// view at its insertion point: "\n" ends a paragraph; the alignment applies to the paragraph
// being written (and to the ones that follow until changed).
class ProtocolDocument {
 public:
  ProtocolDocument() { Clear(); }
  // A document of the given paragraphs (one empty paragraph when there are none); writing goes
  // on at the end of the last one.
  static ProtocolDocument FromParagraphs(std::vector<ProtocolParagraph> paragraphs);
  void Clear();
  void SetAttributes(RunStyle style, std::uint32_t colour);
  void SetAlignment(Align align);
  void Append(const QString& text);

  // Repainting is suspended from the exam start until EndUpdate (the view shows it then).
  void BeginUpdate() { m_updating = true; }
  void EndUpdate() { m_updating = false; }
  bool Updating() const { return m_updating; }

  const std::vector<ProtocolParagraph>& Paragraphs() const { return m_paragraphs; }
  QString PlainText() const;  // paragraphs joined with "\n"

 private:
  std::vector<ProtocolParagraph> m_paragraphs;
  RunStyle m_style;
  std::uint32_t m_colour = kBlack;
  bool m_updating = false;
};

// The locale's long time format without its time-zone part ("HH:mm:ss t" gives "HH:mm:ss",
// "t HH:mm:ss" and "H:mm:ss (t)" give the time alone): the protocol stamps each line with the
// time of day as the system writes it, and a zone on every line would say nothing.
QString LongTimeWithoutZone(const QLocale& locale);

}  // namespace zv
