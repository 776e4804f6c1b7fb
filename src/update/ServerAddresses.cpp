#include "update/ServerAddresses.h"

#include <QStringList>

namespace zv {

ServerAddresses BuiltServerAddresses(const QProcessEnvironment& environment) {
  ServerAddresses servers{QStringLiteral(ZV_UPDATE_SERVER_1), QStringLiteral(ZV_UPDATE_SERVER_2)};
  if (environment.contains(QStringLiteral("ZORVIK_UPDATE_SERVERS"))) {
    const QStringList given =
        environment.value(QStringLiteral("ZORVIK_UPDATE_SERVERS")).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    servers.first = given.value(0);
    servers.second = given.value(1, servers.first);
  }
  return servers;
}

}  // namespace zv
