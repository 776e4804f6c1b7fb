// The start-up windows, headless, and the start-up sequence that shows them.

#include "platform/MessageBox.h"
#include "shell/BringForward.h"
#include "shell/StartUp.h"
#include "shell/TProgressForm.h"
#include "shell/TStartImageForm.h"
#include "shell/TWarningForm.h"

#include "ShellFixture.h"
#include "support/ScriptedRandom.h"
#include "support/SocketFolder.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

int g_argc = 1;
char g_arg0[] = "shell_windows";
char* g_argv[] = {g_arg0, nullptr};

class Application : public ::testing::Environment {
 public:
  void SetUp() override { m_app = new QApplication(g_argc, g_argv); }
  void TearDown() override { delete m_app; }

 private:
  QApplication* m_app = nullptr;
};
[[maybe_unused]] const auto* const g_environment = ::testing::AddGlobalTestEnvironment(new Application);

void screenshot(QWidget& widget, const char* name) {
  QDir().mkpath(QString::fromUtf8(ZV_SCREENS_DIR));
  widget.grab().save(QString::fromUtf8(ZV_SCREENS_DIR) + u'/' + QString::fromLatin1(name) + u".png"_s);
}

// Runs `body` once the modal window is up (its exec loop is running).
template <typename Body>
void whenShown(QWidget& window, Body body) {
  QTimer::singleShot(10, &window, [&window, body] {
    if (window.isVisible())
      body();
    else
      whenShown(window, body);
  });
}

QColor textColour(const QWidget* w) { return w->palette().color(QPalette::WindowText); }

bool centredOnScreen(const QWidget& w) {
  const QRect screen = w.screen()->geometry();
  const QRect frame = w.frameGeometry();
  return std::abs(frame.center().x() - screen.center().x()) <= 1 &&
         std::abs(frame.center().y() - screen.center().y()) <= 1;
}

enum class Close { Yes, No, Escape };

struct WarningRow {
  const char* name;
  Close close;
  bool tick;
};

class WarningWindow : public ::testing::TestWithParam<WarningRow> {};

TEST_P(WarningWindow, LanguageCheckLayoutAndAnswer) {
  const WarningRow row = GetParam();
  TWarningForm form;
  const QString text = LanguageWarningText({u"American English"_s, u"English"_s});
  bool checked = false;
  whenShown(form, [&] {
    checked = true;
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.windowTitle(), u"Зорвик"_s);
    EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(form.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_EQ(form.size(), QSize(532, 270));
    EXPECT_EQ(form.BottomPanel->geometry(), QRect(0, 168, 532, 102));
    EXPECT_FALSE(form.Option1CheckBox->isVisible());
    EXPECT_FALSE(form.OKBitBtn->isVisible());
    EXPECT_EQ(form.YesBitBtn->text(), u"Да"_s);
    EXPECT_EQ(form.NoBitBtn->text(), u"Нет"_s);
    EXPECT_EQ(form.NoMoreCheckBox->text(), u"Больше не показывать это окно"_s);
    const int width = form.fontMetrics().horizontalAdvance(form.NoMoreCheckBox->text()) + 24;
    EXPECT_EQ(form.NoMoreCheckBox->width(), width);
    EXPECT_LE(std::abs(form.NoMoreCheckBox->geometry().center().x() - 266), 1);
    EXPECT_EQ(textColour(form.SignLLabel), QColor(0, 0, 255));
    EXPECT_EQ(form.SignRLabel->geometry().right(), 531);
    EXPECT_EQ(form.SignLLabel->font().pixelSize(), 171);
    EXPECT_EQ(form.TextLabel->text().count(u'\r'), 0) << "carriage returns shown as glyphs";
    EXPECT_TRUE(form.TextLabel->text().contains(u"\n\n"_s));
    EXPECT_TRUE(centredOnScreen(form));
    // The text must fit above the panel without being cut.
    const QRect needed = form.TextLabel->fontMetrics().boundingRect(
        form.TextLabel->contentsRect(), Qt::AlignCenter | Qt::TextWordWrap, form.TextLabel->text());
    EXPECT_LE(needed.height(), form.TextLabel->height());
    if (row.close == Close::Yes && row.tick) screenshot(form, "warning_language");

    form.NoMoreCheckBox->setChecked(row.tick);
    switch (row.close) {
      case Close::Yes:
        form.YesBitBtn->click();
        break;
      case Close::No:
        form.NoBitBtn->click();
        break;
      case Close::Escape:
        QTest::keyClick(&form, Qt::Key_Escape);
        break;
    }
  });
  const LanguageWarningAnswer answer = AskLanguageWarning(form, u"Зорвик"_s, text);
  ASSERT_TRUE(checked);
  EXPECT_EQ(answer.Yes, row.close == Close::Yes);
  EXPECT_EQ(answer.NoMore, row.tick);
}

INSTANTIATE_TEST_SUITE_P(Rows, WarningWindow,
                         ::testing::Values(WarningRow{"YesTicked", Close::Yes, true},
                                           WarningRow{"NoUnticked", Close::No, false},
                                           WarningRow{"EscapeIsNoTickKept", Close::Escape, true}),
                         zv::test::RowName{});

TEST(SplashWindow, LettersFontColoursAndPlace) {
  const QStringList families = TStartImageForm::CandidateFamilies();
  ASSERT_FALSE(families.isEmpty());
  const int pick = int(families.size()) - 1;
  test::ScriptedRandom random{pick, 10, 20, 127, 0, 64, 100};
  TStartImageForm splash(random);
  splash.show();

  EXPECT_EQ(splash.font().family(), families.at(pick));
  EXPECT_EQ(splash.font().pixelSize(), 341);
  EXPECT_TRUE(splash.font().bold());
  for (const QLabel* label : {splash.Label1, splash.ShLabel1, splash.Label2, splash.ShLabel2}) {
    EXPECT_EQ(label->text(), u"Z "_s);
    EXPECT_EQ(label->font().family(), families.at(pick)) << "a label does not follow the form";
  }
  EXPECT_EQ(textColour(splash.Label1), QColor(138, 148, 255));
  EXPECT_EQ(textColour(splash.Label2), QColor(128, 192, 228));
  EXPECT_EQ(textColour(splash.ShLabel1), QColor(0x80, 0x80, 0x80));
  EXPECT_EQ(splash.Label1->pos(), QPoint(0, 0));
  EXPECT_EQ(splash.ShLabel1->pos(), QPoint(8, 8));
  EXPECT_EQ(splash.Label2->pos(), QPoint(splash.Label1->width() / 4, 8));
  EXPECT_EQ(splash.ShLabel2->pos(), QPoint(splash.Label2->x() + 8, 12));
  EXPECT_TRUE(splash.rect().contains(splash.ShLabel2->geometry())) << "not auto-sized";
  EXPECT_TRUE(splash.testAttribute(Qt::WA_TranslucentBackground));
  EXPECT_TRUE(splash.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(splash.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_TRUE(centredOnScreen(splash));
  EXPECT_TRUE(random.Exhausted());
  const QImage image = splash.grab().toImage();
  EXPECT_EQ(qAlpha(image.pixel(image.width() - 1, 0)), 0) << "background not transparent";
  EXPECT_FALSE(splash.mask().contains(QPoint(splash.width() - 1, 0))) << "shape not cut";
  EXPECT_FALSE(splash.mask().isEmpty()) << "the letters were cut away";
  screenshot(splash, "splash");
}

TEST(ProgressWindow, StepsCancelFlagAndLook) {
  TProgressForm first;
  first.CancelBitBtn->show();
  first.CancelBitBtn->click();
  EXPECT_TRUE(TProgressForm::CancelRequested());
  TProgressForm progress;  // a new window starts without a cancel request
  EXPECT_FALSE(TProgressForm::CancelRequested());

  EXPECT_TRUE(progress.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_FALSE(progress.CancelBitBtn->isVisibleTo(&progress));
  EXPECT_EQ(progress.palette().color(QPalette::Window), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_EQ(progress.CaptionLabel->font().pixelSize(), 12);
  progress.SetAlphaBlend(true);
  EXPECT_NEAR(progress.windowOpacity(), 224 / 255.0, 0.01);
  progress.ProgressBar->setMaximum(3);
  for (int expected : {1, 2, 3, 0}) {
    progress.Step();
    EXPECT_EQ(progress.ProgressBar->value(), expected);
  }
}

TEST(BringForwardTest, RestoresMinimisedAndRaisesVisible) {
  QWidget window;
  window.showMinimized();
  ASSERT_TRUE(window.isMinimized());
  BringForward(window);
  EXPECT_FALSE(window.isMinimized());
  EXPECT_TRUE(window.isVisible());
  window.hide();
  BringForward(window);
  EXPECT_TRUE(window.isVisible());
}

// The whole start-up on a registry of its own.
class StartUpSequence : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(m_dir.isValid()); }
  StartUpOptions options(const LanguageWarningAnswer& answer) {
    StartUpOptions o;
    o.SayingsText = m_sayings;
    o.Instance = InstancePaths::InFolder(m_dir.path());
    o.AskLanguage = [this, answer](const QString&, const QString&) {
      ++m_asked;
      return answer;
    };
    o.OpenRegional = [this] {
      ++m_regional;
      return m_panelOpens;
    };
    o.Now = [] { return 45352.75; };
    return o;
  }
  test::SocketFolder m_dir;
  QByteArray m_sayings = QByteArrayLiteral("^one^two^three^");
  int m_asked = 0;
  int m_regional = 0;
  bool m_panelOpens = true;  // whether a regional-settings panel could be opened
};

TEST_F(StartUpSequence, FirstRunShowsSplashAndProgressAndRestoresSelectors) {
  SystemInfo info = test::StartTestSystem(m_dir, u"en_US.UTF-8"_s);
  info.ShortName.clear();
  StartUpResult start = StartUp(info, options({false, true}));

  ASSERT_TRUE(start.Proceed);
  EXPECT_EQ(m_asked, 1);
  EXPECT_EQ(m_regional, 0);
  EXPECT_EQ(info.ShortName, u"Zorvik"_s) << "names not fixed before the settings key is used";
  EXPECT_TRUE(info.IsXPOrNewer) << "ShortOSName not called";
  EXPECT_EQ(start.State.Statistics.FirstDate, 45352.75);
  EXPECT_EQ(start.State.Statistics.RCount, 0);
  ASSERT_TRUE(start.State.Sayings && start.State.Remarks && start.State.Tasks);
  EXPECT_EQ(start.State.Sayings->Count, 3);
  EXPECT_EQ(start.ServerName, InstancePaths::InFolder(m_dir.path()).ServerName);
  EXPECT_EQ(start.Lock->CurrentState(), SingleInstanceLock::State::Owned);

  ASSERT_TRUE(start.Windows.Splash && start.Windows.Progress);
  TProgressForm& progress = *start.Windows.Progress;
  EXPECT_TRUE(start.Windows.Splash->isVisible());
  EXPECT_TRUE(progress.isVisible());
  EXPECT_TRUE(progress.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_NEAR(progress.windowOpacity(), 224 / 255.0, 0.01);
  EXPECT_EQ(progress.ProgressBar->maximum(), 35);
  EXPECT_EQ(progress.ProgressBar->value(), 2) << "first run: one step fewer";
  EXPECT_EQ(progress.CaptionLabel->text(), u"Проверка наличия необходимых компонентов:"_s);
  EXPECT_TRUE(centredOnScreen(progress));
  screenshot(progress, "progress_startup");

  bool ticked = false;
  test::WithSettingsKey(m_dir, [&](Registry& r) { ticked = r.ReadBool(u"NoLangDialog"_s); });
  EXPECT_TRUE(ticked);
  start.Windows.Free();
}

TEST_F(StartUpSequence, StoredSayingsShowTheLoadingCaption) {
  test::WithSettingsKey(m_dir, [](Registry& r) {
    const char state[4] = {2, 0, 0, 0};
    r.WriteBinaryData(u"HeartP"_s, state, 4);
  });
  SystemInfo info = test::StartTestSystem(m_dir, u"ru_RU.UTF-8"_s);
  StartUpResult start = StartUp(info, options({false, false}));
  ASSERT_TRUE(start.Proceed);
  EXPECT_EQ(m_asked, 0) << "a Cyrillic locale is warned";
  EXPECT_EQ(start.Windows.Progress->CaptionLabel->text(), u"Загрузка заданий:"_s);
  EXPECT_EQ(start.Windows.Progress->ProgressBar->value(), 3);
  EXPECT_TRUE(start.State.Sayings->IsUsed(2));
}

struct LocaleRow {
  const char* name;
  const char* lang;
  bool warned;
};

class StartUpLocale : public StartUpSequence, public ::testing::WithParamInterface<LocaleRow> {};

TEST_P(StartUpLocale, OnlyNonCyrillicLocalesAreWarned) {
  SystemInfo info = test::StartTestSystem(m_dir, QString::fromLatin1(GetParam().lang));
  StartUpResult start = StartUp(info, options({false, false}));
  EXPECT_TRUE(start.Proceed);
  EXPECT_EQ(m_asked, GetParam().warned ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Rows, StartUpLocale,
                         ::testing::Values(LocaleRow{"Ukrainian", "uk_UA.UTF-8", false},
                                           LocaleRow{"Bulgarian", "bg_BG.UTF-8", false},
                                           LocaleRow{"RussianMoldova", "ru_MD.UTF-8", false},
                                           LocaleRow{"German", "de_DE.UTF-8", true}, LocaleRow{"Posix", "C", true}),
                         zv::test::RowName{});

TEST_F(StartUpSequence, YesOpensRegionalSettingsAndEnds) {
  MessageBoxHook boxes;
  SystemInfo info = test::StartTestSystem(m_dir, u"de_DE.UTF-8"_s);
  StartUpResult start = StartUp(info, options({true, false}));
  EXPECT_FALSE(start.Proceed);
  EXPECT_EQ(m_regional, 1);
  EXPECT_FALSE(start.Windows.Splash || start.Windows.Progress) << "windows shown after 'yes'";
  EXPECT_TRUE(boxes.shown().empty());
}

// No panel to open (neither desktop's region settings installed): the learner is told once,
// and the program starts instead of ending with nothing on the screen.
TEST_F(StartUpSequence, YesWithoutAPanelSaysSoOnceAndStarts) {
  m_panelOpens = false;
  MessageBoxHook boxes;
  SystemInfo info = test::StartTestSystem(m_dir, u"de_DE.UTF-8"_s);
  StartUpResult start = StartUp(info, options({true, true}));
  EXPECT_TRUE(start.Proceed) << "ended with nothing shown";
  EXPECT_EQ(m_regional, 1);
  ASSERT_EQ(boxes.shown().size(), 1u);
  const MessageRequest& box = boxes.shown().front();
  EXPECT_EQ(box.caption, u"Зорвик"_s);
  EXPECT_TRUE(box.text.startsWith(u"Не удалось открыть региональные настройки"_s)) << box.text.toStdString();
  EXPECT_EQ(box.buttons, MsgButtons::Ok);
  EXPECT_TRUE(box.russian);
  ASSERT_TRUE(start.Windows.Splash && start.Windows.Progress) << "start-up did not go on";
  EXPECT_TRUE(start.Windows.Progress->isVisible());
  EXPECT_EQ(start.State.Tasks ? start.State.Tasks->Count : 0, 1500);
  bool ticked = false;
  test::WithSettingsKey(m_dir, [&](Registry& r) { ticked = r.ReadBool(u"NoLangDialog"_s); });
  EXPECT_TRUE(ticked) << "the ticked box is kept whatever happens after";
  start.Windows.Free();
}

TEST_F(StartUpSequence, SecondCopyHandsOverWithoutAnyWindow) {
  const InstancePaths paths = InstancePaths::InFolder(m_dir.path());
  const SingleInstanceLock firstLock(paths.LockFile);  // another descriptor: another copy
  ASSERT_EQ(firstLock.CurrentState(), SingleInstanceLock::State::Owned);
  InstanceMessageServer firstWindow;
  ASSERT_TRUE(firstWindow.Listen(paths.ServerName));
  int forward = 0;
  QObject::connect(&firstWindow, &InstanceMessageServer::bringForwardRequested, [&] { ++forward; });

  SystemInfo info = test::StartTestSystem(m_dir, u"de_DE.UTF-8"_s);
  StartUpResult start = StartUp(info, options({false, false}));
  EXPECT_FALSE(start.Proceed);
  EXPECT_EQ(m_asked, 0);
  EXPECT_FALSE(start.Windows.Splash || start.Windows.Progress);
  for (int i = 0; i < 100 && forward == 0; ++i) QTest::qWait(10);
  EXPECT_EQ(forward, 1);
}

TEST_F(StartUpSequence, FirstCopyWithoutWindowYetLetsTheSecondStart) {
  const SingleInstanceLock firstLock(InstancePaths::InFolder(m_dir.path()).LockFile);
  SystemInfo info = test::StartTestSystem(m_dir, u"ru_RU.UTF-8"_s);
  StartUpResult start = StartUp(info, options({false, false}));
  EXPECT_TRUE(start.Proceed);
}

}  // namespace
}  // namespace zv
