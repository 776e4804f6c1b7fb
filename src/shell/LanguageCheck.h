#pragma once
// The start-up language check: when the user's locale is not a Cyrillic one, the program warns
// (until told not to) that it needs Russian for non-Unicode programs, and offers to open the
// regional settings instead of starting.
//
// The decision lives here; the window (TWarningForm) only asks and reports the answer.

#include <QProcessEnvironment>
#include <QString>

#include <functional>

namespace zv {

struct SystemInfo;

// The system default language, as the system names it in its own language and in English,
// each at most kLanguageNameLength characters.
struct LanguageNames {
  QString Local;
  QString English;
};
inline constexpr int kLanguageNameLength = 24;

// From the system default locale: LANG, else the locale Qt reads from the system; C, POSIX
// and unknown names stand for English (United States). Local is QLocale's native language
// name, English its language name.
LanguageNames SystemDefaultLanguageNames(const QProcessEnvironment& environment);

// The warning's text, Russian then English, lines ended by "\r\n".
QString LanguageWarningText(const LanguageNames& names);

struct LanguageWarningAnswer {
  bool Yes = false;     // the window closed with YesBitBtn
  bool NoMore = false;  // "Больше не показывать это окно" ticked
};
using LanguageWarningPrompt = std::function<LanguageWarningAnswer(const QString& caption, const QString& text)>;

// Whether start-up runs the check at all: not for the Cyrillic locales (1026, 1049, 1058,
// 1059, 1087, 1092, 2073).
bool LanguageCheckNeeded(const SystemInfo& info);

// Shows the warning through `ask` (caption: the Cyrillic name) unless NoLangDialog is stored
// true; a stored value that cannot be read as a flag does not suppress it. A ticked box writes
// NoLangDialog = 1 whatever the answer. True exactly when the answer was yes: the program is
// then to open the regional settings and end.
bool CheckLanguage(SystemInfo& info, const LanguageNames& names, const LanguageWarningPrompt& ask);

}  // namespace zv
