#pragma once
// UpdateWindowLink: how the main window reaches the update window. That window lives in a
// target of its own above the windows (it brings the network), so the program installs the
// link into the main window; without one, the update button and the timer do nothing.

namespace zv {

class TZVMainForm;

// Who opened the update window: the user's button, or the automatic check's timer.
enum class UpdateOpening { ByUser, ByTimer };

// The update window's result when the installers have been started: the trainer ends.
inline constexpr int kUpdateHandedOff = 2;

class UpdateWindowLink {
 public:
  virtual ~UpdateWindowLink() = default;
  // Whether the machine reports a connection.
  virtual bool Online() = 0;
  // Makes the update window, shows it modally (RunModal) and destroys it; returns its result.
  virtual int Run(TZVMainForm& main, UpdateOpening opening) = 0;
};

}  // namespace zv
