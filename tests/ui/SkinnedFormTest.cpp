#include "ui/SkinCaptionButton.h"
#include "ui/SkinImage.h"
#include "ui/SkinnedForm.h"
#include "ui/TTrackBar.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
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

  struct Button { SkinCaptionButton* button; const char* hint; };
  for (const Button b : {Button{form.ExitBitBtn, "Закрыть"}, Button{form.MinimizeBitBtn, "Свернуть"},
                         Button{form.InfoBitBtn, "О программе"}, Button{form.LiveUpdateBitBtn, "Интернет-обновление"}}) {
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
  phrase->setGeometry(0, 0, skin::TaskPanel.width, skin::TaskPanel.height);
  form.move(100, 80);
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));

  EXPECT_EQ(DragFrom(form, &form, {290, 400}), QPoint(37, 21)) << "bare skin";
  EXPECT_EQ(DragFrom(form, form.VersionLabel, {90, 24}), QPoint(37, 21)) << "title lying on the skin";
  EXPECT_EQ(DragFrom(form, answer, {30, 10}), QPoint(0, 0)) << "answer button";
  EXPECT_EQ(DragFrom(form, form.InfoBitBtn, {11, 10}), QPoint(0, 0)) << "caption button";
  EXPECT_EQ(DragFrom(form, phrase, {100, 50}), QPoint(0, 0)) << "label inside a panel";
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

// Stand-ins for the main window's controls at their layout places, coloured from the skin as
// the main window colours them; only for looking at the skin with something on it.
class Scene {
public:
  explicit Scene(SkinnedForm& form) : m_form(form) {}

  QWidget* Panel(const SkinRect& r, SkinSample rule, QWidget* parent = nullptr, QPoint at = {-1, -1}) {
    auto* w = new QWidget(parent ? parent : &m_form);
    w->setGeometry(at.x() >= 0 ? QRect(at, QSize(r.width, r.height)) : ToQRect(r));
    m_form.ColorFromSkin(w, rule);
    w->show();
    return w;
  }
  QGroupBox* Group(const SkinRect& r, const QString& title, QWidget* parent = nullptr, QPoint at = {-1, -1}) {
    auto* g = new QGroupBox(title, parent ? parent : &m_form);
    g->setGeometry(at.x() >= 0 ? QRect(at, QSize(r.width, r.height)) : ToQRect(r));
    m_form.ColorFromSkin(g, SkinSample::TopLeft);
    g->show();
    return g;
  }
  QLabel* Label(QWidget* parent, const char* text, QRect r, Qt::Alignment align, bool bold = false,
                QColor colour = QColor(0, 0, 0x80), int px = 12) {
    auto* l = new QLabel(QString::fromUtf8(text), parent);
    l->setGeometry(r);
    l->setAlignment(align);
    l->setWordWrap(true);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(px);
    f.setBold(bold);
    l->setFont(f);
    QPalette pal = l->palette();
    pal.setColor(QPalette::WindowText, colour);
    l->setPalette(pal);
    l->show();
    return l;
  }
  QPushButton* Button(QWidget* parent, const char* text, QRect r) {
    auto* b = new QPushButton(QString::fromUtf8(text), parent);
    b->setGeometry(r);
    b->show();
    return b;
  }
  QComboBox* Combo(QWidget* parent, const char* text, QRect r) {
    auto* c = new QComboBox(parent);
    c->addItem(QString::fromUtf8(text));
    c->setGeometry(r);
    c->show();
    return c;
  }
  void Volume(QWidget* sound) {
    Label(sound, "Звуковые комментарии", QRect(8, 3, 175, 15), Qt::AlignLeft, true);
    auto* volume = new TTrackBar(sound);
    volume->setGeometry(6, 17, 179, 26);
    volume->RefreshTicks();
    volume->show();
  }

private:
  SkinnedForm& m_form;
};

void SaveShot(SkinnedForm& form, const char* name) {
  const QString dir = QStringLiteral(ZV_SCREENS_DIR);
  ASSERT_TRUE(QDir().mkpath(dir));
  ASSERT_TRUE(OverCheckerboard(form).save(dir + QLatin1Char('/') + QLatin1String(name)));
}

TEST(SkinnedForm, WritesScreenshots) {
  {
    SkinnedForm form;
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    SaveShot(form, "skin.png");
  }
  {  // The start screen.
    SkinnedForm form;
    Scene scene(form);
    QWidget* status = scene.Panel(skin::StatusPanel, SkinSample::TopLeft);
    scene.Label(status, "Суть тренажёра-экзаменатора:", QRect(4, 0, 320, 20), Qt::AlignVCenter);
    scene.Panel(skin::DirStatusPanel, SkinSample::TopLeft);
    QWidget* task = scene.Panel(skin::TaskPanel, SkinSample::BelowLeft);
    scene.Label(task,
                "Испытайте себя в понимании русского языка.\nОценка выставляется после выполнения всех заданий",
                QRect(10, 8, 520, 90), Qt::AlignCenter, true, QColor(0x80, 0, 0x80), 17);
    scene.Panel(skin::SpeakerPanel, SkinSample::BelowRight);
    scene.Label(&form, "Ваш выбор:", ToQRect(skin::KeyGuideLabel), Qt::AlignCenter);
    QGroupBox* gen = scene.Group(skin::GenGroupBox, QString());
    scene.Label(gen, "Количество\nзаданий в экзамене", QRect(8, 8, 116, 36), Qt::AlignVCenter | Qt::AlignLeft);
    scene.Combo(gen, "10", QRect(122, 15, 40, 22));
    QGroupBox* dir = scene.Group(skin::DirGroupBox, QString());
    scene.Label(dir, "Представление заданий", QRect(8, 5, 142, 16), Qt::AlignLeft);
    scene.Combo(dir, "текст и звук", QRect(8, 23, 139, 22));
    scene.Volume(scene.Group(skin::SoundGroupBox, QString()));
    QGroupBox* tl = scene.Group(skin::TLGroupBox, QString());
    scene.Label(tl, "Ограничение времени", QRect(24, 3, 170, 16), Qt::AlignLeft, true);
    scene.Combo(tl, "15 с", QRect(8, 20, 60, 22));
    scene.Label(tl, "Звук \"тик-так\"", QRect(96, 23, 100, 16), Qt::AlignLeft);
    QGroupBox* rep = scene.Group(skin::RepGroupBox, QString());
    scene.Label(rep, "Закрепление пройденного", QRect(24, 15, 130, 16), Qt::AlignLeft);
    scene.Label(rep, "Пройдено заданий: 1234;\nиз них успешно повторено: 567", QRect(156, 6, 160, 34),
                Qt::AlignVCenter | Qt::AlignLeft, false, QColor(0x80, 0x80, 0x80), 11);
    QWidget* row5 = scene.Panel(skin::BitBtn5Panel, SkinSample::BelowLeft);
    scene.Button(row5, "Приступить к испытаниям", QRect(0, 0, row5->width(), row5->height()));
    QWidget* bottom = scene.Panel(skin::BottomPanel, SkinSample::TopHalf);
    scene.Button(bottom, "Просмотр протокола", QRect(8, 4, 200, 28));
    scene.Button(bottom, "Отказываюсь от испытаний", QRect(bottom->width() - 8 - 200, 4, 200, 28));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    SaveShot(form, "skin-start.png");
  }
  {  // An exam with the time limit and the sound group in PreBottomPanel.
    SkinnedForm form;
    Scene scene(form);
    QWidget* status = scene.Panel(skin::StatusPanel, SkinSample::TopLeft);
    scene.Label(status, "3/10 экзамена. Верных ответов: 2", QRect(4, 0, 320, 20), Qt::AlignVCenter);
    QWidget* dirStatus = scene.Panel(skin::DirStatusPanel, SkinSample::TopLeft);
    scene.Label(dirStatus, "Представление заданий: текст и звук", QRect(0, 0, 204, 20),
                Qt::AlignVCenter | Qt::AlignRight, false, QColor(0, 0, 0x80), 11);
    QWidget* task = scene.Panel(skin::TaskPanel, SkinSample::BelowLeft);
    scene.Label(task, "сколько лет, сколько зим!", QRect(10, 10, 520, 86), Qt::AlignCenter, true,
                QColor(0x80, 0, 0x80), 22);
    QWidget* speaker = scene.Panel(skin::SpeakerPanel, SkinSample::BelowRight);
    scene.Button(speaker, "Ещё раз", QRect(10, 4, 80, 26));
    scene.Label(&form, "Нажмите кнопку с правильным толкованием фразы", ToQRect(skin::KeyGuideLabel), Qt::AlignCenter);
    const char* answers[] = {"приветствие после долгой разлуки", "вопрос о том, сколько собеседнику лет",
                             "жалоба на долгую и холодную зиму", "вопрос, давно ли собеседник приехал",
                             "удивление тем, как изменился климат"};
    for (int i = 0; i < 5; ++i) {
      QWidget* row = scene.Panel(skin::AnswerRow(i), SkinSample::BelowLeft);
      scene.Button(row, answers[i], QRect(0, 0, row->width(), row->height()));
    }
    QWidget* pre = scene.Panel(skin::PreBottomPanel, SkinSample::TopQuarter);
    QGroupBox* tl = scene.Group(skin::TLGroupBox, QString(), pre, QPoint(8, 4));
    scene.Label(tl, "    Осталось времени: ", QRect(8, 3, 180, 16), Qt::AlignLeft, true);
    scene.Combo(tl, "12 с", QRect(8, 20, 60, 22));
    scene.Label(tl, "Звук \"тик-так\"", QRect(96, 23, 100, 16), Qt::AlignLeft);
    scene.Volume(scene.Group(skin::SoundGroupBox, QString(), pre,
                             QPoint(skin::PreBottomPanel.width - 8 - skin::SoundGroupBox.width, 8)));
    QWidget* bottom = scene.Panel(skin::BottomPanel, SkinSample::BelowQuarter);
    scene.Button(bottom, "в а т и т !", QRect((bottom->width() - 200 + 8) / 2, 4, 200, 28));
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    SaveShot(form, "skin-exam.png");
  }
}

}  // namespace
}  // namespace zv
