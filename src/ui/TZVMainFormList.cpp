// The main window's list button: the progress window of the building, the task list window
// with the progress tricks, and the start screen rebuilt afterwards.

#include "ui/TZVMainForm.h"
#include "ui/TZVMainFormParts.h"

#include "common/SystemInfo.h"
#include "exam/TaskList.h"
#include "shell/StartUp.h"
#include "shell/TProgressForm.h"
#include "shell/TrainerContext.h"
#include "shell/TrainerState.h"
#include "tasks/BuiltinContent.h"
#include "ui/TAidForm.h"
#include "ui/THintForm.h"
#include "ui/WidgetColours.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace zv {

using namespace mainform;

std::vector<SelectorState> TZVMainForm::SelectorStates() {
  TrainerState& state = m_context.State;
  std::vector<SelectorState> out;
  if (state.Tasks) {
    out.push_back({S("Heart"), state.Tasks->UsedBytes()});
    out.push_back({S("DoneHeart"), state.Tasks->DoneBytes()});
  }
  if (state.Sayings) out.push_back({S("HeartP"), state.Sayings->UsedBytes()});
  if (state.Remarks) out.push_back({S("HeartRC"), state.Remarks->UsedBytes()});
  if (m_hint) {
    for (HintList list : {HintList::Button, HintList::Right, HintList::Wrong, HintList::TimeOut})
      out.push_back({HintPhrases::ValueName(list), m_hint->Phrases().Selector(list).UsedBytes()});
  }
  std::vector<SelectorState> sounds = m_sound.SelectorStates();
  out.insert(out.end(), std::make_move_iterator(sounds.begin()), std::make_move_iterator(sounds.end()));
  for (const auto& more : m_moreSelectorStates) {
    std::vector<SelectorState> theirs = more();
    out.insert(out.end(), std::make_move_iterator(theirs.begin()), std::make_move_iterator(theirs.end()));
  }
  return out;
}

void TZVMainForm::AddSelectorStates(std::function<std::vector<SelectorState>()> states) {
  m_moreSelectorStates.push_back(std::move(states));
}

void TZVMainForm::TaskListBitBtnClick() {
  if (!m_aid || !m_flow->OnStartScreen()) return;
  TrainerState& state = m_context.State;
  const bool interpretations = InterpretationsShown(m_flow->Mark(), m_flow->LastExamWasConsolidation());

  // The list is built into the view that holds the protocol: the protocol is gone.
  m_protocol.Clear();
  m_flow->ClearProtocolAvailable();

  hide();
  TProgressForm progress;
  progress.setWindowTitle(state.CyrillicName + QLatin1Char(' ') + state.VersionLabel);
  progress.SetBorder(true);
  QPalette pal = progress.palette();
  pal.setColor(QPalette::Window, kSkyBlue);
  progress.setPalette(pal);
  const QString hint = S("Уберите отсюда \"мышку\" - дело пойдёт быстрее");
  for (QWidget* w : {static_cast<QWidget*>(&progress),
                     static_cast<QWidget*>(progress.CaptionLabel),
                     static_cast<QWidget*>(progress.ProgressBar)})
    w->setToolTip(hint);
  progress.CancelBitBtn->show();
  progress.SetCaption(TaskListProgressText(state.TaskCount, interpretations));
  progress.ProgressBar->setRange(0, TaskListProgressSteps(state.TaskCount));
  progress.show();
  progress.Step();

  LocateSystemFolders(m_context.System);
  TaskListContext list{m_catalogue,
                       content::DisplayOrder(),
                       *state.Tasks,
                       *state.Remarks,
                       state.Statistics,
                       m_flow->Mark(),
                       m_flow->LastExamWasConsolidation(),
                       state.TaskCount,
                       state.CyrillicName,
                       ProgramKeyPath(state.ShortName),
                       m_context.System.SettingsRegistry.get(),
                       m_context.System.DesktopFolder,
                       [this] { return SelectorStates(); },
                       [this] { m_flow->RepCheckBoxClick(false); },
                       [&progress] {
                         progress.Step();
                         return !TProgressForm::CancelRequested();
                       },
                       [&progress] { progress.close(); }};
  m_aid->ShowList(list);

  show();
  m_flow->ShowStartScreen();
}

}  // namespace zv
