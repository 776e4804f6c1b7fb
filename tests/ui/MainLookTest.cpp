// What the learner sees of the main window beyond its texts: one typeface in every window and
// on every screen, drop-down lists of sixteen lines, controls that look disabled when they are.

#include "support/MainFormRun.h"
#include "support/TestApplication.h"
#include "ui/ProgramLook.h"
#include "ui/TAidForm.h"
#include "ui/TZVMainForm.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace zv {
namespace {

using test::TrainerRun;

ZV_TEST_APPLICATION(QApplication);

// The program sets its font at start-up, before any window; so does every test here.
class MainLook : public ::testing::Test {
 protected:
  void SetUp() override { ApplyProgramFont(); }
};

// Every visible widget of `window` whose font resolves to another family than the program's,
// as "class name: family".
QStringList StrayFonts(QWidget& window) {
  const QString expected = QFontInfo(ProgramFont()).family();
  QStringList stray;
  QList<QWidget*> widgets = window.findChildren<QWidget*>();
  widgets.prepend(&window);
  for (QWidget* w : widgets) {
    if (!w->isVisible()) continue;
    const QString family = QFontInfo(w->font()).family();
    if (family != expected)
      stray << QLatin1String(w->metaObject()->className()) + QLatin1Char(' ') + w->objectName() + QLatin1String(": ") +
                   family;
  }
  return stray;
}

// The pixel size each visible widget of `window` resolves to, by object.
std::map<const QWidget*, int> Sizes(QWidget& window) {
  std::map<const QWidget*, int> sizes;
  for (const QWidget* w : window.findChildren<QWidget*>())
    if (w->isVisible()) sizes[w] = QFontInfo(w->font()).pixelSize();
  return sizes;
}

TEST_F(MainLook, OneTypefaceOnEveryScreenAndInEveryWindow) {
  ASSERT_EQ(QFontInfo(ProgramFont()).family(), QStringLiteral("Liberation Sans")) << "Arial's stand-in";
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  EXPECT_EQ(StrayFonts(f), QStringList()) << "start screen";
  const std::map<const QWidget*, int> before = Sizes(f);
  run.Click(f.TLCheckBox);
  run.Click(f.BitBtns[4]);  // the time-limit group moves into the lower panel
  EXPECT_EQ(StrayFonts(f), QStringList()) << "timed exam";
  for (int task = 0; task < 5; ++task) run.Click(run.Answer(task != 1));
  ASSERT_EQ(f.TLGroupBox->parentWidget(), &f);
  EXPECT_EQ(StrayFonts(f), QStringList()) << "start screen after a timed exam";
  // Nor does a control's size change by going into the exam and back.
  for (const auto& [w, size] : Sizes(f))
    if (before.count(w) != 0 && w != f.TaskLabel) {  // the start text is the same on both
      EXPECT_EQ(size, before.at(w)) << w->metaObject()->className() << " " << w->objectName().toStdString();
    }

  TAidForm protocol(&f);
  protocol.OpenProtocol(f.Protocol(), QStringLiteral("\"Делу время, потехе час\""));
  EXPECT_EQ(StrayFonts(protocol), QStringList()) << "protocol window";
  protocol.close();

  f.MainPopupMenu->popup(f.mapToGlobal(QPoint(100, 120)));
  EXPECT_EQ(StrayFonts(*f.MainPopupMenu), QStringList()) << "popup menu";
  f.MainPopupMenu->close();

  QMessageBox box(
      QMessageBox::Information, QStringLiteral("Зорвик"), QStringLiteral("Все задания пройдены."), QMessageBox::Ok);
  box.show();
  EXPECT_EQ(StrayFonts(box), QStringList()) << "message box";
}

// Number of rows of `box`'s open list that are wholly in view.
int RowsInView(QComboBox* box) {
  QAbstractItemView* view = box->view();
  const QRect port = view->viewport()->rect();
  int rows = 0;
  for (int i = 0; i < box->count(); ++i)
    if (port.contains(view->visualRect(box->model()->index(i, 0)))) ++rows;
  return rows;
}

TEST_F(MainLook, DropDownListsShowSixteenLines) {
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  run.Click(f.TLCheckBox);
  for (QComboBox* box : {f.GenComboBox, f.TLComboBox}) {
    ASSERT_GT(box->count(), 16) << box->objectName().toStdString();
    box->showPopup();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(box->view()->window()));
    EXPECT_EQ(RowsInView(box), 16) << box->objectName().toStdString();
    box->hidePopup();
  }
}

// The colour a control's lettering is drawn in, in its present state.
QColor Lettering(const QWidget* w, QPalette::ColorRole role = QPalette::WindowText) {
  return w->palette().color(w->isEnabled() ? QPalette::Active : QPalette::Disabled, role);
}

TEST_F(MainLook, DisabledControlsLookDisabled) {
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  const QPalette standard = f.style()->standardPalette();
  const QColor grey = standard.color(QPalette::Disabled, QPalette::WindowText);
  const QColor navy(0, 0, 0x80), blue(0, 0, 0xFF);

  // Time limit off: the box, the tick-tock option and its label are disabled and look it.
  ASSERT_FALSE(f.TLCheckBox->isChecked());
  ASSERT_FALSE(f.TicTacLabel->isEnabled());
  EXPECT_EQ(Lettering(f.TicTacLabel), grey);
  EXPECT_EQ(Lettering(f.TLComboBox, QPalette::ButtonText), standard.color(QPalette::Disabled, QPalette::ButtonText));
  // No consolidation before a first exam: its label is grey too.
  ASSERT_FALSE(f.RepLabel->isEnabled());
  EXPECT_EQ(Lettering(f.RepLabel), grey);
  // A disabled link does not light up under the mouse.
  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(f.TicTacLabel, &enter);
  EXPECT_EQ(f.TicTacLabel->palette().color(QPalette::Active, QPalette::WindowText), navy);
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(f.TicTacLabel, &leave);

  // Time limit on: enabled, navy, and blue under the mouse.
  run.Click(f.TLCheckBox);
  ASSERT_TRUE(f.TicTacLabel->isEnabled());
  EXPECT_EQ(Lettering(f.TicTacLabel), navy);
  QApplication::sendEvent(f.TicTacLabel, &enter);
  EXPECT_EQ(Lettering(f.TicTacLabel), blue);
  QApplication::sendEvent(f.TicTacLabel, &leave);
  EXPECT_EQ(Lettering(f.TicTacLabel), navy);

  // In the exam the box is the countdown: disabled between steps, yet dark and legible.
  run.Click(f.BitBtns[4]);
  ASSERT_FALSE(f.TLComboBox->isEnabled());
  EXPECT_EQ(Lettering(f.TLComboBox, QPalette::ButtonText), QColor(0x1E, 0x2A, 0x44));
  run.Click(f.CancelBitBtn);
  run.Click(f.TLCheckBox);
  ASSERT_FALSE(f.TLComboBox->isEnabled());
  EXPECT_EQ(Lettering(f.TLComboBox, QPalette::ButtonText), standard.color(QPalette::Disabled, QPalette::ButtonText))
      << "back on the start screen a disabled box looks disabled again";
}

}  // namespace
}  // namespace zv
