#include "SpeechText.h"

#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <array>

namespace zv::soundbuild {
namespace {

bool IsCyrillicLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= 0x0410 && u <= 0x044F) || u == 0x0401 || u == 0x0451;
}

bool IsLatinLetter(QChar c) {
  const char16_t u = c.unicode();
  return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z');
}

// Punctuation the synthesiser reads as pauses and intonation; everything else that is not a
// letter, a blank, a hyphen or a stress mark is a symbol that must be written out.
const QString kPunctuation = QStringLiteral(".,!?:;()");
// Dropped without a trace.
const QString kQuotes = QString::fromUtf8("«»\"„“”‘’'");
// Dashes: spaced they are a pause, inside a word a hyphen.
const QString kDashes = QString::fromUtf8("—–-");

// Short words without a vowel that are said as they are written, not spelled out.
const std::array<const char*, 14> kVowellessWords = {
    "хм", "гм", "тсс", "тс", "брр", "пст", "кхм", "шш", "ш", "пфф", "пф", "мм", "ммм", "фр"};
// Single letters that are words of their own (prepositions, conjunctions, particles).
const QString kOneLetterWords = QString::fromUtf8("аиоуяэвксжб");
// Abbreviations written without a dot.
const std::array<const char*, 3> kBareAbbreviations = {"тыс", "млн", "млрд"};

bool Contains(const auto& list, const QString& word) {
  return std::any_of(list.begin(), list.end(), [&](const char* w) { return word == QString::fromUtf8(w); });
}

bool HasVowel(const QString& word) { return std::any_of(word.begin(), word.end(), IsRussianVowel); }

// Why a word of plain Cyrillic letters would be spelled out or misread; empty when it is a word.
QString AbbreviationReason(const QString& word, bool dotFollowedByLowerCase) {
  const QString lower = word.toLower();
  if (word.size() >= 2 && word == word.toUpper())
    return QStringLiteral("\"%1\" is an abbreviation; write it out").arg(word);
  if (dotFollowedByLowerCase) return QStringLiteral("\"%1.\" is an abbreviation; write it out").arg(word);
  if (word.size() == 1 && !kOneLetterWords.contains(lower))
    return QStringLiteral("the single letter \"%1\" would be spelled; write it out").arg(word);
  if (word.size() >= 2 && !HasVowel(lower) && !Contains(kVowellessWords, lower))
    return QStringLiteral("\"%1\" has no vowel and would be spelled; write it out").arg(word);
  if (Contains(kBareAbbreviations, lower)) return QStringLiteral("\"%1\" is an abbreviation; write it out").arg(word);
  return {};
}

// The first character that cannot be spoken as written, with its description; empty when none.
QString UnspeakableCharacter(const QString& text) {
  for (const QChar c : text) {
    if (c.isDigit()) return QStringLiteral("digits (\"%1\") must be written out as words").arg(c);
    if (IsLatinLetter(c)) return QStringLiteral("Latin letters (\"%1\") must be written out in Cyrillic").arg(c);
    if (IsCyrillicLetter(c) || c.isSpace() || c.unicode() == kStressMark || c.unicode() == u'…') continue;
    if (kPunctuation.contains(c) || kQuotes.contains(c) || kDashes.contains(c)) continue;
    return QStringLiteral("the symbol \"%1\" must be written out as words").arg(c);
  }
  return {};
}

}  // namespace

bool IsRussianVowel(QChar c) { return QString::fromUtf8("аеёиоуыэюяАЕЁИОУЫЭЮЯ").contains(c); }

int CountSyllables(const QString& text) {
  return static_cast<int>(std::count_if(text.begin(), text.end(), IsRussianVowel));
}

QString StripStressMarks(QString text) {
  text.remove(QChar(kStressMark));
  return text;
}

SpeechText ToSpeech(const QString& written) {
  if (const QString why = UnspeakableCharacter(written); !why.isEmpty()) return {{}, why};
  QString t = written;
  for (const QChar q : kQuotes) t.remove(q);
  t.replace(QStringLiteral("..."), QStringLiteral(","));
  t.replace(QChar(u'…'), QStringLiteral(","));
  static const QRegularExpression spacedDash(QStringLiteral("(^|\\s)[—–-]+(\\s|$)"));
  t.replace(spacedDash, QStringLiteral(", "));
  static const QRegularExpression blanks(QStringLiteral("\\s+"));
  t.replace(blanks, QStringLiteral(" "));
  // A pause next to other punctuation adds nothing: "лотерею!, да" reads "лотерею! да".
  static const QRegularExpression commaAfter(QStringLiteral("([.!?:;,])\\s*,"));
  static const QRegularExpression commaBefore(QStringLiteral(",\\s*([.!?:;])"));
  for (qsizetype before = -1; before != t.size();) {
    before = t.size();
    t.replace(commaAfter, QStringLiteral("\\1"));
    t.replace(commaBefore, QStringLiteral("\\1"));
  }
  static const QRegularExpression spaceBeforePunct(QStringLiteral("\\s+([.!?:;,)])"));
  t.replace(spaceBeforePunct, QStringLiteral("\\1"));
  static const QRegularExpression noSpaceAfterPunct(QStringLiteral("([.!?:;,])(?=[^\\s.!?:;,)])"));
  t.replace(noSpaceAfterPunct, QStringLiteral("\\1 "));
  t = t.trimmed();
  while (t.startsWith(QLatin1Char(',')) || t.endsWith(QLatin1Char(','))) {
    t = t.startsWith(QLatin1Char(',')) ? t.mid(1) : t.chopped(1);
    t = t.trimmed();
  }
  if (!std::any_of(t.begin(), t.end(), IsCyrillicLetter)) return {{}, QStringLiteral("nothing to speak")};

  // Words, with whether a dot right after one is followed by a lower-case word ("т. д.").
  static const QRegularExpression word(QStringLiteral("[\\x{0410}-\\x{044F}\\x{0401}\\x{0451}]+"));
  const QString plain = StripStressMarks(t);
  for (auto it = word.globalMatch(plain); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    static const QRegularExpression dotThenLower(QStringLiteral("^\\.\\s*[\\x{0430}-\\x{044F}\\x{0451}]"));
    const bool abbreviatedByDot = dotThenLower.match(plain.mid(m.capturedEnd())).hasMatch();
    if (const QString why = AbbreviationReason(m.captured(), abbreviatedByDot); !why.isEmpty()) return {{}, why};
  }
  t[0] = t[0].toUpper();
  return {t, {}};
}

QString CheckSpokenForm(const QString& shown, const QString& spoken) {
  // Each side as a sequence of lower-case tokens. A token of the shown text that the voice cannot
  // say as written (a number, Latin, a symbol, an abbreviation) may stand for any words.
  static const QRegularExpression token(
      QStringLiteral("[\\w\\x{0301}]+(?:-[\\w\\x{0301}]+)*|[^\\w\\s.,!?:;()«»\"„“”‘’'—–…-]"),
      QRegularExpression::UseUnicodePropertiesOption);
  QStringList pattern;
  const QString shownPlain = StripStressMarks(shown);
  for (auto it = token.globalMatch(shownPlain); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    const QString w = m.captured();
    static const QRegularExpression dotThenLower(QStringLiteral("^\\.\\s*[\\x{0430}-\\x{044F}\\x{0451}]"));
    const bool free = !UnspeakableCharacter(w).isEmpty() ||
                      std::any_of(w.begin(), w.end(), [](QChar c) { return c.isDigit() || IsLatinLetter(c); }) ||
                      !AbbreviationReason(w, dotThenLower.match(shownPlain.mid(m.capturedEnd())).hasMatch()).isEmpty();
    if (free) {
      if (pattern.isEmpty() || pattern.back() != QStringLiteral("\\S+(?: \\S+)*"))
        pattern.append(QStringLiteral("\\S+(?: \\S+)*"));
    } else {
      pattern.append(QRegularExpression::escape(w.toLower()));
    }
  }
  QStringList said;
  const QString spokenPlain = StripStressMarks(spoken);
  for (auto it = token.globalMatch(spokenPlain); it.hasNext();) said.append(it.next().captured().toLower());
  const QRegularExpression whole(QStringLiteral("^") + pattern.join(QLatin1Char(' ')) + QStringLiteral("$"));
  if (whole.match(said.join(QLatin1Char(' '))).hasMatch()) return {};
  return QStringLiteral("the spoken form \"%1\" does not say the words of \"%2\"").arg(spoken, shown);
}

std::vector<Word> StressWords(const QString& text) {
  std::vector<Word> words;
  for (qsizetype i = 0; i < text.size();) {
    if (!IsCyrillicLetter(text[i])) {
      ++i;
      continue;
    }
    Word w;
    w.start = i;
    while (i < text.size() && (IsCyrillicLetter(text[i]) || text[i].unicode() == kStressMark)) {
      if (IsRussianVowel(text[i])) w.vowels.push_back(i);
      w.hasYo = w.hasYo || text[i] == QChar(u'ё') || text[i] == QChar(u'Ё');
      w.marked = w.marked || text[i].unicode() == kStressMark;
      ++i;
    }
    w.length = i - w.start;
    words.push_back(std::move(w));
  }
  return words;
}

QString WithStressAt(const QString& text, qsizetype vowel) {
  QString out = text;
  out.insert(vowel + 1, QChar(kStressMark));
  return out;
}

}  // namespace zv::soundbuild
