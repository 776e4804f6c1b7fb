// The main window's share of start-up, after the real StartUp: the progress captions in their
// order, one step per block of skin rows and per loading stage, and the progress and splash
// windows freed (progress first) before the start screen is shown.

#include "shell/ShellFixture.h"
#include "shell/StartUp.h"
#include "sound/PackageSoundService.h"
#include "sound/SoundService.h"
#include "support/FakeSoundEngine.h"
#include "support/PackageFixture.h"
#include "support/SocketFolder.h"
#include "support/TestApplication.h"
#include "tasks/BuiltinContent.h"
#include "ui/TBitBtn.h"
#include "ui/TZVMainForm.h"

#include <gtest/gtest.h>

#include "support/RowName.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QTemporaryDir>

#include <ostream>
#include <string>
#include <vector>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

ZV_TEST_APPLICATION(QApplication);

const QString kChecking = u"Проверка наличия необходимых компонентов:"_s;
const QString kTasks = u"Загрузка заданий:"_s;
const QString kSounds = u"Загрузка звуков:"_s;

// Records what the progress display shows from the moment start-up shows it: its caption,
// then every step with the caption it was made under; and the freeing of both windows with
// the caption of the start button at that moment (empty until the start screen is shown).
class StartUpRecorder : public QObject {
 public:
  StartUpRecorder() { qApp->installEventFilter(this); }
  ~StartUpRecorder() override { qApp->removeEventFilter(this); }

  std::vector<QString> Log;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::Show) return false;
    if (auto* progress = qobject_cast<TProgressForm*>(watched); progress && progress != m_progress) {
      m_progress = progress;
      Log.push_back(u"shown: "_s + progress->CaptionLabel->text());
      connect(progress->ProgressBar, &QProgressBar::valueChanged, this, [this, progress](int value) {
        Log.push_back(QString::number(value) + u' ' + progress->CaptionLabel->text());
      });
      connect(progress, &QObject::destroyed, this, [this] { Log.push_back(u"progress freed"_s + StartButton()); });
    }
    if (auto* splash = qobject_cast<TStartImageForm*>(watched); splash && splash != m_splash) {
      m_splash = splash;
      connect(splash, &QObject::destroyed, this, [this] { Log.push_back(u"splash freed"_s + StartButton()); });
    }
    return false;
  }

 private:
  static QString StartButton() {
    for (QWidget* w : QApplication::allWidgets())
      if (w->objectName() == u"BitBtn5"_s) {
        const QString text = static_cast<TBitBtn*>(w)->text();
        return text.isEmpty() ? QString() : u" after the start screen: "_s + text;
      }
    return u" before the main window"_s;
  }
  QPointer<TProgressForm> m_progress;
  QPointer<TStartImageForm> m_splash;
};

struct StartUpRow {
  const char* name;
  bool sayingsStored;  // HeartP in the hive: the "Загрузка заданий:" caption and one step more
  std::vector<QString> log;
  bool packages = false;  // all 26 sound packages and an engine that starts
};
void PrintTo(const StartUpRow& row, std::ostream* os) { *os << row.name; }

class MainFormStartUp : public ::testing::TestWithParam<StartUpRow> {};

TEST_P(MainFormStartUp, CaptionsStepsAndWindowsFreedBeforeTheStartScreen) {
  const StartUpRow& row = GetParam();
  test::SocketFolder dir;
  ASSERT_TRUE(dir.isValid());
  if (row.sayingsStored)
    test::WithSettingsKey(dir, [](Registry& r) {
      const char state[4] = {2, 0, 0, 0};
      r.WriteBinaryData(u"HeartP"_s, state, 4);
    });

  StartUpRecorder recorder;
  SystemInfo info = test::StartTestSystem(dir, u"ru_RU.UTF-8"_s);
  StartUpOptions options;
  options.SayingsText = content::SayingsText();
  options.Instance = InstancePaths::InFolder(dir.path());
  StartUpResult start = StartUp(info, options);
  ASSERT_TRUE(start.Proceed);
  ASSERT_EQ(start.Windows.Progress->ProgressBar->maximum(), 35);

  TrainerContext context{info, start.State, start.Windows, start.ServerName};
  NoSoundService noSound;
  test::PackageFolder folder;
  folder.WriteAll();
  test::FakeSoundEngine engine;
  PackageSoundService packaged(engine, *info.Random, {folder.Path()});
  SoundService& sound = row.packages ? static_cast<SoundService&>(packaged) : noSound;
  TZVMainForm form(context, sound);
  EXPECT_FALSE(start.Windows.Progress || start.Windows.Splash) << "left for the caller to free";
  EXPECT_EQ(form.BitBtns[4]->Tag, kStartTag) << "no start screen";

  std::string got;
  for (const QString& line : recorder.Log) got += line.toStdString() + '\n';
  std::string want;
  for (const QString& line : row.log) want += line.toStdString() + '\n';
  EXPECT_EQ(got, want);
}

// Steps: the start-up selectors (2, or 3 with HeartP), the skin's 468 rows (3), "Загрузка
// звуков:" (1), then one per sound package present (26) and one after the comment states, and
// the last step (1): 35 of 35 with everything there.
std::vector<QString> Steps(int from, int to, const QString& caption) {
  std::vector<QString> lines;
  for (int v = from; v <= to; ++v) lines.push_back(QString::number(v) + u' ' + caption);
  return lines;
}

std::vector<QString> Join(std::initializer_list<std::vector<QString>> parts) {
  std::vector<QString> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

INSTANTIATE_TEST_SUITE_P(Rows, MainFormStartUp,
                         ::testing::Values(StartUpRow{"FirstRunKeepsTheCheckingCaptionUntilSounds",
                                                      false,
                                                      Join({{u"shown: "_s + kChecking},
                                                            Steps(1, 5, kChecking),
                                                            Steps(6, 7, kSounds),
                                                            {u"progress freed"_s, u"splash freed"_s}})},
                                           StartUpRow{"StoredSayingsShowTheTasksCaption",
                                                      true,
                                                      Join({{u"shown: "_s + kChecking},
                                                            Steps(1, 6, kTasks),
                                                            Steps(7, 8, kSounds),
                                                            {u"progress freed"_s, u"splash freed"_s}})},
                                           StartUpRow{"AllSoundPackagesFillTheBar",
                                                      true,
                                                      Join({{u"shown: "_s + kChecking},
                                                            Steps(1, 6, kTasks),
                                                            Steps(7, 35, kSounds),
                                                            {u"progress freed"_s, u"splash freed"_s}}),
                                                      true}),
                         zv::test::RowName{});

}  // namespace
}  // namespace zv
