#pragma once
// TUpdateFormLink: the program's link from the main window to the update window. It asks the
// system's network information whether the machine is online (loaded once; without a backend,
// or while the state is unknown, the machine counts as online), and makes the update window
// with what the main window holds: the trainer's names and build, the installed packages'
// versions, the automatic check, the settings key, the private download folder and the
// network transfer.

#include "ui/UpdateWindowLink.h"
#include "update/AutoCheckup.h"

namespace zv {

class TUpdateFormLink final : public UpdateWindowLink {
 public:
  bool Online() override;
  int Run(TZVMainForm& main, UpdateOpening opening) override;

 private:
  bool m_loadTried = false;
  SystemWallClock m_clock;
};

}  // namespace zv
