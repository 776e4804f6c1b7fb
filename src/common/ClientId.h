#pragma once
// The client identification string: how the program names itself to a web server (the agent
// of its downloads) and in the subject of a mail to the authors, for example
// "Zorvik 1500.0.0 (WinXP Pro SP3 Russian 0419, UTC+3)".

#include <QString>

#include <cstdint>

namespace zv {

struct ClientIdInputs {
  QString shortName;        // "Zorvik"
  QString versionLabel;     // "1500"; ".0" is added when it holds no dot
  QString shortOSName;      // ShortOSName
  QString englishLanguage;  // the user's language; cut to 23 characters as Windows reports it
  std::uint32_t lcid = 0;   // printed as (at least) 4 upper-case hexadecimal digits
  int biasMinutes = 0;      // standard-time bias, minutes west of UTC (StandardBiasMinutes)
};

// Every blank becomes "%20"; nothing else changes.
QString EscapeSpaces(const QString& text);

// ", UTC" and the zone's standard offset from UTC in hours: ", UTC-5" (bias 300), ", UTC0",
// ", UTC+3" (bias -180). Zones off the full hour show the minutes as a clock does:
// ", UTC+5:30" (bias -330), ", UTC-3:30" (bias 210).
QString TimeZonePart(int biasMinutes);

// The identification string; with `escape` it goes through EscapeSpaces.
QString BuildClientId(const ClientIdInputs& inputs, bool escape);

}  // namespace zv
