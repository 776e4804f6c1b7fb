#include "exam/MainScreen.h"

namespace zv {

MainPopup MainPopupFor(bool onTaskLabel, bool startScreen) {
  if (onTaskLabel) return {QString::fromUtf8("Шрифт заданий..."), !startScreen};
  return {QString::fromUtf8("Шрифт ответов..."), false};
}

}  // namespace zv
