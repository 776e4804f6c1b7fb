// The main window's about window, opened by InfoBitBtn and F1, with what the sound layer found
// at start-up.

#include "ui/TZVMainForm.h"

#include "common/SystemInfo.h"
#include "shell/AboutContent.h"
#include "shell/TrainerContext.h"
#include "shell/TrainerState.h"
#include "sound/SoundService.h"
#include "ui/ModalRun.h"
#include "ui/TAboutForm.h"

namespace zv {

void TZVMainForm::InfoBitBtnClick() {
  AboutFacts facts;
  facts.programName = m_context.State.CyrillicName;
  facts.versionLabel = m_context.State.VersionLabel;
  facts.coverage = m_sound.Coverage();
  facts.escapedClientId = BuildClientId(m_context.System, true);
  facts.russianLocale = m_context.System.IsRussianLocale;
  facts.addresses = BuiltAboutAddresses();
  facts.credits = LoadAboutCredits(QStringLiteral(":/about"));
  TAboutForm form(facts, this);
  form.move(geometry().center() - form.rect().center());
  RunModal(&form, ModalRequest{ModalWindow::Other, {}, {}, {}});
}

}  // namespace zv
