#include "shell/TrainerState.h"

#include "common/SystemInfo.h"
#include "platform/RegistryGroup.h"
#include "shell/ProgressSteps.h"
#include "tasks/SelectorStore.h"
#include "tasks/TaskCatalogue.h"

namespace zv {

using namespace Qt::StringLiterals;

void PublishProgramValues(const TrainerState& state, SystemInfo& info) {
  info.ShortName = state.ShortName;
  info.CyrillicName = state.CyrillicName;
  info.LatinName = state.LatinName;
  info.VersionLabel = state.VersionLabel;
  info.BuildNumber = state.BuildNumber;
}

void RestoreStartUpSelectors(SystemInfo& info, TrainerState& state, int sayingsCount, ProgressSteps& progress) {
  RandomSource& random = *info.Random;
  Registry& registry = *info.SettingsRegistry;

  state.Sayings = std::make_unique<TSmartRand>(sayingsCount, false, 0, random);
  OpenSettingsKey(info);
  // Each read is its own unit of failure, so one bad value never keeps the next selector from
  // being restored.
  if (Protected([&] { return LoadUsedState(registry, u"HeartP"_s, *state.Sayings); }) == GroupOutcome::Completed) {
    progress.SetCaption(u"Загрузка заданий:"_s);
    progress.Step();
  }

  state.Remarks = std::make_unique<TSmartRand>(kRemarkCount, false, kRemarkSelectorWindow, random);
  Protected([&] { return LoadUsedState(registry, u"HeartRC"_s, *state.Remarks); });
  progress.Step();

  state.Tasks = std::make_unique<TSmartRand>(state.TaskCount, true, kTaskSelectorWindow, random);
  Protected([&] { return LoadUsedState(registry, u"Heart"_s, *state.Tasks); });
  Protected([&] { return LoadDoneState(registry, u"DoneHeart"_s, *state.Tasks); });
  Protected([&] { registry.CloseKey(); });  // nothing was written; a failing close loses nothing
  progress.Step();
}

}  // namespace zv
