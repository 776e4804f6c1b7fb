#include "ui/ShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace zv {

namespace {
ShellOpenHook* g_hook = nullptr;
}  // namespace

ShellOpenHook::ShellOpenHook(bool succeeds) : m_succeeds(succeeds), m_previous(g_hook) { g_hook = this; }

ShellOpenHook::~ShellOpenHook() { g_hook = m_previous; }

bool ShellOpen(const QString& target) {
  if (g_hook != nullptr) {
    g_hook->m_opened << target;
    return g_hook->m_succeeds;
  }
  // Tolerant parsing keeps the escapes the target already carries ("%20" in a mail subject).
  return QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}

}  // namespace zv
