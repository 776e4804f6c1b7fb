// The main window's room for the internet update: LiveUpdateBitBtn and the automatic check's
// UpdateCheckupTimer open the update window through the link the program installed.

#include "ui/TZVMainForm.h"

#include "exam/ExamFlow.h"

#include <QApplication>
#include <QTimer>

namespace zv {

void TZVMainForm::SetUpdateWindowLink(std::unique_ptr<UpdateWindowLink> link) { m_updateLink = std::move(link); }

void TZVMainForm::StartUpdateCheckup() {
  m_checkup.Start(m_settings.autoCheckup, m_settings.autoCheckupHours, m_settings.lastCheckup);
  if (m_checkup.Enabled()) UpdateCheckupTimer->start();
}

void TZVMainForm::SetAutoCheckupEnabled(bool enabled) {
  m_checkup.SetEnabled(enabled);
  if (!enabled)
    UpdateCheckupTimer->stop();
  else if (!UpdateCheckupTimer->isActive())
    UpdateCheckupTimer->start();
}

void TZVMainForm::UpdateCheckupTimerTimer() {
  // The flags keep ticks out while the modal update window runs its own message loop.
  if (!m_updateLink || UpdateWindowOpen()) return;
  // Not in the middle of an exam (the update button is hidden then): a window popping up
  // would take the learner's time and focus; the next tick after the exam opens it.
  if (!m_flow->Screen().LiveUpdateVisible) return;
  if (m_checkup.Tick(m_updateLink->Online())) LiveUpdateBitBtnClick(UpdateOpening::ByTimer);
}

void TZVMainForm::LiveUpdateBitBtnClick(UpdateOpening sender) {
  if (!m_updateLink || UpdateWindowOpen()) return;
  if (sender == UpdateOpening::ByTimer) {
    m_updateByTimer = true;
  } else {
    m_updateByUser = true;
    hide();
  }
  m_checkup.SetWindowOpen(true);
  qApp->removeEventFilter(this);  // the arrow-key hook is for this window's buttons only
  const int result = m_updateLink->Run(*this, sender);
  qApp->installEventFilter(this);
  m_checkup.SetWindowOpen(false);
  const bool byUser = m_updateByUser;
  m_updateByUser = false;
  m_updateByTimer = false;
  if (result == kUpdateHandedOff) {
    // The installers replace the packages now: the trainer ends the way it always does, its
    // state written. Closing a window the button has hidden does not end the application by
    // itself, so the application is told to quit as well.
    close();
    QCoreApplication::quit();
    return;
  }
  if (byUser) show();
}

}  // namespace zv
