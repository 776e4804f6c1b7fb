#include "app/TrainerWindows.h"

#include "platform/SessionEnd.h"
#include "platform/SingleInstance.h"
#include "shell/BringForward.h"
#include "shell/StartUp.h"
#include "ui/TAidForm.h"
#include "ui/THintForm.h"
#include "ui/TZVMainForm.h"

#include <QTimer>

namespace zv {

TrainerWindows::TrainerWindows(TrainerContext& context, SoundService& sound) {
  m_main = std::make_unique<TZVMainForm>(context, sound);
  m_server = std::make_unique<InstanceMessageServer>();
  TZVMainForm* main = m_main.get();
  connect(m_server.get(), &InstanceMessageServer::bringForwardRequested, main, [main] { BringForward(*main); });
  // The uninstaller's quit ends the program as the end of the session does, so a modal window
  // on view cannot hold it up and everything is stored before the uninstaller goes on.
  connect(m_server.get(), &InstanceMessageServer::quitRequested, main, [main] {
    if (!RequestSessionEnd()) main->close();
  });

  m_aid = std::make_unique<TAidForm>(main);
  m_hint = std::make_unique<THintForm>(*context.System.SettingsRegistry, *context.System.Random, sound, main);
  main->SetAidForm(m_aid.get());
  main->SetHintForm(m_hint.get());
  main->show();
  // The server answers once the message loop runs, that is with the start screen on view.
  if (!context.ServerName.isEmpty())
    QTimer::singleShot(
        0, m_server.get(), [server = m_server.get(), name = context.ServerName] { server->Listen(name); });
}

// Members go in reverse order: the server, then the correct-answer window, the task-list
// window and the main window last.
TrainerWindows::~TrainerWindows() = default;

}  // namespace zv
