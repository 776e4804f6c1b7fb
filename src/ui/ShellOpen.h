#pragma once
// ShellOpen: the shell's "open" for URLs and mail links (QDesktopServices). A test installs a
// ShellOpenHook, which records every target and answers in its place, so no browser or mail
// program starts.

#include <QString>
#include <QStringList>

namespace zv {

// Opens `target` in the desktop's handler; false when it could not be handed over.
bool ShellOpen(const QString& target);

class ShellOpenHook {
 public:
  explicit ShellOpenHook(bool succeeds = true);
  ~ShellOpenHook();
  ShellOpenHook(const ShellOpenHook&) = delete;
  ShellOpenHook& operator=(const ShellOpenHook&) = delete;

  const QStringList& opened() const { return m_opened; }

 private:
  bool m_succeeds;
  QStringList m_opened;
  ShellOpenHook* m_previous = nullptr;

  friend bool ShellOpen(const QString& target);
};

}  // namespace zv
