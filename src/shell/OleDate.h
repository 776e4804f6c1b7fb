#pragma once
// The date-time value of the settings: days since 30 December 1899 00:00 local time, the time
// of day as the fraction (the OLE Automation date). Before that day the whole part counts
// backwards while the fraction still counts forwards from midnight: -1.25 is 29 December 1899
// 06:00.

#include <QDateTime>

namespace zv {

double ToOleDate(const QDateTime& local);
// Invalid for values outside the range a date can hold (and for NaN or infinity).
QDateTime FromOleDate(double value);
double OleNow();

}  // namespace zv
