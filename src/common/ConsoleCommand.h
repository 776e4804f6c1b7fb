#pragma once
// Running a console command and reading what it prints.
//
// The command runs through "/bin/sh -c" (the Linux counterpart of the interpreter named by
// ComSpec; $SHELL is not consulted, so the command's syntax never depends on the user's
// shell). Its standard output goes to a file in the Temp folder named by RandomName; the file
// is read line by line, each line followed by "\r\n", and deleted. Standard input is empty and
// standard error is discarded, as for a command run in a hidden console. The wait has no time
// limit.
//
// OEM conversion: Windows consoles print in the OEM code page and the program converts it to
// its own. A Linux console prints in the locale's encoding, which for Qt 6 is UTF-8, so the
// two conversions are UTF-8 decoding and encoding: console bytes to program text and back
// (the latter for scripts the shell reads).

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

namespace zv {

class RandomSource;

inline constexpr const char* kConsoleShell = "/bin/sh";

// The command's output. Empty when the shell cannot be started or the output file cannot be
// created in `tempFolder` (which ends in "/"). A name already taken in the Temp folder is
// never overwritten: another one is drawn.
QString RunConsoleCommand(const QString& command, const QString& tempFolder, RandomSource& random,
                          const QString& shell = QString::fromLatin1(kConsoleShell));

QString OemToText(QByteArrayView console);
QByteArray TextToOem(const QString& text);

}  // namespace zv
