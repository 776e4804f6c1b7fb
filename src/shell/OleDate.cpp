#include "shell/OleDate.h"

#include <cmath>

namespace zv {
namespace {

constexpr double kMsPerDay = 86400000.0;
// Beyond what QDate holds comfortably and far beyond any moment the program stores.
constexpr double kLimitDays = 2958465.0;  // 31 December 9999

QDate epoch() { return QDate(1899, 12, 30); }

}  // namespace

double ToOleDate(const QDateTime& local) {
  const QDateTime t = local.toLocalTime();
  const double days = double(epoch().daysTo(t.date()));
  const double fraction = double(t.time().msecsSinceStartOfDay()) / kMsPerDay;
  return days < 0 ? days - fraction : days + fraction;
}

QDateTime FromOleDate(double value) {
  if (!std::isfinite(value) || std::fabs(value) > kLimitDays) return {};
  const double whole = std::trunc(value);
  const double fraction = std::fabs(value - whole);
  qint64 ms = std::llround(fraction * kMsPerDay);
  qint64 days = qint64(whole);
  if (ms >= qint64(kMsPerDay)) {  // rounding reached the next midnight (forwards either way)
    ms = 0;
    days += 1;
  }
  return QDateTime(epoch().addDays(days), QTime::fromMSecsSinceStartOfDay(int(ms)));
}

double OleNow() { return ToOleDate(QDateTime::currentDateTime()); }

}  // namespace zv
