#include "support/MainFormRun.h"
#include "tasks/BuiltinContent.h"
#include "tasks/TaskCatalogue.h"
#include "ui/SkinCaptionButton.h"
#include "ui/SkinImage.h"
#include "ui/SkinnedForm.h"
#include "ui/TTrackBar.h"
#include "ui/TZVMainForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest/QTest>

#include <gtest/gtest.h>

namespace zv {
namespace {

const QColor kKey(2, 4, 8);

TEST(SkinnedForm, MaskIsTheSkinsNonKeyPixels) {
  SkinnedForm form;
  const QImage& skin = BuiltinSkinImage();
  ASSERT_FALSE(skin.isNull());
  ASSERT_TRUE(form.IsShaped());
  EXPECT_EQ(form.size(), QSize(580, 468));
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(form.palette().color(QPalette::Window), kKey);

  const QRegion mask = form.mask();
  EXPECT_FALSE(mask.contains(QPoint(0, 0))) << "rounded corner";
  EXPECT_FALSE(mask.contains(QPoint(577, 2))) << "rounded corner of the caption shoulder";
  EXPECT_FALSE(mask.contains(QPoint(290, 3))) << "saddle between the shoulders";
  EXPECT_TRUE(mask.contains(QPoint(100, 0))) << "top of the title shoulder";
  EXPECT_TRUE(mask.contains(QPoint(290, 234))) << "centre";
  int mismatches = 0;
  for (int y = 0; y < skin.height(); ++y)
    for (int x = 0; x < skin.width(); ++x)
      mismatches += mask.contains(QPoint(x, y)) == (skin.pixelColor(x, y) == kKey) ? 1 : 0;
  EXPECT_EQ(mismatches, 0);
}

TEST(SkinnedForm, SkinWithoutShapeLeavesTheWindowRectangular) {
  QImage allKey(40, 30, QImage::Format_RGB888);
  allKey.fill(kKey);
  SkinnedForm form(allKey);
  EXPECT_FALSE(form.IsShaped());
  EXPECT_TRUE(form.mask().isEmpty());
}

TEST(SkinnedForm, ColoursComeFromTheSkinAtTheControlsPlace) {
  SkinnedForm form;
  const QImage& skin = BuiltinSkinImage();
  EXPECT_EQ(form.SkinColorAt({20, 190}), skin.pixelColor(20, 190));
  EXPECT_EQ(form.SkinColorAt({-1, 5}), kKey);
  EXPECT_EQ(form.SkinColorAt({580, 5}), kKey);

  // The task card, the status strip and the lower card differ, so a rule sampling the wrong
  // point shows.
  const QColor task = form.SkinColorFor(ToQRect(skin::TaskPanel), SkinSample::BelowLeft);
  const QColor status = form.SkinColorFor(ToQRect(skin::StatusPanel), SkinSample::TopLeft);
  const QColor lower = form.SkinColorFor(ToQRect(skin::PreBottomPanel), SkinSample::TopQuarter);
  EXPECT_EQ(task, skin.pixelColor(20, 190));
  EXPECT_EQ(status, skin.pixelColor(20, 57));
  EXPECT_EQ(lower, skin.pixelColor(155, 370));
  EXPECT_NE(task, status);
  EXPECT_NE(task, lower);

  // A group nested in PreBottomPanel (as the time-limit group is during an exam) samples at
  // its place in the window, not at its position inside the panel.
  auto* panel = new QWidget(&form);
  panel->setGeometry(ToQRect(skin::PreBottomPanel));
  auto* group = new QWidget(panel);
  group->setGeometry(8, 4, skin::TLGroupBox.width, skin::TLGroupBox.height);
  form.ColorFromSkin(group, SkinSample::TopLeft);
  EXPECT_EQ(group->palette().color(QPalette::Window), skin.pixelColor(28, 374));
  EXPECT_TRUE(group->autoFillBackground());
}

TEST(SkinnedForm, TitleAndCaptionButtons) {
  SkinnedForm form;
  form.SetTitle(QString::fromUtf8("Зорвик 1500"));
  EXPECT_EQ(form.VersionLabel->text(), QString::fromUtf8("Зорвик 1500"));
  EXPECT_EQ(form.VersionLabel1->text(), form.VersionLabel->text());
  EXPECT_EQ(form.VersionLabel->font().pixelSize(), 21);
  EXPECT_TRUE(form.VersionLabel->font().bold());
  EXPECT_EQ(form.VersionLabel->palette().color(QPalette::WindowText), QColor(57, 122, 242));
  EXPECT_EQ(form.VersionLabel1->palette().color(QPalette::WindowText), QColor(192, 192, 192));
  EXPECT_EQ(form.VersionLabel1->geometry(), form.VersionLabel->geometry().translated(1, 1));
  EXPECT_EQ(form.VersionLabel->geometry(), ToQRect(skin::TitleArea));
  const QObjectList& order = form.children();
  EXPECT_LT(order.indexOf(form.VersionLabel1), order.indexOf(form.VersionLabel)) << "the silver copy lies behind";

  struct Button {
    SkinCaptionButton* button;
    const char* hint;
  };
  for (const Button b : {Button{form.ExitBitBtn, "Закрыть"},
                         Button{form.MinimizeBitBtn, "Свернуть"},
                         Button{form.InfoBitBtn, "О программе"},
                         Button{form.LiveUpdateBitBtn, "Интернет-обновление"}}) {
    ASSERT_NE(b.button, nullptr);
    EXPECT_EQ(b.button->toolTip(), QString::fromUtf8(b.hint));
    EXPECT_TRUE(form.mask().contains(b.button->geometry())) << b.hint;
  }

  form.show();
  QTest::mouseClick(form.MinimizeBitBtn, Qt::LeftButton);
  EXPECT_TRUE(form.isMinimized());
  form.showNormal();
  QTest::mouseClick(form.ExitBitBtn, Qt::LeftButton);
  EXPECT_FALSE(form.isVisible());
}

// Drags with real events: press, two moves, release; the global positions are set, so the
// outcome does not depend on the cursor.
QPoint DragFrom(SkinnedForm& form, QWidget* target, QPoint local) {
  const QPoint start = form.pos();
  const QPoint global = target->mapToGlobal(local);
  // Every event goes to the widget under the press; Qt hands what it ignores to its parents.
  auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
    QMouseEvent event(type, QPointF(target->mapFromGlobal(at)), QPointF(at), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
  };
  send(QEvent::MouseButtonPress, global, Qt::LeftButton, Qt::LeftButton);
  send(QEvent::MouseMove, global + QPoint(10, 5), Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseMove, global + QPoint(37, 21), Qt::NoButton, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, global + QPoint(37, 21), Qt::LeftButton, Qt::NoButton);
  return form.pos() - start;
}

TEST(SkinnedForm, PressOnBareSkinDragsThePressOnAControlDoesNot) {
  SkinnedForm form;
  auto* answer = new QPushButton(QStringLiteral("BitBtn1"), &form);
  answer->setGeometry(ToQRect(skin::BitBtn1Panel));
  auto* panel = new QWidget(&form);
  panel->setGeometry(ToQRect(skin::TaskPanel));
  auto* phrase = new QLabel(QStringLiteral("TaskLabel"), panel);
  phrase->setGeometry(0, 0, skin::TaskPanel.width, skin::TaskPanel.height - 30);
  auto* inPanel = new QPushButton(QStringLiteral("button in a panel"), panel);
  inPanel->setGeometry(0, skin::TaskPanel.height - 30, 100, 30);
  auto* group = new QGroupBox(&form);
  group->setGeometry(ToQRect(skin::TLGroupBox));
  auto* inGroup = new QLabel(QStringLiteral("label in a group"), group);
  inGroup->setGeometry(20, 2, 100, 16);
  form.move(100, 80);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

  EXPECT_EQ(DragFrom(form, &form, {290, 400}), QPoint(37, 21)) << "bare skin";
  EXPECT_EQ(DragFrom(form, form.VersionLabel, {90, 24}), QPoint(37, 21)) << "title lying on the skin";
  EXPECT_EQ(DragFrom(form, answer, {30, 10}), QPoint(0, 0)) << "answer button";
  EXPECT_EQ(DragFrom(form, form.InfoBitBtn, {11, 10}), QPoint(0, 0)) << "caption button";
  // A panel and what lies on it are background to the learner; a control inside is not.
  EXPECT_EQ(DragFrom(form, phrase, {100, 50}), QPoint(37, 21)) << "label inside a panel";
  EXPECT_EQ(DragFrom(form, panel, {300, skin::TaskPanel.height - 10}), QPoint(37, 21)) << "bare panel";
  EXPECT_EQ(DragFrom(form, inPanel, {10, 10}), QPoint(0, 0)) << "button inside a panel";
  EXPECT_EQ(DragFrom(form, group, {150, 30}), QPoint(0, 0)) << "group of options";
  EXPECT_EQ(DragFrom(form, inGroup, {10, 8}), QPoint(0, 0)) << "label inside a group";
}

// --- Screenshots ----------------------------------------------------------------------------

// The window as the desktop would show it: the grab through the mask, over a checkerboard
// with a margin, so the outline and every key-coloured pixel show.
QImage OverCheckerboard(QWidget& form) {
  constexpr int kMargin = 16;
  const QImage shot = form.grab().toImage();
  QImage out(form.size() + QSize(2 * kMargin, 2 * kMargin), QImage::Format_RGB32);
  QPainter p(&out);
  for (int y = 0; y < out.height(); y += 12)
    for (int x = 0; x < out.width(); x += 12)
      p.fillRect(x, y, 12, 12, ((x + y) / 12) % 2 ? QColor(0xcc, 0xcc, 0xcc) : QColor(0xff, 0xff, 0xff));
  p.translate(kMargin, kMargin);
  p.setClipRegion(form.mask().isEmpty() ? QRegion(form.rect()) : form.mask());
  p.drawImage(0, 0, shot);
  return out;
}

void SaveShot(QWidget& form, const char* name) {
  const QString dir = QStringLiteral(ZV_SCREENS_DIR);
  ASSERT_TRUE(QDir().mkpath(dir));
  ASSERT_TRUE(OverCheckerboard(form).save(dir + QLatin1Char('/') + QLatin1String(name)));
}

// The first task of the built-in bank with that many interpretations (the bank is rewritten
// from time to time; the screenshots follow it).
int FirstTaskWithAnswers(int answers) {
  const TaskCatalogue catalogue(content::TaskText(), content::SayingsText());
  TaskRecord record;
  for (int index = 1; index <= 1500; ++index)
    if (catalogue.LoadTask(index, record) == answers) return index;
  return 1;
}

TEST(SkinnedForm, WritesScreenshots) {
  {
    SkinnedForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    SaveShot(form, "skin.png");
  }
  // The program's own main window on its screens, each over the checkerboard.
  {
    QTemporaryDir dir;
    test::TrainerRun run(dir.path());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(run.form.get()));
    SaveShot(*run.form, "skin-start.png");
  }
  for (const int answers : {3, 4, 5}) {
    const QString file = QStringLiteral("skin-exam%1.png").arg(answers);
    QTemporaryDir dir;
    test::TrainerRun run(dir.path(),
                         {QStringLiteral("zorvik"), QStringLiteral("fn%1").arg(FirstTaskWithAnswers(answers))});
    run.Click(run.form->BitBtns[4]);
    ASSERT_EQ(run.VisibleAnswers().size(), std::size_t(answers)) << file.toStdString();
    SaveShot(*run.form, qPrintable(file));
  }
  {
    QTemporaryDir dir;
    test::TrainerRun run(dir.path());
    TZVMainForm& f = *run.form;
    run.Click(f.TLCheckBox);
    run.Click(f.BitBtns[4]);
    ASSERT_EQ(f.TLGroupBox->parentWidget(), f.PreBottomPanel);
    SaveShot(f, "skin-timelimit.png");
    for (int task = 0; task < 5; ++task) run.Click(run.Answer(true));
    QTest::mouseClick(f.RepLabel, Qt::LeftButton);
    ASSERT_TRUE(f.RepCheckBox->isChecked());
    SaveShot(f, "skin-start-after-exam.png");
    run.Click(f.BitBtns[4]);
    ASSERT_TRUE(f.RepStatusLabel->isVisible());
    SaveShot(f, "skin-consolidation.png");
  }
}

}  // namespace
}  // namespace zv
