#pragma once
// TrainerQuit: the uninstaller's first step — when the trainer runs (its single-instance lock is
// held), it is asked to end through its local server, and the uninstaller waits, for a bounded
// time, until the lock is released: the trainer writes its state on the way out, and that must
// be in the hive before the uninstaller deletes the key.
//
// The server is a QLocalServer listening under a full path; the uninstaller speaks its protocol
// (one message number, 4 bytes little-endian) over a plain AF_UNIX stream socket, so it does not
// link the network module the server needs.

#include "platform/InstanceLock.h"

#include <QString>

#include <cstdint>

namespace zv {

// Connects to the socket at `serverName` and writes the message; true when it was written.
bool SendMessageOverUnixSocket(const QString& serverName, std::uint32_t message);

enum class TrainerQuit {
  NotRunning,  // nobody holds the lock
  Ended,       // it was running, was asked to end, and has released the lock
  StillRunning,  // it did not release the lock within the time (or could not be reached)
};

TrainerQuit QuitRunningTrainer(const InstancePaths& instance, int timeoutMs = 15000);

}  // namespace zv
