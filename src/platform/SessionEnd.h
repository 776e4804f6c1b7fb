#pragma once
// SessionEnd: the end of the user's session, which on the desktop the program was made for
// closes every window of a running program (so each one writes what it keeps). Here the
// session ends in other ways, and each of them is turned into one event, `ending`:
//  - SIGTERM (logout, shutdown, `kill`), SIGINT and SIGHUP (the terminal or the session gone);
//  - the session manager asking the program to save its work (commitDataRequest);
//  - the application leaving its event loop for any other reason (aboutToQuit);
//  - the process calling exit() from inside the event loop, which is what the toolkit does
//    when the display connection goes away: an exit handler reports the end then (AtExit()
//    is true), on the UI thread, while the windows still exist. The listener must finish its
//    work there: the stack below will never be unwound.
//
// Signals are caught by a handler that only writes one byte into a socket pair (write() is
// async-signal-safe; no Qt call is made there); a QSocketNotifier on the other end reports it
// on the UI thread. Whoever listens to `ending` closes the main window through its usual
// closing path and ends the event loop; `ending` may come more than once (a second signal,
// then aboutToQuit), so the listener must be idempotent. An end that came before anybody
// listened is kept: Ended() answers it.
//
// One instance at a time (the handler has a single socket to write to). While it lives, the
// three signals no longer end the process by themselves; its destructor gives them back their
// default action.

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace zv {

// Another program asks the running trainer to end (the uninstaller's quit message): reported
// as the end of the session through the live instance, so it takes the same path — every window
// closed, a modal one included, then the event loop left. False when no instance lives.
bool RequestSessionEnd();

// What the exit handler runs: reports the end through the live instance, unless it has been
// reported already or the exit does not come from the UI thread.
void EndAtProcessExit();

class SessionEnd : public QObject {
  Q_OBJECT
 public:
  explicit SessionEnd(QObject* parent = nullptr);
  ~SessionEnd() override;
  SessionEnd(const SessionEnd&) = delete;
  SessionEnd& operator=(const SessionEnd&) = delete;

  // Whether the session has ended (a signal arrived and was read, or the session manager or
  // the application asked).
  bool Ended() const { return m_ended; }
  // The number of the last signal read, 0 when none came.
  int LastSignal() const { return m_lastSignal; }
  // Whether the end is being reported from the process's exit handler.
  bool AtExit() const { return m_atExit; }

 signals:
  void ending();

 private:
  friend void EndAtProcessExit();
  friend bool RequestSessionEnd();
  void ReadSignals();
  void End();

  int m_readFd = -1;
  QSocketNotifier* m_notifier = nullptr;
  bool m_ended = false;
  bool m_atExit = false;
  int m_lastSignal = 0;
};

}  // namespace zv
