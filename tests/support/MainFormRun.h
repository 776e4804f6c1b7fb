#pragma once
// A main window on a hive of its own, with the context start-up would have made: fresh
// selectors, no start-up windows, no sound. A ModalHook answers the correct-answer, mark and
// protocol windows and records them, so nothing blocks. Shared by the window tests and the
// benchmarks.

#include "common/SystemInfo.h"
#include "platform/ModalWindow.h"
#include "shell/StartUp.h"
#include "shell/TrainerState.h"
#include "sound/SoundService.h"
#include "tasks/TSmartRand.h"
#include "ui/TBitBtn.h"
#include "ui/TZVMainForm.h"

#include <QTest>

#include <any>
#include <memory>
#include <vector>

namespace zv::test {

inline SystemInfo StartSystem(const QString& registryDir, const QStringList& arguments) {
  SystemInfoInputs in;
  in.environment.insert(QStringLiteral("LANG"), QStringLiteral("ru_RU.UTF-8"));
  in.arguments = arguments;
  in.registryPaths = RegistryPaths::inOneFolder(registryDir);
  LinuxOsFacts facts;
  facts.osRelease = QStringLiteral("PRETTY_NAME=\"Debian GNU/Linux 12 (bookworm)\"\n");
  facts.is64Bit = true;
  in.os = facts;
  in.random = std::make_unique<ClockSeededRandom>(11);
  return StartSystemInfo(std::move(in));
}

// One run of the trainer's main window on a hive of its own (shared between runs of a test).
struct TrainerRun {
  // `soundLayer`: the sound layer to use instead of one without sound; it outlives the run.
  TrainerRun(const QString& registryDir, QStringList arguments = {QStringLiteral("zorvik")},
             SoundService* soundLayer = nullptr)
      : info(StartSystem(registryDir, arguments)) {
    PublishProgramValues(state, info);
    state.Tasks = std::make_unique<TSmartRand>(1500, true, kTaskSelectorWindow, *info.Random);
    state.Sayings = std::make_unique<TSmartRand>(170, false, 0, *info.Random);
    state.Remarks = std::make_unique<TSmartRand>(18, false, kRemarkSelectorWindow, *info.Random);
    context = std::make_unique<TrainerContext>(TrainerContext{info, state, windows, server});
    form = std::make_unique<TZVMainForm>(*context, soundLayer ? *soundLayer : sound);
    form->show();
  }

  std::vector<TBitBtn*> VisibleAnswers() const {
    std::vector<TBitBtn*> shown;
    for (TBitBtn* b : form->BitBtns)
      if (b->isVisible()) shown.push_back(b);
    return shown;
  }
  TBitBtn* Answer(bool right) const {
    for (TBitBtn* b : VisibleAnswers())
      if ((b->Tag == 1) == right) return b;
    return nullptr;
  }
  void Click(QAbstractButton* b) const { QTest::mouseClick(b, Qt::LeftButton); }

  // What the window asked the correct-answer window, the marks shown, the protocol openings.
  std::vector<CorrectAnswerRequest> Answers() const {
    std::vector<CorrectAnswerRequest> all;
    for (const ModalRequest& r : modals.shown(ModalWindow::CorrectAnswer))
      all.push_back(std::any_cast<CorrectAnswerRequest>(r.details));
    return all;
  }
  std::vector<int> Marks() const {
    std::vector<int> all;
    for (const ModalRequest& r : modals.shown(ModalWindow::Mark)) all.push_back(std::any_cast<int>(r.details));
    return all;
  }
  int ProtocolOpenings() const { return static_cast<int>(modals.shown(ModalWindow::Protocol).size()); }

  SystemInfo info;
  TrainerState state;
  StartUpWindows windows;
  QString server;
  std::unique_ptr<TrainerContext> context;
  NoSoundService sound;
  ModalHook modals;  // outlives the window
  std::unique_ptr<TZVMainForm> form;
};

}  // namespace zv::test
