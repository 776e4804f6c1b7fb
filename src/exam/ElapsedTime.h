#pragma once
// The text of an elapsed time, as the protocol and the correct-answer window show it:
// "3,4 с" under ten seconds (tenths, the system's decimal separator), "15 с", "1 м 15 с",
// "1 ч 02 м 05 с".

#include <QChar>
#include <QString>

#include <cstdint>

namespace zv {

// elapsedMs is the difference of two 32-bit tick counts, taken modulo 2^32.
QString FormatElapsed(std::uint32_t elapsedMs, QChar decimalSeparator);

}  // namespace zv
