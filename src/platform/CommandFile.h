#pragma once
// CommandFile: what stands in for a batch file the program leaves behind to finish a job after
// it has ended (the uninstaller's clean-up of the install folder, the update's hand-off).
//
// The steps are the ones such a batch file is made of: pause, run a program with arguments,
// delete a file, remove a folder (only when it is empty, as "rd" does), delete the script
// itself. They are rendered as a POSIX sh script in which every path and argument is a
// single-quoted word, so no name (blanks, quotes, "$", "`", a leading "-", newlines) is ever
// read as shell syntax. Each step goes on whatever the one before it did, like a batch file.
//
// The script is saved atomically and started detached through /bin/sh with its own folder as
// the working folder; it outlives the program that started it.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zv {

class CommandFile {
 public:
  void Pause(int seconds);
  void Run(const QString& program, const QStringList& arguments = {});
  void DeleteFile(const QString& path);
  void RemoveFolder(const QString& path);
  void DeleteSelf();

  // The script's text.
  QString Render() const;
  // Writes the script to `path` (mode 0700). The error text on failure.
  std::optional<QString> Save(const QString& path) const;

  // Starts a saved script through /bin/sh in its own folder, detached, its output discarded.
  static bool StartDetached(const QString& path);

  // One shell word holding `text` exactly: '...' with every ' written as '\''.
  static QString Quote(const QString& text);

 private:
  std::vector<QString> m_lines;
};

}  // namespace zv
