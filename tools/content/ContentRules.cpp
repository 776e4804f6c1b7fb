#include "ContentRules.h"

#include "platform/Cp1251.h"
#include "tasks/TaskText.h"

#include <QStringDecoder>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>

namespace zv::content {
namespace {

const QStringList kRegisters = {
    QStringLiteral("разг."),
    QStringLiteral("прост."),
    QStringLiteral("жарг."),
    QStringLiteral("молод."),
    QStringLiteral("ирон."),
    QStringLiteral("шутл."),
    QStringLiteral("неодобр."),
    QStringLiteral("груб."),
    QStringLiteral("книжн."),
};

// Punctuation a piece may carry besides letters, digits and blanks.
const QString kPunctuation = QStringLiteral(".,!?:;-()\"'«»—–");

// Words that are written with "ё" whenever they are pronounced so (no "е" reading exists).
const QStringList kNeedsYo = {
    QStringLiteral("еще"),
    QStringLiteral("ее"),
    QStringLiteral("нее"),
    QStringLiteral("идет"),
    QStringLiteral("идешь"),
    QStringLiteral("даешь"),
    QStringLiteral("дает"),
    QStringLiteral("живет"),
    QStringLiteral("поет"),
    QStringLiteral("пьет"),
    QStringLiteral("зовет"),
    QStringLiteral("несет"),
    QStringLiteral("ведет"),
    QStringLiteral("подъем"),
};

void Error(Bank& bank, const QString& file, int line, const QString& message) {
  bank.diagnostics.push_back({file, line, message, true});
}

void Warn(Bank& bank, const QString& file, int line, const QString& message) {
  bank.diagnostics.push_back({file, line, message, false});
}

// A breach of a rule the bank is being revised to: an error once the bank keeps it.
void Revision(Bank& bank, const QString& file, int line, const QString& message) {
  bank.diagnostics.push_back({file, line, message, bank.revisionRulesAreErrors});
}

bool IsLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= 0x0410 && u <= 0x044F) || u == 0x0401 ||
         u == 0x0451;
}

bool IsUpperLetter(QChar c) { return IsLetter(c) && c.isUpper(); }

// The words of a piece: runs of letters, digits and hyphens.
QStringList Words(const QString& p) {
  QStringList words;
  QString word;
  for (QChar c : p) {
    if (IsLetter(c) || c.isDigit() || c == QLatin1Char('-')) {
      word.append(c);
    } else if (!word.isEmpty()) {
      words.append(word);
      word.clear();
    }
  }
  if (!word.isEmpty()) words.append(word);
  return words;
}

std::optional<QStringList> DecodeLines(Bank& bank, const QString& file, const QByteArray& data) {
  QStringDecoder decoder(QStringDecoder::Utf8);
  QString text = decoder(data);
  if (decoder.hasError()) {
    Error(bank, file, 0, QStringLiteral("not valid UTF-8"));
    return std::nullopt;
  }
  if (text.startsWith(QChar(0xFEFF))) text.remove(0, 1);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  QStringList lines = text.split(QLatin1Char('\n'));
  if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
  return lines;
}

// The rules every stored piece obeys; `what` names it in messages.
void CheckPiece(Bank& bank, const QString& file, int line, const QString& what, const QString& p, int maxChars,
                const NameList* names) {
  if (p.isEmpty()) {
    Error(bank, file, line, what + QStringLiteral(" is empty"));
    return;
  }
  if (p.size() > maxChars)
    Error(bank, file, line, QStringLiteral("%1 has %2 characters, more than %3").arg(what).arg(p.size()).arg(maxChars));
  if (p.front().isSpace() || p.back().isSpace())
    Error(bank, file, line, what + QStringLiteral(" has a leading or trailing blank"));
  if (p.contains(QStringLiteral("  "))) Error(bank, file, line, what + QStringLiteral(" has a doubled blank"));
  if (p.contains(QStringLiteral(" - ")))
    Revision(bank, file, line, what + QStringLiteral(" has a spaced hyphen; write the dash \"—\""));
  for (QChar c : p) {
    if (IsLetter(c) || c.isDigit() || c == QLatin1Char(' ') || kPunctuation.contains(c)) continue;
    Error(bank,
          file,
          line,
          QStringLiteral("%1 holds the character \"%2\" (U+%3), which is not allowed")
              .arg(what, QString(c))
              .arg(c.unicode(), 4, 16, QLatin1Char('0')));
    break;
  }
  const auto bytes = cp1251::Encode(p);
  if (!bytes)
    Error(bank, file, line, what + QStringLiteral(" has a character outside Windows-1251"));
  else if (bytes->size() > kMaxPiece)
    Error(bank, file, line, what + QStringLiteral(" is longer than 255 bytes in Windows-1251"));
  if (names && IsUpperLetter(p.front())) {
    const QString first = Words(p).value(0);
    if (!names->count(first))
      Error(bank,
            file,
            line,
            QStringLiteral("%1 starts with a capital letter; start with a small one (capitals are "
                           "automatic) or add the name \"%2\" to names.txt")
                .arg(what, first));
  }
  for (const QString& w : Words(p.toLower())) {
    if (kNeedsYo.contains(w)) {
      Error(bank, file, line, QStringLiteral("%1: write \"%2\" with \"ё\"").arg(what, w));
      break;
    }
  }
}

QString Percent(double value) { return QStringLiteral("%1%").arg(value, 0, 'f', 1); }

QString Points(double value) {
  return QStringLiteral("%1%2 points").arg(value >= 0 ? QStringLiteral("+") : QString()).arg(value, 0, 'f', 1);
}

// "best: second-longest 40.3% against chance 25.5% (+14.8 points)"
QString BestGuess(const LengthGuessScores& s) {
  const LengthGuesser best = s.Best();
  return QStringLiteral("%1 %2 against chance %3 (%4)")
      .arg(
          GuesserName(best), Percent(s.score[static_cast<std::size_t>(best)]), Percent(s.chance), Points(s.Gain(best)));
}

QString AllGuesses(const LengthGuessScores& s) {
  QStringList parts;
  for (LengthGuesser g : kLengthGuessers)
    parts.append(QStringLiteral("%1 %2").arg(GuesserName(g), Percent(s.score[static_cast<std::size_t>(g)])));
  return parts.join(QStringLiteral(", "));
}

void CheckLengthGuess(Bank& bank, const QString& where, const std::vector<const Task*>& tasks, double maxGain) {
  if (static_cast<int>(tasks.size()) < kMinTasksToJudge) return;
  const LengthGuessScores s = ScoreLengthGuessers(tasks);
  if (s.Gain(s.Best()) > maxGain)
    Revision(bank,
             where,
             0,
             QStringLiteral("the options' lengths give the answer away: %1, more than %2 points "
                            "over chance (%3); vary where the right answer falls in length")
                 .arg(BestGuess(s))
                 .arg(maxGain, 0, 'f', 0)
                 .arg(AllGuesses(s)));
}

// The feature a form guesser reads from an option; options with equal features look alike to it.
QString FormFeature(FormGuesser g, const QString& option) {
  switch (g) {
    case FormGuesser::InnerPunctuation: {
      // The set of these marks the option holds, in a fixed order.
      static const QString marks = QStringLiteral(":—;()«»\"");
      QString set;
      for (QChar c : marks)
        if (option.contains(c)) set.append(c);
      return set;
    }
    case FormGuesser::Comma:
      return option.contains(QLatin1Char(',')) ? QStringLiteral(",") : QString();
    case FormGuesser::FinalMark: {
      static const QString marks = QStringLiteral("!?.…");
      return !option.isEmpty() && marks.contains(option.back()) ? QString(option.back()) : QString();
    }
    case FormGuesser::FirstWord:
      return Words(option.toLower()).value(0);
  }
  return {};
}

// "inner punctuation 9 of 11 against chance 2.8 (+56.1 points, limit 39.4)"
QString FormGuess(FormGuesser g, const FormGuessScore& s) {
  return QStringLiteral("%1 %2 of %3 against chance %4 (%5, limit %6)")
      .arg(GuesserName(g))
      .arg(s.right)
      .arg(s.applicable)
      .arg(s.chance, 0, 'f', 1)
      .arg(Points(s.Gain()))
      .arg(s.Limit(), 0, 'f', 1);
}

QString AllFormGuesses(const FormGuessScores& s) {
  QStringList parts;
  for (FormGuesser g : kFormGuessers) {
    const FormGuessScore& one = s.Of(g);
    parts.append(QStringLiteral("%1 %2 of %3 against %4")
                     .arg(GuesserName(g))
                     .arg(one.right)
                     .arg(one.applicable)
                     .arg(one.chance, 0, 'f', 1));
  }
  return parts.join(QStringLiteral(", "));
}

void CheckFormGuess(Bank& bank, const QString& where, const std::vector<const Task*>& tasks) {
  const FormGuessScores s = ScoreFormGuessers(tasks);
  for (FormGuesser g : kFormGuessers) {
    const FormGuessScore& one = s.Of(g);
    if (!one.GivesAway()) continue;
    QStringList wins;
    for (int index : one.wins) wins.append(QString::number(index));
    Revision(bank,
             where,
             0,
             QStringLiteral("the options' form gives the answer away: where one option alone differs in "
                            "its %1, it is the right one %2 of %3 times against chance %4 (%5), more than "
                            "the limit of %6 points (%7); in tasks %8 give the mark to no option or to a "
                            "wrong one too, or word the right one without it")
                 .arg(GuesserName(g))
                 .arg(one.right)
                 .arg(one.applicable)
                 .arg(one.chance, 0, 'f', 1)
                 .arg(Points(one.Gain()))
                 .arg(one.Limit(), 0, 'f', 1)
                 .arg(AllFormGuesses(s), wins.join(QLatin1Char(' '))));
  }
}

std::vector<const Task*> TasksOfHundred(const Bank& bank, int hundred) {
  std::vector<const Task*> out;
  for (int i = (hundred - 1) * 100; i < hundred * 100; ++i)
    if (const auto& t = bank.tasks[static_cast<std::size_t>(i)]) out.push_back(&*t);
  return out;
}

std::vector<const Task*> AllTasks(const Bank& bank) {
  std::vector<const Task*> out;
  for (const auto& t : bank.tasks)
    if (t) out.push_back(&*t);
  return out;
}

// "20/55/25" tasks with 3/4/5 interpretations.
std::array<int, 6> Sizes(const std::vector<const Task*>& tasks) {
  std::array<int, 6> sizes{};
  for (const Task* t : tasks) ++sizes[static_cast<std::size_t>(t->pieces.size() - 1)];
  return sizes;
}

}  // namespace

QString GuesserName(LengthGuesser g) {
  switch (g) {
    case LengthGuesser::Longest:
      return QStringLiteral("longest");
    case LengthGuesser::SecondLongest:
      return QStringLiteral("second-longest");
    case LengthGuesser::Middle:
      return QStringLiteral("middle");
    case LengthGuesser::SecondShortest:
      return QStringLiteral("second-shortest");
    case LengthGuesser::Shortest:
      return QStringLiteral("shortest");
  }
  return {};
}

LengthGuesser LengthGuessScores::Best() const {
  LengthGuesser best = kLengthGuessers[0];
  for (LengthGuesser g : kLengthGuessers)
    if (Gain(g) > Gain(best)) best = g;
  return best;
}

LengthGuessScores ScoreLengthGuessers(const std::vector<const Task*>& tasks) {
  LengthGuessScores s;
  s.tasks = static_cast<int>(tasks.size());
  if (tasks.empty()) return s;
  std::array<double, 5> sums{};
  double chance = 0;
  for (const Task* t : tasks) {
    const QStringList options = t->pieces.mid(1);
    const int n = static_cast<int>(options.size());
    std::vector<qsizetype> lengths;
    for (const QString& o : options) lengths.push_back(o.size());
    std::sort(lengths.begin(), lengths.end(), std::greater<>());
    chance += 1.0 / n;
    for (std::size_t g = 0; g < kLengthGuessers.size(); ++g) {
      int rank = 1;  // counted from the longest
      switch (kLengthGuessers[g]) {
        case LengthGuesser::Longest:
          rank = 1;
          break;
        case LengthGuesser::SecondLongest:
          rank = 2;
          break;
        case LengthGuesser::Middle:
          rank = n / 2 + 1;
          break;
        case LengthGuesser::SecondShortest:
          rank = n - 1;
          break;
        case LengthGuesser::Shortest:
          rank = n;
          break;
      }
      const qsizetype target = lengths[static_cast<std::size_t>(rank - 1)];
      if (options[0].size() != target) continue;
      const auto tied = std::count(lengths.begin(), lengths.end(), target);
      sums[g] += 1.0 / static_cast<double>(tied);
    }
  }
  const double count = static_cast<double>(tasks.size());
  s.chance = 100.0 * (chance / count);
  for (std::size_t g = 0; g < sums.size(); ++g) s.score[g] = 100.0 * (sums[g] / count);
  return s;
}

QString GuesserName(FormGuesser g) {
  switch (g) {
    case FormGuesser::InnerPunctuation:
      return QStringLiteral("inner punctuation");
    case FormGuesser::Comma:
      return QStringLiteral("comma");
    case FormGuesser::FinalMark:
      return QStringLiteral("final mark");
    case FormGuesser::FirstWord:
      return QStringLiteral("first word");
  }
  return {};
}

double FormGuessScore::Gain() const { return applicable == 0 ? 0 : 100.0 * (right - chance) / applicable; }

double FormGuessScore::Limit() const {
  return applicable == 0 ? 0 : 100.0 * kMaxFormGainInDeviations * std::sqrt(variance) / applicable;
}

std::optional<FormGuesser> FormGuessScores::Worst() const {
  std::optional<FormGuesser> worst;
  double worstDeviations = 0;
  for (FormGuesser g : kFormGuessers) {
    const FormGuessScore& s = Of(g);
    if (s.applicable == 0) continue;
    const double deviations = (s.right - s.chance) / std::sqrt(s.variance);
    if (!worst || deviations > worstDeviations) {
      worst = g;
      worstDeviations = deviations;
    }
  }
  return worst;
}

FormGuessScores ScoreFormGuessers(const std::vector<const Task*>& tasks) {
  FormGuessScores s;
  for (const Task* t : tasks) {
    const QStringList options = t->pieces.mid(1);
    const double p = 1.0 / static_cast<double>(options.size());
    for (std::size_t g = 0; g < kFormGuessers.size(); ++g) {
      QStringList features;
      for (const QString& o : options) features.append(FormFeature(kFormGuessers[g], o));
      int odd = -1;
      int oddCount = 0;
      for (int k = 0; k < features.size(); ++k) {
        if (features.count(features[k]) == 1) {
          odd = k;
          ++oddCount;
        }
      }
      if (oddCount != 1) continue;
      FormGuessScore& one = s.score[g];
      ++one.applicable;
      one.chance += p;
      one.variance += p * (1 - p);
      if (odd == 0) {
        ++one.right;
        one.wins.push_back(t->index);
      }
    }
  }
  return s;
}

QString Diagnostic::Format() const {
  const QString where = line > 0 ? QStringLiteral("%1:%2").arg(file).arg(line) : file;
  return QStringLiteral("%1: %2: %3").arg(where, error ? QStringLiteral("error") : QStringLiteral("warning"), message);
}

bool Bank::HasErrors() const {
  return std::any_of(diagnostics.begin(), diagnostics.end(), [](const Diagnostic& d) { return d.error; });
}

QString Normalize(const QString& text) {
  QString out;
  out.reserve(text.size());
  bool blank = false;
  for (QChar c : text.toLower()) {
    if (c == QChar(0x0451)) c = QChar(0x0435);
    if (IsLetter(c) || c.isDigit()) {
      if (blank && !out.isEmpty()) out.append(QLatin1Char(' '));
      blank = false;
      out.append(c);
    } else if (c.isSpace()) {
      blank = true;
    }
  }
  return out;
}

NameList ParseNames(const QByteArray& data) {
  NameList names;
  for (const QByteArray& raw : data.split('\n')) {
    const QString line = QString::fromUtf8(raw).trimmed();
    if (!line.isEmpty() && !line.startsWith(QLatin1Char('#'))) names.insert(line);
  }
  return names;
}

void ParseTaskFile(Bank& bank, const QString& file, const QByteArray& data, int hundred, const NameList& names) {
  const auto lines = DecodeLines(bank, file, data);
  if (!lines) return;
  const int first = (hundred - 1) * 100 + 1;
  const int last = hundred * 100;
  int previous = first - 1;
  for (int n = 0; n < lines->size(); ++n) {
    const int line = n + 1;
    const QString& text = (*lines)[n];
    if (text.isEmpty() || text.startsWith(QLatin1Char('#'))) continue;
    const QStringList f = text.split(QLatin1Char('\t'));
    if (f.size() < 6 || f.size() > 8) {
      Error(bank,
            file,
            line,
            QStringLiteral("%1 fields; a task is index, register, phrase, right answer and 2 to 4 "
                           "wrong ones")
                .arg(f.size()));
      continue;
    }
    bool ok = false;
    const int index = f[0].toInt(&ok);
    if (!ok || index < first || index > last) {
      Error(bank, file, line, QStringLiteral("index \"%1\" is not in %2..%3").arg(f[0]).arg(first).arg(last));
      continue;
    }
    if (index <= previous) {
      Error(bank, file, line, QStringLiteral("index %1 repeats or is out of order").arg(index));
      continue;
    }
    previous = index;
    if (!kRegisters.contains(f[1]))
      Error(bank,
            file,
            line,
            QStringLiteral("register \"%1\" is not one of %2").arg(f[1], kRegisters.join(QLatin1Char(' '))));
    Task task{index, f[1], f.mid(2), file, line};
    CheckPiece(bank, file, line, QStringLiteral("phrase"), task.pieces[0], kMaxPhrase, &names);
    for (int k = 1; k < task.pieces.size(); ++k) {
      const QString what = k == 1 ? QStringLiteral("right answer") : QStringLiteral("wrong answer %1").arg(k - 1);
      CheckPiece(bank, file, line, what, task.pieces[k], kMaxInterpretation, &names);
      for (int j = 1; j < k; ++j) {
        if (Normalize(task.pieces[j]) == Normalize(task.pieces[k]))
          Error(bank, file, line, QStringLiteral("interpretations %1 and %2 are alike").arg(j).arg(k));
      }
      if (Normalize(task.pieces[k]) == Normalize(task.pieces[0]))
        Error(bank, file, line, QStringLiteral("interpretation %1 repeats the phrase").arg(k));
    }
    bank.tasks[static_cast<std::size_t>(index - 1)] = std::move(task);
  }
}

void ParseSayings(Bank& bank, const QString& file, const QByteArray& data) {
  const auto lines = DecodeLines(bank, file, data);
  if (!lines) return;
  std::map<QString, int> seen;
  for (int n = 0; n < lines->size(); ++n) {
    const QString& text = (*lines)[n];
    if (text.isEmpty() || text.startsWith(QLatin1Char('#'))) continue;
    CheckPiece(bank, file, n + 1, QStringLiteral("saying"), text, kMaxSaying, nullptr);
    const QString key = Normalize(text);
    if (const auto it = seen.find(key); it != seen.end())
      Error(bank, file, n + 1, QStringLiteral("saying repeats line %1").arg(it->second));
    else
      seen.emplace(key, n + 1);
    bank.sayings.append(text);
  }
  if (bank.sayings.size() < kMinSayings)
    Error(
        bank, file, 0, QStringLiteral("%1 sayings; at least %2 are needed").arg(bank.sayings.size()).arg(kMinSayings));
}

QString MissingRanges(const Bank& bank) {
  QStringList ranges;
  int start = 0;
  for (int i = 1; i <= kTaskCount + 1; ++i) {
    const bool missing = i <= kTaskCount && !bank.tasks[static_cast<std::size_t>(i - 1)];
    if (missing && start == 0) start = i;
    if (!missing && start != 0) {
      ranges.append(start == i - 1 ? QString::number(start) : QStringLiteral("%1–%2").arg(start).arg(i - 1));
      start = 0;
    }
  }
  return ranges.join(QStringLiteral(", "));
}

void CheckBank(Bank& bank) {
  // Phrases are unique across the bank.
  std::map<QString, const Task*> phrases;
  for (const auto& slot : bank.tasks) {
    if (!slot) continue;
    const QString key = Normalize(slot->pieces[0]);
    if (const auto it = phrases.find(key); it != phrases.end()) {
      Error(bank,
            slot->file,
            slot->line,
            QStringLiteral("phrase repeats task %1 (%2:%3)")
                .arg(it->second->index)
                .arg(it->second->file)
                .arg(it->second->line));
    } else {
      phrases.emplace(key, &*slot);
    }
  }

  // No two tasks share a right answer.
  std::map<QString, const Task*> rights;
  for (const auto& slot : bank.tasks) {
    if (!slot) continue;
    const QString key = Normalize(slot->pieces[1]);
    if (const auto it = rights.find(key); it != rights.end()) {
      Revision(bank,
               slot->file,
               slot->line,
               QStringLiteral("right answer repeats that of task %1 (%2:%3)")
                   .arg(it->second->index)
                   .arg(it->second->file)
                   .arg(it->second->line));
    } else {
      rights.emplace(key, &*slot);
    }
  }

  // Per file of a hundred: the mix of sizes and the length giveaway.
  for (int hundred = 1; hundred <= 15; ++hundred) {
    const std::vector<const Task*> tasks = TasksOfHundred(bank, hundred);
    const int count = static_cast<int>(tasks.size());
    if (count < kMinTasksToJudge) continue;
    const QString& file = tasks.front()->file;
    const std::array<int, 6> sizes = Sizes(tasks);
    const auto share = [count](int n) { return 100.0 * n / count; };
    if (share(sizes[3]) < 10 || share(sizes[3]) > 30 || share(sizes[4]) < 40 || share(sizes[4]) > 70 ||
        share(sizes[5]) < 15 || share(sizes[5]) > 35) {
      Error(bank,
            file,
            0,
            QStringLiteral("mix of sizes %1/%2/%3 tasks with 3/4/5 interpretations; aim at about "
                           "a fifth, most and a quarter (bands 10–30%, 40–70%, 15–35%)")
                .arg(sizes[3])
                .arg(sizes[4])
                .arg(sizes[5]));
    }
    CheckLengthGuess(bank, file, tasks, kMaxLengthGainPerFile);
    CheckFormGuess(bank, file, tasks);
  }
  CheckLengthGuess(bank, QStringLiteral("content/tasks"), AllTasks(bank), kMaxLengthGainOverBank);
  CheckFormGuess(bank, QStringLiteral("content/tasks"), AllTasks(bank));

  const QString missing = MissingRanges(bank);
  if (!missing.isEmpty()) Warn(bank, QStringLiteral("content/tasks"), 0, QStringLiteral("tasks missing: ") + missing);

  // Storage proof: every piece scrambles to bytes free of separators and zero, and back.
  const auto prove = [&bank](const QString& file, int line, const QString& piece) {
    const auto bytes = cp1251::Encode(piece);
    if (!bytes) return;  // reported by the character rules
    const QByteArray stored = Scramble(*bytes);
    if (!IsStorable(stored))
      Error(bank,
            file,
            line,
            QStringLiteral("\"%1\" cannot be stored: a character lands on a separator byte "
                           "(avoid Latin \"c\" and \"o\" and the character \"^\")")
                .arg(piece));
    if (Descramble(stored) != *bytes)
      Error(bank, file, line, QStringLiteral("\"%1\" does not survive the stored form").arg(piece));
  };
  for (const auto& slot : bank.tasks)
    if (slot)
      for (const QString& p : slot->pieces) prove(slot->file, slot->line, p);
  for (const QString& s : bank.sayings) prove(QStringLiteral("sayings"), 0, s);
}

QStringList Summary(const Bank& bank) {
  const auto describe = [](const QString& name, const std::vector<const Task*>& tasks) {
    const std::array<int, 6> sizes = Sizes(tasks);
    std::map<QString, int> registers;
    for (const Task* t : tasks) ++registers[t->register_];
    QStringList counts;
    for (const QString& r : kRegisters)
      if (const auto it = registers.find(r); it != registers.end())
        counts.append(QStringLiteral("%1 %2").arg(r).arg(it->second));
    const FormGuessScores form = ScoreFormGuessers(tasks);
    const std::optional<FormGuesser> worst = form.Worst();
    return QStringLiteral(
               "%1: %2 tasks; sizes 3/4/5: %3/%4/%5; registers: %6; best length guess: %7; "
               "worst form guess: %8")
        .arg(name)
        .arg(tasks.size())
        .arg(sizes[3])
        .arg(sizes[4])
        .arg(sizes[5])
        .arg(counts.join(QStringLiteral(", ")),
             BestGuess(ScoreLengthGuessers(tasks)),
             worst ? FormGuess(*worst, form.Of(*worst)) : QStringLiteral("none applies"));
  };
  QStringList lines;
  for (int hundred = 1; hundred <= 15; ++hundred) {
    const std::vector<const Task*> tasks = TasksOfHundred(bank, hundred);
    if (!tasks.empty()) lines.append(describe(tasks.front()->file, tasks));
  }
  const std::vector<const Task*> all = AllTasks(bank);
  if (!all.empty()) lines.append(describe(QStringLiteral("bank"), all));
  lines.append(QStringLiteral("sayings: %1").arg(bank.sayings.size()));
  return lines;
}

void DropUnstorableTasks(Bank& bank) {
  for (auto& slot : bank.tasks) {
    if (!slot) continue;
    for (const QString& p : slot->pieces) {
      const auto bytes = cp1251::Encode(p);
      if (!bytes || bytes->size() > kMaxPiece || !IsStorable(Scramble(*bytes))) {
        slot.reset();
        break;
      }
    }
  }
  bank.sayings.removeIf([](const QString& s) {
    const auto bytes = cp1251::Encode(s);
    return !bytes || bytes->size() > kMaxPiece || !IsStorable(Scramble(*bytes));
  });
}

QByteArray BuildTaskText(const Bank& bank) {
  QByteArray out(1, kTaskEnd);
  for (const auto& slot : bank.tasks) {
    if (slot) {
      for (int k = 0; k < slot->pieces.size(); ++k) {
        if (k > 0) out.append(kPieceSeparator);
        out.append(Scramble(cp1251::Encode(slot->pieces[k]).value_or(QByteArray())));
      }
    }
    out.append(kTaskEnd);
  }
  out.append('\0');
  return out;
}

QByteArray BuildSayingsText(const Bank& bank) {
  QByteArray out(1, kSayingSeparator);
  for (const QString& s : bank.sayings) {
    out.append(Scramble(cp1251::Encode(s).value_or(QByteArray())));
    out.append(kSayingSeparator);
  }
  out.append('\0');
  return out;
}

std::array<int, kTaskCount> BuildDisplayOrder(const Bank& bank) {
  std::array<int, kTaskCount> order{};
  std::vector<bool> placed(kTaskCount + 1, false);
  std::size_t pos = 0;
  for (int index : kFixedOrder) {
    order[pos++] = index;
    placed[static_cast<std::size_t>(index)] = true;
  }
  // Alphabetical by the Windows-1251 codes of the normal form (а..я are in order there);
  // tasks not yet written go last, by index.
  struct Key {
    QByteArray text;
    bool missing;
    int index;
  };
  std::vector<Key> rest;
  for (int i = 1; i <= kTaskCount; ++i) {
    if (placed[static_cast<std::size_t>(i)]) continue;
    const auto& t = bank.tasks[static_cast<std::size_t>(i - 1)];
    rest.push_back({t ? cp1251::Encode(Normalize(t->pieces[0])).value_or(QByteArray()) : QByteArray(), !t, i});
  }
  std::sort(rest.begin(), rest.end(), [](const Key& a, const Key& b) {
    if (a.missing != b.missing) return b.missing;
    const auto ua = reinterpret_cast<const unsigned char*>(a.text.constData());
    const auto ub = reinterpret_cast<const unsigned char*>(b.text.constData());
    if (a.text != b.text) return std::lexicographical_compare(ua, ua + a.text.size(), ub, ub + b.text.size());
    return a.index < b.index;
  });
  for (const Key& k : rest) order[pos++] = k.index;
  return order;
}

static void AppendBytes(QByteArray& out, const char* name, const QByteArray& bytes) {
  out.append("const unsigned char ").append(name).append("[] = {");
  for (qsizetype i = 0; i < bytes.size(); ++i) {
    if (i % 24 == 0) out.append("\n   ");
    out.append(' ').append(QByteArray::number(static_cast<unsigned char>(bytes[i]))).append(',');
  }
  out.append("\n};\n\n");
}

QByteArray EmitCpp(const QByteArray& taskText, const QByteArray& sayingsText,
                   const std::array<int, kTaskCount>& order) {
  QByteArray out =
      "// Generated by zvcontent from content/; do not edit.\n"
      "#include \"tasks/BuiltinContent.h\"\n\n"
      "namespace zv::content {\nnamespace {\n\n";
  AppendBytes(out, "kTaskText", taskText);
  AppendBytes(out, "kSayingsText", sayingsText);
  out.append("const std::uint16_t kDisplayOrder[] = {");
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i % 16 == 0) out.append("\n   ");
    out.append(' ').append(QByteArray::number(order[i])).append(',');
  }
  out.append(
      "\n};\n\n}  // namespace\n\n"
      "QByteArrayView TaskText() {\n"
      "  return {reinterpret_cast<const char*>(kTaskText), sizeof kTaskText};\n}\n\n"
      "QByteArrayView SayingsText() {\n"
      "  return {reinterpret_cast<const char*>(kSayingsText), sizeof kSayingsText};\n}\n\n"
      "std::span<const std::uint16_t, 1500> DisplayOrder() { return std::span<const std::uint16_t, 1500>(kDisplayOrder); }\n\n"
      "}  // namespace zv::content\n");
  return out;
}

}  // namespace zv::content
