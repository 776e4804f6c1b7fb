#pragma once
// What the packages say: the phrases of the task files (with their spoken forms) and the lines
// of the comment files, each turned into a sound to speak: its text, voice, rate and origin.

#include "sound/PackageFormat.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

#include <array>
#include <map>
#include <vector>

namespace zv::soundbuild {

inline constexpr int kHundreds = 15;
inline constexpr int kTasksPerHundred = 100;
// Comment categories in load order: package index 0..10 (their files are content/comments/<name>.txt).
inline constexpr std::array<const char*, kCommentPackageCount> kCommentCategories = {
    "y", "f", "m0", "m1", "m2", "m3", "m4", "m5", "n", "t", "s"};

// A voice the packages may use and its normal rate: the synthesiser's rate percentage that gives
// about 5.25 syllables a second of trimmed speech. Measured with --measure-rate over 50 phrases
// (at 100: anna 5.88, elena 5.66, irina 5.07, aleksandr 4.48 syllables a second; the speed is
// proportional to the percentage).
struct Voice {
  const char* name;
  int rate;
};
inline constexpr std::array<Voice, 4> kVoices = {
    Voice{"anna", 89}, Voice{"elena", 93}, Voice{"irina", 104}, Voice{"aleksandr", 117}};
// The phrases' voice unless their spoken form names the other; the comments rotate over all four.
inline constexpr const char* kPhraseVoice = "elena";
inline constexpr std::array<const char*, 2> kPhraseVoices = {"elena", "aleksandr"};
const Voice* FindVoice(const QString& name);

struct SoundSpec {
  QString text;  // what the synthesiser reads (stress marks included)
  QString voice;
  int rate = 100;  // the synthesiser's rate percentage
  QString origin;  // "content/...:line", for messages
};

struct Phrase {
  QString shown;
  QString origin;
};
struct SpokenForm {
  QString text;
  QString voice;  // empty: the phrases' voice
  QString origin;
};

// Task index -> phrase (column 3) of one task file; lines starting with "#" are comments.
void ParseTaskPhrases(const QString& file, const QByteArray& data, std::map<int, Phrase>& out, QStringList& errors);
// content/tasks/spoken.tsv: index TAB text to speak [TAB voice].
std::map<int, SpokenForm> ParseSpokenForms(const QString& file, const QByteArray& data, QStringList& errors);
// A phrase as it is spoken: its spoken form (checked against the shown text) or the shown text.
bool PhraseSound(const Phrase& phrase, const SpokenForm* spoken, SoundSpec& out, QStringList& errors);
// content/comments/<category>.txt: one comment a line [TAB voice [TAB rate]]; the rate is a
// percentage of the voice's normal rate. Voices rotate anna, elena, irina, aleksandr unless named.
std::vector<SoundSpec> ParseComments(const QString& file, const QByteArray& data, QStringList& errors);

struct ContentSounds {
  // Per package in load order; empty when there is no package to build (no comment file, or a
  // hundred not completely written).
  std::array<std::vector<SoundSpec>, kPackageCount> packages;
  // Task index -> sound, for every written phrase (complete hundreds or not): the read-out's input.
  std::map<int, SoundSpec> phrases;
  QStringList errors;
  QStringList notes;  // hundreds left out, comment files missing
};
ContentSounds LoadContent(const QDir& contentDir);

}  // namespace zv::soundbuild
