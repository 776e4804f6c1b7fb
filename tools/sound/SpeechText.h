#pragma once
// The text the voice speaks: the shown text turned into what the synthesiser reads well, the
// refusal of what it would read badly (digits, Latin letters, abbreviations), the check that a
// spoken form says the same words as the shown text, and the words and vowels the stress
// read-out marks in turn.

#include <QString>

#include <vector>

namespace zv::soundbuild {

// U+0301 COMBINING ACUTE ACCENT, written after the stressed vowel to force the stress.
inline constexpr char16_t kStressMark = 0x0301;

struct SpeechText {
  QString text;   // what the synthesiser reads; empty when refused
  QString error;  // why the text cannot be spoken; empty when it can
  bool Ok() const { return error.isEmpty(); }
};

// Quotes and «» are dropped; a spaced dash, "…" and "..." become a comma pause; hyphens inside
// words stay; blanks and punctuation are tidied and the first letter is capitalised. Digits,
// Latin letters, symbols and abbreviations are refused: they must be written out.
SpeechText ToSpeech(const QString& written);

QString StripStressMarks(QString text);

// Empty when the spoken form (its stress marks removed) says the same words as the shown text,
// ignoring case and punctuation; a number, a Latin word, a symbol or an abbreviation of the shown
// text may be spelled out by any words. Otherwise the reason.
QString CheckSpokenForm(const QString& shown, const QString& spoken);

bool IsRussianVowel(QChar c);
// Syllables of a text: its vowels.
int CountSyllables(const QString& text);

// A word as the stress read-out sees it: a run of Cyrillic letters (with any stress marks);
// a hyphen ends a word, so each part of "кто-нибудь" is a word of its own.
struct Word {
  qsizetype start = 0;
  qsizetype length = 0;
  std::vector<qsizetype> vowels;  // positions in the text
  bool hasYo = false;             // "ё" is always stressed
  bool marked = false;            // carries a stress mark already
};
std::vector<Word> StressWords(const QString& text);

// The text with a stress mark after the vowel at position `vowel`.
QString WithStressAt(const QString& text, qsizetype vowel);

}  // namespace zv::soundbuild
