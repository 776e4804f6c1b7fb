#include "update/TUpdateFormLink.h"

#include "common/SystemInfo.h"
#include "platform/CommandFile.h"
#include "shell/TrainerContext.h"
#include "shell/TrainerState.h"
#include "sound/SoundService.h"
#include "ui/ModalRun.h"
#include "ui/TZVMainForm.h"
#include "update/ServerAddresses.h"
#include "update/TUpdateForm.h"
#include "update/UpdateFolder.h"
#include "update/UpdateTransferFactory.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QNetworkInformation>
#include <QThread>

#include <algorithm>

namespace zv {
namespace {

// A wait during which the window still paints and its timers run.
void WaitWithMessages(int milliseconds) {
  QElapsedTimer elapsed;
  elapsed.start();
  while (elapsed.elapsed() < milliseconds) {
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    QThread::msleep(static_cast<unsigned long>(std::clamp<qint64>(milliseconds - elapsed.elapsed(), 0, 8)));
  }
}

}  // namespace

bool TUpdateFormLink::Online() {
  if (!m_loadTried) {
    m_loadTried = true;
    QNetworkInformation::loadDefaultBackend();
  }
  const QNetworkInformation* info = QNetworkInformation::instance();
  return info == nullptr || info->reachability() != QNetworkInformation::Reachability::Disconnected;
}

int TUpdateFormLink::Run(TZVMainForm& main, UpdateOpening opening) {
  TrainerContext& context = main.Context();
  SystemInfo& system = context.System;
  const std::unique_ptr<UpdateTransfer> transfer = MakeUpdateTransfer(UserAgent(BuildClientId(system, false)));
  UpdateSources sources{*transfer,
                        BuiltServerAddresses(system.Environment),
                        PrepareUpdateFolder(system.TempFolder).value_or(QString()),
                        *system.Random,
                        InstalledVersionsOf(main.Sound().Coverage(), context.State.BuildNumber)};
  UpdateFormSetup setup{
      context.State.CyrillicName,
      opening,
      *system.SettingsRegistry,
      main.Checkup(),
      [&main](bool on) { main.SetAutoCheckupEnabled(on); },
      m_clock,
      QLocale::system(),
      [&system](const QString& english, const QString& russian) { ShowInfoMessage(system, english, russian); },
      &CommandFile::StartDetached,
      &WaitWithMessages,
      &QApplication::beep};
  TUpdateForm form(std::move(setup), std::move(sources), &main);
  form.move(main.geometry().center() - form.rect().center());
  return RunModal(&form, ModalRequest{ModalWindow::Other, {}, {}, {}}).result;
}

}  // namespace zv
