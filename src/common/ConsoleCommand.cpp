#include "common/ConsoleCommand.h"

#include "common/Paths.h"

#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace zv {
namespace {

// Creates the output file under a fresh name; empty when no name could be taken. Creating it
// exclusively means a file (or a planted link) already in the shared Temp folder is never
// written through.
QString createOutputFile(const QString& tempFolder, RandomSource& random) {
  constexpr int kAttempts = 16;
  for (int i = 0; i < kAttempts; ++i) {
    const QString path = tempFolder + RandomName(random);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::NewOnly)) return path;
    const QFileInfo taken(path);
    if (!taken.exists() && !taken.isSymLink()) return {};  // no clash: the folder refuses files
  }
  return {};
}

// Lines end at "\r\n", "\n" or a lone "\r"; each is given back followed by "\r\n".
QString joinLines(const QString& text) {
  QString result;
  result.reserve(text.size() + text.size() / 16);
  qsizetype lineStart = 0;
  for (qsizetype i = 0; i < text.size(); ++i) {
    const QChar c = text.at(i);
    if (c != u'\n' && c != u'\r') continue;
    result += QStringView(text).sliced(lineStart, i - lineStart);
    result += QStringLiteral("\r\n");
    if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n') ++i;
    lineStart = i + 1;
  }
  if (lineStart < text.size()) {
    result += QStringView(text).sliced(lineStart);
    result += QStringLiteral("\r\n");
  }
  return result;
}

}  // namespace

QString RunConsoleCommand(const QString& command, const QString& tempFolder, RandomSource& random,
                          const QString& shell) {
  const QString outputPath = createOutputFile(tempFolder, random);
  if (outputPath.isEmpty()) return {};

  QProcess process;
  process.setProgram(shell);
  process.setArguments({QStringLiteral("-c"), command});
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(outputPath, QIODevice::Truncate);
  process.setStandardErrorFile(QProcess::nullDevice());
  process.start();
  if (process.waitForStarted(-1)) process.waitForFinished(-1);

  QByteArray output;
  QFile file(outputPath);
  if (file.open(QIODevice::ReadOnly)) output = file.readAll();
  file.close();
  QFile::remove(outputPath);
  return joinLines(OemToText(output));
}

QString OemToText(QByteArrayView console) { return QString::fromUtf8(console); }

QByteArray TextToOem(const QString& text) { return text.toUtf8(); }

}  // namespace zv
