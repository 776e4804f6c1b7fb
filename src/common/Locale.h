#pragma once
// The user's locale as a Windows locale identifier (LCID), its English language name, and the
// time-zone bias: what the program reports about the user and uses to choose the language of
// its messages.
//
// The LCID stands for Windows' user default locale, which is the user's *formats* setting
// (numbers, dates, currency), not the display language. Its POSIX counterpart is the formats
// categories; the locale is read as the C library resolves LC_NUMERIC: LC_ALL, then
// LC_NUMERIC, then LANG, the first that is set and not empty. (This is also the category Qt
// names its system locale after, so the LCID agrees with QLocale::system().) LC_MESSAGES
// corresponds to the display language, which the program never consults.

#include <QDateTime>
#include <QProcessEnvironment>
#include <QString>
#include <QStringView>
#include <QTimeZone>

#include <cstdint>

namespace zv {

inline constexpr std::uint32_t kLcidEnglishUS = 0x409;

// LCID of a POSIX locale name "language[_TERRITORY][.codeset][@modifier]" ("-" is accepted
// between language and territory). A known language with an unknown territory takes the
// language's main LCID (ru_UA -> 0x419); C, POSIX, empty and unknown names give 0x409.
std::uint32_t LcidFromPosixLocale(QStringView name);

// The locale name the user default locale is read from (see above); empty when none is set.
QString UserLocaleName(const QProcessEnvironment& environment);
std::uint32_t UserDefaultLcid(const QProcessEnvironment& environment);

// Bulgarian, Russian, Ukrainian, Belarusian, Kazakh, Tatar, Russian (Moldova): the locales
// whose users read Cyrillic.
bool IsRussianLcid(std::uint32_t lcid);

// English name of the LCID's language ("Russian" for 0x419); empty for an LCID outside the
// table.
QString EnglishLanguageName(std::uint32_t lcid);

// Windows' time-zone bias: minutes to add to local standard time to get UTC (300 in New
// York, -180 in Moscow), taken from the zone's standard offset at `at`, so daylight saving
// never changes it. An invalid zone gives 0.
int StandardBiasMinutes(const QTimeZone& zone, const QDateTime& at);
int CurrentStandardBias();

}  // namespace zv
