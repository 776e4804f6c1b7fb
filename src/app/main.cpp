// Zorvik, the trainer: start-up, then the main window with the task-list and correct-answer
// windows, then the message loop. The sound engine is not bound yet: the trainer runs on its
// no-sound paths.

#include "app/RunTrainer.h"
#include "app/TrainerWindows.h"
#include "sound/SoundService.h"

int main(int argc, char** argv) {
  zv::NoSoundService sound;
  return zv::RunTrainer(argc, argv, [&sound](zv::TrainerContext& context) -> std::unique_ptr<QObject> {
    return std::make_unique<zv::TrainerWindows>(context, sound);
  });
}
