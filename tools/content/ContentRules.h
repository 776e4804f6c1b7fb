#pragma once
// The content compiler's rules: parses the authored task files and sayings, checks every rule
// of the content guide, and builds the stored (scrambled, Windows-1251) form and the display
// order. Pure functions over file contents; the program in main.cpp only reads and writes files.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <set>
#include <vector>

namespace zv::content {

inline constexpr int kTaskCount = 1500;
inline constexpr int kMaxPhrase = 90;
inline constexpr int kMaxInterpretation = 75;
inline constexpr int kMaxSaying = 120;
inline constexpr int kMinSayings = 150;
// How far a guesser that looks only at the options' lengths may beat blind chance, in points.
inline constexpr double kMaxLengthGainPerFile = 8.0;
inline constexpr double kMaxLengthGainOverBank = 4.0;
// Fewer tasks than this in a file are too few to judge its mix of sizes or its lengths.
inline constexpr int kMinTasksToJudge = 50;

struct Diagnostic {
  QString file;
  int line = 0;  // 0: the file as a whole
  QString message;
  bool error = true;
  QString Format() const;
};

struct Task {
  int index = 0;
  QString register_;
  QStringList pieces;  // phrase, right, wrong...
  QString file;
  int line = 0;
};

struct Bank {
  std::array<std::optional<Task>, kTaskCount> tasks;
  QStringList sayings;
  std::vector<Diagnostic> diagnostics;
  // The length and form giveaways, a right answer repeated across the bank and a spaced hyphen
  // for a dash are errors; false reports them as warnings (a bank being revised in a draft tree).
  bool revisionRulesAreErrors = true;
  bool HasErrors() const;
};

// Guessers that look only at the options' lengths. Each ranks a task's options by length from
// the longest and picks the option at its rank; options of equal length share the pick.
enum class LengthGuesser { Longest, SecondLongest, Middle, SecondShortest, Shortest };
inline constexpr std::array<LengthGuesser, 5> kLengthGuessers = {LengthGuesser::Longest,
                                                                 LengthGuesser::SecondLongest,
                                                                 LengthGuesser::Middle,
                                                                 LengthGuesser::SecondShortest,
                                                                 LengthGuesser::Shortest};
QString GuesserName(LengthGuesser g);

struct LengthGuessScores {
  int tasks = 0;
  double chance = 0;              // mean of 1/n: a blind pick's expected share, in percent
  std::array<double, 5> score{};  // each guesser's expected share, in percent, by kLengthGuessers
  // The guesser that beats chance the most, and by how many points.
  LengthGuesser Best() const;
  double Gain(LengthGuesser g) const { return score[static_cast<std::size_t>(g)] - chance; }
};
// Scores over a set of tasks; a task is its pieces (phrase, right, wrong...).
LengthGuessScores ScoreLengthGuessers(const std::vector<const Task*>& tasks);

// Guessers that look only at the options' form. Each reads one feature of every option and
// applies to a task only where exactly one option differs in it from all the others (a task with
// two or more options alone in their feature, or none, gives it nothing to pick); there it picks
// that odd option.
enum class FormGuesser { InnerPunctuation, Comma, FinalMark, FirstWord };
inline constexpr std::array<FormGuesser, 4> kFormGuessers = {
    FormGuesser::InnerPunctuation, FormGuesser::Comma, FormGuesser::FinalMark, FormGuesser::FirstWord};
QString GuesserName(FormGuesser g);

// Fewer applicable tasks than this are too few to judge a form guesser.
inline constexpr int kMinFormTasksToJudge = 8;
// How far a form guesser may beat chance, in standard deviations of a blind pick's wins over the
// same tasks. The tasks a form guesser applies to are few (a handful to a few dozen per file) and
// their number varies from guesser to guesser, so a fixed number of points would either fire on
// luck where few tasks apply (at 8 tasks of four options one blind pick more or less moves the
// share by 12.5 points) or let a real habit through where many do. Three deviations, converted
// into points of the applicable tasks, are about 45 points at 8 tasks, 22 at 35 and 6 at 400:
// a blind writer crosses that in fewer than one check in a hundred, while a habit of giving the
// right answer the only «» or dash (20 wins in 33 tasks where 8 were expected) is far beyond it.
inline constexpr double kMaxFormGainInDeviations = 3.0;

struct FormGuessScore {
  int applicable = 0;     // tasks where exactly one option is odd in the feature
  int right = 0;          // of those, the tasks where the odd one is the right answer
  double chance = 0;      // a blind pick's expected wins there: the sum of 1/n
  double variance = 0;    // of a blind pick's wins there: the sum of (1/n)(1 - 1/n)
  std::vector<int> wins;  // the indices of the tasks it wins
  // Its share of the applicable tasks over chance's, and the most that share may exceed chance
  // by, both in points (percent of the applicable tasks).
  double Gain() const;
  double Limit() const;
  bool Judged() const { return applicable >= kMinFormTasksToJudge; }
  bool GivesAway() const { return Judged() && Gain() > Limit(); }
};

struct FormGuessScores {
  std::array<FormGuessScore, 4> score{};  // by kFormGuessers
  const FormGuessScore& Of(FormGuesser g) const { return score[static_cast<std::size_t>(g)]; }
  // The guesser nearest its limit (the most deviations over chance), among those that apply at all.
  std::optional<FormGuesser> Worst() const;
};
FormGuessScores ScoreFormGuessers(const std::vector<const Task*>& tasks);

// Names that may open a piece with a capital letter (one per line in names.txt).
using NameList = std::set<QString>;
NameList ParseNames(const QByteArray& data);

// hundred: 1 for q01.tsv (tasks 1..100) ... 15 for q15.tsv.
void ParseTaskFile(Bank& bank, const QString& file, const QByteArray& data, int hundred, const NameList& names);
void ParseSayings(Bank& bank, const QString& file, const QByteArray& data);
// Rules over the whole bank: uniqueness of phrases and of right answers, the size mix and the
// length and form giveaways (per file and over the bank), missing ranges (warnings), the storage proof.
void CheckBank(Bank& bank);

// What the bank holds, one line per task file and one for the bank: the sizes 3/4/5, the
// registers, the best length-only guesser against chance and the worst form guesser.
QStringList Summary(const Bank& bank);

// Draft builds: removes the tasks whose pieces cannot be stored, so the rest still builds.
void DropUnstorableTasks(Bank& bank);

// Normal form for uniqueness and ordering: lower case, "ё" as "е", punctuation dropped,
// blanks collapsed.
QString Normalize(const QString& text);

// "c" task "c" ... "c" + zero byte; a missing task is stored empty.
QByteArray BuildTaskText(const Bank& bank);
// "^" saying "^" ... "^" + zero byte.
QByteArray BuildSayingsText(const Bank& bank);
// The task list's order: the ten fixed positions, then Russian alphabetical order of phrases.
std::array<int, kTaskCount> BuildDisplayOrder(const Bank& bank);
inline constexpr std::array<int, 10> kFixedOrder = {701, 101, 102, 26, 601, 501, 337, 502, 1, 2};

// The generated C++ source holding the stored content.
QByteArray EmitCpp(const QByteArray& taskText, const QByteArray& sayingsText, const std::array<int, kTaskCount>& order);

// "501–1500" style description of the missing task ranges; empty when complete.
QString MissingRanges(const Bank& bank);

}  // namespace zv::content
