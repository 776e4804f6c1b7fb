// The main window's fonts: the font window opened from the popup menu, previewing every change
// on the target's widgets as it is made.

#include "ui/TZVMainForm.h"
#include "ui/TZVMainFormParts.h"

#include "ui/ModalRun.h"
#include "ui/TBitBtn.h"
#include "ui/TFontForm.h"

#include <QAction>
#include <QFontDatabase>
#include <QFontInfo>
#include <QLabel>

namespace zv {

using namespace mainform;

namespace {

// The screen typefaces, and the one that serves a name the system aliases ("Arial" served by
// "Liberation Sans"). A name the system does not know at all is served by its fallback
// typeface; that counts as not installed.
InstalledFonts ScreenFonts() {
  InstalledFonts fonts;
  fonts.families = QFontDatabase::families();
  fonts.resolveAlias = [](const QString& name) {
    const QString served = QFontInfo(QFont(name)).family();
    const QString fallback = QFontInfo(QFont(QStringLiteral("Zorvik No Such Typeface"))).family();
    return served != fallback || name.compare(fallback, Qt::CaseInsensitive) == 0 ? served : QString();
  };
  return fonts;
}

}  // namespace

void TZVMainForm::FontItemClick() {
  const FontTarget target = m_fontTarget;
  const QFont current = target == FontTarget::TaskText ? TaskLabel->font() : BitBtns[0]->font();
  FontEditor editor(target, ChoiceOf(current), ScreenFonts());
  TFontForm form(editor, FontItem->text(), this);
  connect(&form, &TFontForm::fontChanged, this, [this, target](const FontChoice& font) { ApplyFont(target, font); });
  form.adjustSize();
  form.move(geometry().center() - form.rect().center());
  RunModal(&form, ModalRequest{ModalWindow::Other, {}, {}, {}});
}

void TZVMainForm::ApplyFont(FontTarget target, const FontChoice& font) {
  const QFont f = FontOf(font);
  if (target == FontTarget::TaskText) {
    TaskLabel->setFont(f);
    TaskLabel1->setFont(f);
  } else {
    for (TBitBtn* b : BitBtns) b->setFont(f);
  }
}

}  // namespace zv
