// Zorvik, the trainer: start-up, then the main window with the task-list and correct-answer
// windows, then the message loop. Sound comes from the packages in the user's data folder or
// next to the program, played by SDL2_mixer when it can be loaded and opened. The update
// window, which brings the network, is linked into the main window here.

#include "app/RunTrainer.h"
#include "app/TrainerWindows.h"
#include "common/SystemInfo.h"
#include "platform/SdlSoundEngine.h"
#include "shell/TrainerContext.h"
#include "sound/PackageSoundService.h"
#include "ui/TZVMainForm.h"
#include "update/TUpdateFormLink.h"

namespace {

// The sound layer of the run; made once the application exists, it outlives the windows.
struct TrainerSound {
  explicit TrainerSound(zv::RandomSource& random)
      : service(engine, random, zv::PackageSoundService::DefaultFolders()) {}
  zv::SdlSoundEngine engine;
  zv::PackageSoundService service;
};

}  // namespace

int main(int argc, char** argv) {
  zv::SdlSoundEngine::PreloadLibraries();  // mapped while start-up shows its windows
  std::unique_ptr<TrainerSound> sound;
  return zv::RunTrainer(argc, argv, [&sound](zv::TrainerContext& context) -> std::unique_ptr<QObject> {
    sound = std::make_unique<TrainerSound>(*context.System.Random);
    auto windows = std::make_unique<zv::TrainerWindows>(context, sound->service);
    windows->Main().SetUpdateWindowLink(std::make_unique<zv::TUpdateFormLink>());
    return windows;
  });
}
