#include "platform/CommandFile.h"

#include <QFileDevice>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

namespace zv {

using namespace Qt::StringLiterals;

QString CommandFile::Quote(const QString& text) {
  QString quoted = text;
  quoted.replace(u'\'', u"'\\''"_s);
  return u'\'' + quoted + u'\'';
}

void CommandFile::Pause(int seconds) { m_lines.push_back(u"sleep %1"_s.arg(seconds)); }

void CommandFile::Run(const QString& program, const QStringList& arguments) {
  QString line = Quote(program);
  for (const QString& argument : arguments) line += u' ' + Quote(argument);
  m_lines.push_back(line);
}

// "--" ends the options: a path starting with "-" stays a path.
void CommandFile::DeleteFile(const QString& path) { m_lines.push_back(u"rm -f -- "_s + Quote(path)); }

void CommandFile::RemoveFolder(const QString& path) { m_lines.push_back(u"rmdir -- "_s + Quote(path)); }

void CommandFile::DeleteSelf() { m_lines.push_back(u"rm -f -- \"$0\""_s); }

QString CommandFile::Render() const {
  // Errors of one step are the step's own (a file already gone, a folder not empty): they are
  // silenced and the next step runs.
  QString text = u"#!/bin/sh\nexec >/dev/null 2>&1\n"_s;
  for (const QString& line : m_lines) text += line + u'\n';
  return text;
}

std::optional<QString> CommandFile::Save(const QString& path) const {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  const QByteArray bytes = Render().toUtf8();
  if (file.write(bytes) != bytes.size()) return file.errorString();
  file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
  if (!file.commit()) return file.errorString();
  return std::nullopt;
}

bool CommandFile::StartDetached(const QString& path) {
  const QFileInfo info(path);
  QProcess process;
  process.setProgram(u"/bin/sh"_s);
  process.setArguments({info.absoluteFilePath()});
  process.setWorkingDirectory(info.absolutePath());
  process.setStandardInputFile(QProcess::nullDevice());
  process.setStandardOutputFile(QProcess::nullDevice());
  process.setStandardErrorFile(QProcess::nullDevice());
  return process.startDetached();
}

}  // namespace zv
