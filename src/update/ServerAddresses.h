#pragma once
// The two update servers asked in turn for the address file: scheme and host, no trailing
// "/". They are build options (ZV_UPDATE_SERVER_1, ZV_UPDATE_SERVER_2); the environment
// variable ZORVIK_UPDATE_SERVERS ("first second", blank-separated), when set, replaces them
// so tests can point the program at a server of their own.

#include <QProcessEnvironment>
#include <QString>

namespace zv {

struct ServerAddresses {
  QString first;
  QString second;
};

ServerAddresses BuiltServerAddresses(const QProcessEnvironment& environment);

}  // namespace zv
