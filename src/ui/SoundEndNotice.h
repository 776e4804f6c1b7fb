#pragma once
// The end-of-sound notice of a window: a handler for the sound layer that sends the window its
// end message (a QEvent of the given number) — or does nothing when the window is gone by then.

#include "sound/SoundService.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QPointer>

namespace zv {

inline SoundService::EndHandler SoundEndNotice(QObject* window, QEvent::Type message) {
  QPointer<QObject> target(window);
  return [target, message] {
    if (!target) return;
    QEvent ended(message);
    QCoreApplication::sendEvent(target.data(), &ended);
  };
}

}  // namespace zv
