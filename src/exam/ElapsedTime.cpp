#include "exam/ElapsedTime.h"

namespace zv {

QString FormatElapsed(std::uint32_t e, QChar decimalSeparator) {
  const std::uint32_t h = e / 3'600'000;
  const QString hours = h == 0 ? QString() : QString::number(h) + QString::fromUtf8(" ч ");

  const std::uint32_t m = (e / 60'000) % 60;
  QString minutes;
  if (!hours.isEmpty() || m != 0) {
    minutes = QString::number(m);
    if (!hours.isEmpty() && minutes.size() == 1) minutes.prepend(QLatin1Char('0'));
    minutes += QString::fromUtf8(" м ");
  }

  const std::uint32_t s = (e / 1000) % 60;
  QString seconds;
  if (minutes.isEmpty() && s < 10) {
    const std::uint32_t tenths = (e / 100) % 600;
    seconds = QString::number(tenths / 10) + decimalSeparator + QString::number(tenths % 10);
  } else {
    seconds = QString::number(s);
    if (!minutes.isEmpty() && seconds.size() == 1) seconds.prepend(QLatin1Char('0'));
  }
  return hours + minutes + seconds + QString::fromUtf8(" с");
}

}  // namespace zv
