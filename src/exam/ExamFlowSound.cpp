// The exam's sounds: the start comment, the voiced task and "Ещё раз".

#include "exam/ExamFlow.h"
#include "exam/ExamFlowParts.h"

#include "exam/ElapsedTime.h"
#include "exam/Marks.h"
#include "platform/Cp1251.h"
#include "platform/MessageBox.h"
#include "platform/RandomSource.h"
#include "sound/SoundService.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"

#include <QStringList>

namespace zv {

using namespace examflow;

void ExamFlow::SpeakerBitBtnClick() {
  if (!m_soundHardware) return;
  if (m_startScreen)
    PlayStartComment(true);
  else
    PlayVoicedTask();
}

void ExamFlow::ShowSpeakerPlaying() {
  m_screen.SpeakerAnimateVisible = true;
  m_screen.SpeakerBitBtnVisible = false;
  Refresh();
}

void ExamFlow::PlayStartComment(bool replay) {
  if (m_env.sound.HasComments(SoundCategory::Start)) ShowSpeakerPlaying();
  m_env.sound.PlayStartComment(replay, [this] { AfterQuestSnd(); });
}

void ExamFlow::PlayVoicedTask() {
  // Without the voiced-task packages nothing plays, and nothing animates.
  if (m_env.sound.AllVoicedTasksPresent()) ShowSpeakerPlaying();
  m_env.sound.PlayVoicedTask(m_currentTask, [this] { AfterQuestSnd(); });
}

void ExamFlow::StopSound() {
  m_env.sound.Stop();
  m_screen.SpeakerAnimateVisible = false;
  m_screen.SpeakerBitBtnVisible = false;
}

void ExamFlow::AfterQuestSnd() {
  m_screen.SpeakerBitBtnVisible = true;
  m_screen.SpeakerAnimateVisible = false;
  Refresh();
}

}  // namespace zv
