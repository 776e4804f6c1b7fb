#include "exam/TaskList.h"

#include "platform/Cp1251.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"

#include <QStringList>

#include <algorithm>

namespace zv {
namespace {

void Write(ProtocolDocument& d, const QString& text, RunStyle style = kPlain, std::uint32_t colour = kBlack) {
  d.SetAttributes(style, colour);
  d.Append(text);
}

QString Number(long long n) { return QString::number(n); }

}  // namespace

bool InterpretationsShown(int lastMark, bool lastWasConsolidation) { return lastMark == 5 && !lastWasConsolidation; }

int AverageMark(int rCount, int passed) {
  if (passed <= 0) return 0;
  // (50 r + n) / (10 n), rounded half to even on integers: no binary fraction can tip a half.
  const long long num = 50LL * rCount + passed;
  const long long den = 10LL * passed;
  long long q = num / den;
  long long rem = num % den;
  if (rem < 0) {
    rem += den;
    --q;
  }
  if (2 * rem > den || (2 * rem == den && (q % 2 != 0))) ++q;
  return static_cast<int>(q);
}

QString TaskListProgressText(int taskCount, bool interpretations) {
  QString text = QStringLiteral("Формируется список из ") + Number(taskCount) + QStringLiteral(" фраз");
  if (interpretations) text += QStringLiteral(" с толкованиями");
  return text + QLatin1Char(':');
}

int TaskListProgressSteps(int taskCount) { return taskCount / kListStepLines + 1; }

QString ListPiece(const QByteArray& piece) { return cp1251::Decode(piece.left(kListPieceLength)); }

std::optional<ProtocolDocument> BuildTaskList(const TaskListInput& in, const std::function<bool()>& step) {
  const bool shown = InterpretationsShown(in.lastMark, in.lastWasConsolidation);
  const int passed = in.tasks.CountUsed();
  const bool startedOver = in.tasks.Wrapped;

  ProtocolDocument d;
  d.SetAlignment(Align::Centre);
  Write(d, QStringLiteral(" "));
  Write(d, Number(in.taskCount) + QStringLiteral(" ФРАЗ\n"), kBold, kRed);
  if (passed > 0) {
    Write(d, QStringLiteral("Фразы, использованные в заданиях, "));
    Write(d, QStringLiteral("вычеркнуты"), RunStyle{false, true, true});
    Write(d, QStringLiteral(" (таких ") + Number(passed) + QStringLiteral(").\n"));
  }
  if (!shown) {
    Write(d, QStringLiteral("Получив за экзамен  "));
    Write(d, QStringLiteral("5,\n"), kBold, kRed);
    if (in.lastWasConsolidation) Write(d, QStringLiteral("(кроме режима повторения пройденного)\n"));
    Write(d, QStringLiteral("увидите и толкования.\n"));
  }
  d.SetAlignment(Align::Left);

  const auto pieces = in.catalogue.PhrasesAndAnswers(in.taskCount);
  const qsizetype lines = std::min<qsizetype>(in.taskCount, static_cast<qsizetype>(in.displayOrder.size()));
  for (qsizetype k = 1; k <= lines; ++k) {
    Write(d, Number(k) + QStringLiteral(". "));
    if (k % kListStepLines == 0 && step && !step()) return std::nullopt;
    const int t = in.displayOrder[static_cast<std::size_t>(k - 1)];
    const bool struck = startedOver || in.tasks.IsUsed(t);
    const RunStyle style{true, false, struck};
    if (t >= 1 && t <= static_cast<int>(pieces.size())) {
      const auto& piece = pieces[static_cast<std::size_t>(t - 1)];
      Write(d, ListPiece(piece[0]), style, kBlue);
      if (shown) Write(d, QStringLiteral(" - ") + ListPiece(piece[1]), style, kGreen);
    }
    Write(d, QStringLiteral("\n"));
  }

  if (passed > 0) {
    d.SetAlignment(Align::Centre);
    Write(d,
          QStringLiteral("\nНачиная с ") + in.locale.toString(in.firstDate, QLocale::ShortFormat) +
              QStringLiteral(" правильно растолковано фраз:\n") + Number(in.statistics.RCount) +
              QStringLiteral(" из ") + Number(passed) + QStringLiteral("\n\nСредняя оценка: ") +
              Number(AverageMark(in.statistics.RCount, passed)),
          kPlain,
          kGrey);
  }
  return d;
}

std::optional<QString> FirstMixedWord(const QString& key) {
  const auto separator = [](unsigned c) {
    return (c >= 9 && c <= 64) || (c >= 91 && c <= 96) || (c >= 123 && c <= 127);
  };
  const auto latin = [](unsigned c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); };
  const auto cyrillic = [](unsigned c) { return c == 168 || c == 184 || c >= 192; };
  // A character without a single-byte code is a word character of neither alphabet.
  const auto code = [](QChar ch) -> unsigned { return cp1251::FromUnicode(ch.unicode()).value_or(0x81); };

  qsizetype i = 0;
  while (i < key.size()) {
    if (separator(code(key[i]))) {
      ++i;
      continue;
    }
    const qsizetype start = i;
    const bool first = cyrillic(code(key[i]));
    bool mixed = false;
    for (++i; i < key.size() && !separator(code(key[i])); ++i) {
      const unsigned c = code(key[i]);
      if (first ? latin(c) : !latin(c)) mixed = true;
    }
    if (mixed) return key.mid(start, i - start);
  }
  return std::nullopt;
}

std::vector<QString> SearchStrings(const QString& key, bool whole) {
  if (whole) return key.isEmpty() ? std::vector<QString>{} : std::vector<QString>{key};
  std::vector<QString> out;
  for (const QString& word : key.split(QLatin1Char(' '), Qt::SkipEmptyParts)) out.push_back(word);
  return out;
}

namespace {

bool WordChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_'); }

// Start positions of the non-overlapping occurrences of `what` in `text`.
std::vector<qsizetype> Occurrences(const QString& text, const QString& what, bool whole) {
  std::vector<qsizetype> out;
  qsizetype from = 0;
  while (true) {
    const qsizetype at = text.indexOf(what, from, Qt::CaseInsensitive);
    if (at < 0) break;
    const qsizetype end = at + what.size();
    const bool bounded =
        !whole || ((at == 0 || !WordChar(text[at - 1])) && (end >= text.size() || !WordChar(text[end])));
    if (bounded) {
      out.push_back(at);
      from = end;
    } else {
      from = at + 1;
    }
  }
  return out;
}

// The paragraph with the characters [at, at + length) of each occurrence coloured red.
ProtocolParagraph Highlight(const ProtocolParagraph& p, const std::vector<qsizetype>& starts, qsizetype length) {
  ProtocolParagraph out{p.align, {}};
  const auto push = [&out](QString text, RunStyle style, std::uint32_t colour) {
    if (text.isEmpty()) return;
    if (!out.runs.empty() && out.runs.back().style == style && out.runs.back().colour == colour)
      out.runs.back().text += text;
    else
      out.runs.push_back({std::move(text), style, colour});
  };
  std::size_t next = 0;  // the first occurrence that does not end before the current run
  qsizetype offset = 0;
  for (const ProtocolRun& run : p.runs) {
    const qsizetype runEnd = offset + run.text.size();
    qsizetype pos = offset;
    while (pos < runEnd) {
      while (next < starts.size() && starts[next] + length <= pos) ++next;
      if (next < starts.size() && starts[next] <= pos) {
        const qsizetype stop = std::min(runEnd, starts[next] + length);
        push(run.text.mid(pos - offset, stop - pos), run.style, kRed);
        pos = stop;
      } else {
        const qsizetype stop = next < starts.size() ? std::min(runEnd, starts[next]) : runEnd;
        push(run.text.mid(pos - offset, stop - pos), run.style, run.colour);
        pos = stop;
      }
    }
    offset = runEnd;
  }
  return out;
}

}  // namespace

ProtocolDocument NothingFoundDocument(const QString& key, bool whole) {
  ProtocolDocument d;
  d.SetAlignment(Align::Centre);
  Write(d, QStringLiteral("Нет фраз, содержащих \""), kBold);
  Write(d, key, kBold, kRed);
  Write(d, QStringLiteral("\""), kBold);
  if (whole) Write(d, QStringLiteral(" целиком"), kBold);
  return d;
}

SearchResult SearchTaskList(const ProtocolDocument& full, const QString& key, bool whole) {
  SearchResult result;
  std::vector<ProtocolParagraph> kept = full.Paragraphs();
  bool any = false;
  for (const QString& what : SearchStrings(key, whole)) {
    any = true;
    result.found = 0;
    std::vector<ProtocolParagraph> next;
    for (const ProtocolParagraph& p : kept) {
      const auto starts = Occurrences(p.Text(), what, whole);
      if (starts.empty()) continue;
      result.found += static_cast<int>(starts.size());
      next.push_back(Highlight(p, starts, what.size()));
    }
    kept = std::move(next);
    if (kept.empty()) break;
  }
  if (!any || result.found == 0) {
    result.found = 0;
    result.document = NothingFoundDocument(key, whole);
    return result;
  }
  result.document = ProtocolDocument::FromParagraphs(std::move(kept));
  return result;
}

}  // namespace zv
