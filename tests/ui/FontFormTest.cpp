// The font window opened from the main window's popup menu: what it shows at opening, the live
// preview on the target's widgets, closing without undo, and the fonts stored at the end. The
// window is driven while the run's ModalHook holds it; screenshots go to <build>/screens.

#include "platform/Registry.h"
#include "support/MainFormRun.h"
#include "support/TestApplication.h"
#include "ui/ProgramLook.h"
#include "ui/TBitBtn.h"
#include "ui/TFontForm.h"
#include "ui/TXFontComboBox.h"
#include "ui/TZVMainForm.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace zv {
namespace {

using namespace Qt::StringLiterals;
using test::TrainerRun;

ZV_TEST_APPLICATION(QApplication);

// Opens the popup menu on `on`, as a right click does, and chooses the font item; `drive` runs
// while the font window is up.
void OpenFontWindow(TrainerRun& run, QWidget* on, const std::function<void(TFontForm&)>& drive) {
  TZVMainForm& f = *run.form;
  emit on->customContextMenuRequested(QPoint(4, 4));
  f.MainPopupMenu->hide();
  bool shown = false;
  run.modals.setOnShown([&](const ModalRequest& request) {
    if (request.windowClass != u"zv::TFontForm"_s) return;
    auto* form = f.findChild<TFontForm*>();
    ASSERT_NE(form, nullptr);
    shown = true;
    form->show();
    drive(*form);
  });
  f.FontItem->trigger();
  run.modals.setOnShown({});
  EXPECT_TRUE(shown) << "the font item opened no font window";
  EXPECT_EQ(f.findChild<TFontForm*>(), nullptr) << "the window outlived its closing";
}

// The window with its drop-down list open, as one picture.
void SaveWithDropDown(TFontForm& form, const char* name) {
  form.XFontComboBox->showPopup();
  QApplication::processEvents();
  QWidget* popup = form.XFontComboBox->view()->window();
  const QPoint at = popup->mapToGlobal(QPoint()) - form.mapToGlobal(QPoint());
  const QRect both = QRect(QPoint(), form.size()).united(QRect(at, popup->size()));
  QPixmap shot(both.size());
  shot.fill(Qt::white);
  QPainter p(&shot);
  p.drawPixmap(-both.topLeft(), form.grab());
  p.drawPixmap(at - both.topLeft(), popup->grab());
  p.end();
  QDir().mkpath(QStringLiteral(ZV_SCREENS_DIR));
  shot.save(QStringLiteral(ZV_SCREENS_DIR "/") + QLatin1String(name) + u"_list.png"_s);
  form.XFontComboBox->hidePopup();
  form.grab().save(QStringLiteral(ZV_SCREENS_DIR "/") + QLatin1String(name) + u".png"_s);
}

QFont Font(const QString& family, int size, bool bold, bool italic) {
  QFont f(family);
  f.setPointSize(size);
  f.setBold(bold);
  f.setItalic(italic);
  return f;
}

TEST(FontForm, AnswersOpenOnTheirStyleAndTakeEveryChangeAtOnce) {
  ApplyProgramFont();  // as the program does, so the screenshots show its look
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  QString other;
  for (TBitBtn* b : f.BitBtns) b->setFont(Font(u"Arial"_s, 14, true, true));  // size outside 8..12

  OpenFontWindow(run, f.BitBtns[2], [&](TFontForm& w) {
    EXPECT_EQ(w.windowTitle(), u"Zorvik"_s);
    EXPECT_EQ(w.FontGroupBox->title(), u"Шрифт ответов..."_s);
    EXPECT_EQ(w.size(), QSize(322, 121));
    EXPECT_EQ(w.NormFontLabel->text(), u"Aя"_s);
    EXPECT_TRUE(w.BoldItalicRadioButton->isChecked());
    EXPECT_EQ(w.XFontComboBox->currentText(), QFontInfo(QFont(u"Arial"_s)).family()) << "the alias found no entry";
    EXPECT_EQ(w.FontSizeMaskEdit->minimum(), 8);
    EXPECT_EQ(w.FontSizeMaskEdit->maximum(), 12);
    EXPECT_EQ(w.FontSizeMaskEdit->value(), 12);
    EXPECT_EQ(f.BitBtns[0]->font().pointSize(), 14) << "showing the size changed it";
    SaveWithDropDown(w, "font_answers");

    QTest::mouseClick(w.NormFontLabel, Qt::LeftButton);  // the "Aя" sample itself
    EXPECT_TRUE(w.NormalRadioButton->isChecked());
    w.FontSizeMaskEdit->setValue(9);
    const int next = w.XFontComboBox->currentIndex() == 1 ? 2 : 1;
    other = w.XFontComboBox->itemText(next);
    ASSERT_FALSE(other.isEmpty());
    w.XFontComboBox->setCurrentIndex(next);
    for (TBitBtn* b : f.BitBtns) {
      EXPECT_FALSE(b->font().bold());
      EXPECT_FALSE(b->font().italic());
      EXPECT_EQ(b->font().pointSize(), 9);
      EXPECT_EQ(b->font().family(), other);
    }
    EXPECT_EQ(w.BoldFontLabel->font().family(), other) << "the samples take the typeface";
    EXPECT_TRUE(w.BoldFontLabel->font().bold()) << "each sample keeps its style";
    EXPECT_EQ(f.TaskLabel->font().pointSize(), 14) << "the task text is not the target";
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible()) << "Escape did not close the window";
  });
  // Escape undoes nothing, and the end of the program stores what was chosen.
  EXPECT_EQ(f.BitBtns[4]->font().family(), other);
  EXPECT_EQ(f.BitBtns[4]->font().pointSize(), 9);
  f.close();
  Registry r(RegistryPaths::inOneFolder(dir.path()));
  ASSERT_TRUE(r.OpenKeyReadOnly(u"Software\\Ostwin\\Zorvik"_s));
  EXPECT_EQ(r.ReadString(u"AnsFont"_s), other);
  EXPECT_EQ(r.ReadInteger(u"AnsFontSize"_s), 9);
  EXPECT_FALSE(r.ReadBool(u"AnsFontBold"_s));
  EXPECT_FALSE(r.ReadBool(u"AnsFontItalic"_s));
  EXPECT_EQ(r.ReadInteger(u"AskFontSize"_s), 14);
}

TEST(FontForm, TaskTextPreviewsOnBothLabelsAndKeepsATypefaceNoLongerInstalled) {
  QTemporaryDir dir;
  TrainerRun run(dir.path());
  TZVMainForm& f = *run.form;
  const QString gone = u"Zorvik Gone Typeface"_s;
  ASSERT_FALSE(QFontDatabase::families().contains(gone));
  f.TaskLabel->setFont(Font(gone, 16, false, true));
  f.TaskLabel1->setFont(Font(gone, 16, false, true));

  // OK without a change leaves the font as it was.
  OpenFontWindow(run, f.TaskLabel, [&](TFontForm& w) {
    EXPECT_EQ(w.FontGroupBox->title(), u"Шрифт заданий..."_s);
    EXPECT_EQ(w.XFontComboBox->currentIndex(), -1);
    EXPECT_GT(w.XFontComboBox->count(), 0);
    EXPECT_TRUE(w.NormItalicRadioButton->isChecked());
    EXPECT_EQ(w.FontSizeMaskEdit->minimum(), 12);
    EXPECT_EQ(w.FontSizeMaskEdit->maximum(), 20);
    EXPECT_EQ(w.FontSizeMaskEdit->value(), 16);
    SaveWithDropDown(w, "font_tasks");
    QTest::mouseClick(w.OKBitBtn, Qt::LeftButton);
  });
  EXPECT_EQ(f.TaskLabel->font(), Font(gone, 16, false, true));

  OpenFontWindow(run, f.TaskLabel, [&](TFontForm& w) {
    w.FontSizeMaskEdit->setValue(20);
    QTest::mouseClick(w.BoldRadioButton, Qt::LeftButton);
    for (QLabel* l : {f.TaskLabel, f.TaskLabel1}) {
      EXPECT_EQ(l->font().family(), gone) << "the typeface changed without a choice";
      EXPECT_EQ(l->font().pointSize(), 20);
      EXPECT_TRUE(l->font().bold());
      EXPECT_FALSE(l->font().italic());
    }
    w.XFontComboBox->setCurrentIndex(0);
    for (QLabel* l : {f.TaskLabel, f.TaskLabel1}) EXPECT_EQ(l->font().family(), w.XFontComboBox->itemText(0));
  });
  for (TBitBtn* b : f.BitBtns) EXPECT_EQ(b->font().pointSize(), 10) << "the answers are not the target";
}

TEST(FontForm, FontComboDrawsTallItemsInAWideList) {
  TXFontComboBox box;
  box.resize(120, 24);
  ASSERT_GT(box.count(), 1);
  EXPECT_EQ(box.view()->sizeHintForRow(0), TXFontComboBox::kItemHeight);
  box.show();
  box.showPopup();
  QApplication::processEvents();
  EXPECT_GE(box.view()->window()->width(), TXFontComboBox::kDroppedWidth);
  box.hidePopup();

  box.setCurrentIndex(1);
  const QString kept = box.FontName();
  box.Refill();
  EXPECT_EQ(box.FontName(), kept) << "refilling lost the selection";
}

}  // namespace
}  // namespace zv
