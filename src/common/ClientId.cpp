#include "common/ClientId.h"

#include <cstdlib>

namespace zv {

QString EscapeSpaces(const QString& text) {
  QString result = text;
  result.replace(u' ', QStringLiteral("%20"));
  return result;
}

QString TimeZonePart(int biasMinutes) {
  // East of UTC the bias is negative. The sign belongs to the whole offset, so a zone half an
  // hour west of UTC still reads "-0:30".
  const int east = -biasMinutes;
  const int hours = std::abs(east) / 60;
  const int minutes = std::abs(east) % 60;
  QString part = QStringLiteral(", UTC");
  if (east > 0)
    part += u'+';
  else if (east < 0)
    part += u'-';
  part += QString::number(hours);
  if (minutes != 0) part += u':' + QStringLiteral("%1").arg(minutes, 2, 10, QLatin1Char('0'));
  return part;
}

QString BuildClientId(const ClientIdInputs& in, bool escape) {
  QString id = in.shortName + u' ' + in.versionLabel;
  if (!in.versionLabel.contains(u'.')) id += QStringLiteral(".0");
  id += QStringLiteral(".0 (") + in.shortOSName + u' ' + in.englishLanguage.left(23) + u' ' +
        QStringLiteral("%1").arg(in.lcid, 4, 16, QLatin1Char('0')).toUpper() + TimeZonePart(in.biasMinutes) + u')';
  return escape ? EscapeSpaces(id) : id;
}

}  // namespace zv
