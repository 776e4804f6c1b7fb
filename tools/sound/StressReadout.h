#pragma once
// The stress read-out: which vowel of each word the synthesiser stresses. A stress mark that
// agrees with the engine's own choice leaves its audio bit-identical, so marking each vowel of a
// word in turn and comparing with the unmarked audio finds the stressed one.

#include "SoundPipeline.h"
#include "SoundSources.h"

#include <QString>

#include <map>
#include <mutex>
#include <optional>
#include <vector>

namespace zv::soundbuild {

struct ReadoutItem {
  QString label;  // task index or comment file:line
  SoundSpec sound;
};

struct ReadoutLine {
  QString label;
  QString text;     // lower case, the stressed vowels upper-cased, followed by the word's kStress*
  int words = 0;    // words tested (two or more vowels, no "ё", no mark of its own)
  int guessed = 0;  // words no variant reproduces, in the phrase or alone
  int alone = 0;    // words whose stress shows only when said alone
  QString error;    // the synthesiser failed
};

// How a tested word's stress was found, written after it. In a phrase the engine may leave a
// word it knows unaccented (a pronoun, a particle), so a word no mark reproduces in the phrase is
// tried alone. A word no mark reproduces even alone is one the engine reads its own way (a
// pronunciation of its own, or no stress); its capital is then only a guess: the vowel whose
// marked audio comes nearest in length to the unmarked one.
enum class StressFound { InPhrase, Alone, Guessed };
QString StressSuffix(StressFound how);

struct WordStress {
  StressFound how = StressFound::InPhrase;
  std::vector<qsizetype> vowels;  // offsets of the stressed vowels within the word
};

// The rendering of a text from what was found for each of its words (by StressWords order;
// words not tested have no entry); separated so that it can be checked without the synthesiser.
QString RenderStress(const QString& text, const std::map<std::size_t, WordStress>& found);

// What marking each vowel of a word in turn shows.
struct StressProbe {
  std::vector<qsizetype> agree;  // offsets within the word of the marks that change nothing
  qsizetype nearest = 0;         // offset of the mark whose audio is nearest in length
};

// Words said alone, shared by all the phrases of a read-out (a word is tried alone only once).
class AloneCache {
 public:
  std::optional<StressProbe> Find(const QString& word);
  void Put(const QString& word, const StressProbe& probe);

 private:
  std::mutex m_mutex;
  std::map<QString, StressProbe> m_words;
};

ReadoutLine ReadStress(const Tools& tools, const ReadoutItem& item, AloneCache& alone);

}  // namespace zv::soundbuild
