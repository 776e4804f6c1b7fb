// The task list window: opening with its settings, the search controls, the two tricks with
// the progress, the main window's list button; screenshots of each look.

#include "exam/ProgressTricks.h"
#include "exam/TaskList.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "shell/TProgressForm.h"
#include "support/MainFormRun.h"
#include "support/TestApplication.h"
#include "tasks/BuiltinContent.h"
#include "tasks/TSmartRand.h"
#include "tasks/TaskCatalogue.h"
#include "ui/MessageBoxPresenter.h"
#include "ui/ProgramLook.h"
#include "ui/SkinCaptionButton.h"
#include "ui/TAidForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTextEdit>
#include <QTimer>

namespace zv {
namespace {

ZV_TEST_APPLICATION(QApplication);

const QString kKey = ProgramKeyPath();

class ListWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    main.setGeometry(100, 80, 800, 600);
    main.show();
    desktop = dir.path() + QStringLiteral("/Desktop/");
    QDir().mkpath(desktop);
  }

  TaskListContext Context() {
    return TaskListContext{catalogue,
                           content::DisplayOrder(),
                           tasks,
                           remarks,
                           statistics,
                           mark,
                           false,
                           1500,
                           QStringLiteral("Зорвик"),
                           kKey,
                           &registry,
                           desktop,
                           [this] {
                             return std::vector<SelectorState>{{QStringLiteral("Heart"), tasks.UsedBytes()},
                                                               {QStringLiteral("DoneHeart"), tasks.DoneBytes()},
                                                               {QStringLiteral("HeartP"), sayings.UsedBytes()},
                                                               {QStringLiteral("HeartRC"), remarks.UsedBytes()}};
                           },
                           [this] { ++forgotten; },
                           {},
                           {}};
  }
  void Pass(std::initializer_list<int> items) {
    for (int t : items) tasks.MarkUsed(t);
  }
  template <typename F>
  void Stored(F write) {
    registry.SetRootKey(RootKey::CurrentUser);
    registry.OpenKey(kKey, true);
    write(registry);
    registry.CloseKey();
  }
  void Shot(QWidget& w, const char* name) {
    QDir().mkpath(QStringLiteral(ZV_SCREENS_DIR));
    EXPECT_TRUE(w.grab().save(QStringLiteral(ZV_SCREENS_DIR "/") + QLatin1String(name) + QStringLiteral(".png")));
  }
  void Search(TAidForm& form, const QString& key, bool whole = false) {
    form.WholeCheckBox->setChecked(whole);
    form.KeyEdit->setText(key);
    form.FilterBitBtnClick();
  }

  QWidget main;
  QTemporaryDir dir;
  QString desktop;
  Registry registry{RegistryPaths::inOneFolder(dir.path() + QStringLiteral("/registry"))};
  ClockSeededRandom random{7};
  TSmartRand tasks{1500, true, 50, random};
  TSmartRand remarks{18, false, 5, random};
  TSmartRand sayings{170, false, 0, random};
  TaskCatalogue catalogue{content::TaskText(), content::SayingsText()};
  ExamStatistics statistics{7, 46000.25};
  int mark = 0;
  int forgotten = 0;
};

TEST_F(ListWindow, OpensInTheStoredFontAndSizeAndStoresThemOnClosing) {
  Stored([](Registry& r) {
    r.WriteString(QStringLiteral("LogFont"), QStringLiteral("Typeface Since Removed"));
    r.WriteInteger(QStringLiteral("LogFontSize"), 40);  // clamped to 12
    r.WriteInteger(QStringLiteral("LogWidth"), 700);
    r.WriteInteger(QStringLiteral("LogHeight"), 120);  // raised to 200
  });
  TAidForm form(&main);
  ASSERT_TRUE(form.OpenList(Context()));
  EXPECT_EQ(form.FontLabel->text(), QStringLiteral("Arial"));
  EXPECT_EQ(form.FontUpDown->value(), 12);
  EXPECT_EQ(form.AidRichEdit->document()->defaultFont().pointSize(), 12);
  EXPECT_EQ(form.size(), QSize(700, 200));
  EXPECT_TRUE(form.TricksLabel->isVisible());
  EXPECT_FALSE(form.FilterBitBtn->isVisible());
  EXPECT_EQ(form.AidRichEdit->toPlainText().count(QLatin1Char('\n')), form.FullList().Paragraphs().size() - 1);

  form.FontUpDown->setValue(9);
  EXPECT_EQ(form.AidRichEdit->document()->defaultFont().pointSize(), 9);
  form.resize(640, 333);
  form.reject();
  EXPECT_FALSE(form.InListView());
  EXPECT_TRUE(form.AidRichEdit->toPlainText().isEmpty()) << "closing clears the text";
  registry.SetRootKey(RootKey::CurrentUser);
  registry.OpenKey(kKey, false);
  EXPECT_EQ(registry.ReadString(QStringLiteral("LogFont")), QStringLiteral("Arial"));
  EXPECT_EQ(registry.ReadInteger(QStringLiteral("LogFontSize")), 9);
  EXPECT_EQ(registry.ReadInteger(QStringLiteral("LogWidth")), 640);
  EXPECT_EQ(registry.ReadInteger(QStringLiteral("LogHeight")), 333);
  registry.CloseKey();
}

TEST_F(ListWindow, CancelledBuildingShowsNothing) {
  TAidForm form(&main);
  TaskListContext c = Context();
  int steps = 0;
  c.step = [&] { return ++steps < 5; };
  bool built = false;
  c.built = [&] { built = true; };
  EXPECT_FALSE(form.ShowList(c));
  EXPECT_TRUE(built) << "the progress window goes";
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(form.InListView());
  EXPECT_TRUE(form.AidRichEdit->toPlainText().isEmpty());
}

TEST_F(ListWindow, SearchControlsFollowTheKeyAndListRestores) {
  TAidForm form(&main);
  ASSERT_TRUE(form.OpenList(Context()));
  const QString full = form.AidRichEdit->toPlainText();

  form.KeyEdit->setText(QStringLiteral("да"));
  EXPECT_EQ(form.KeyEdit->text(), QStringLiteral("ДА")) << "the key is upper case";
  EXPECT_TRUE(form.FilterBitBtn->isVisible());

  {
    // A word mixing alphabets asks first, once for one Enter; No leaves everything as it was.
    MessageBoxHook boxes(MsgResult::No);
    form.KeyEdit->setText(QStringLiteral("ДA"));
    QTest::keyClick(form.KeyEdit, Qt::Key_Return);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].caption, QStringLiteral("Закавыка"));
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("В ключе поиска смешение языков в слове ДA.\r\nВсё равно искать?"));
    EXPECT_TRUE(form.FullListShown());
    EXPECT_TRUE(form.FilterBitBtn->isVisible());
    EXPECT_FALSE(form.FoundNumLabel->isVisible());
    // With "целиком" nothing is asked.
    Search(form, QStringLiteral("ДA"), true);
    EXPECT_EQ(boxes.shown().size(), 1u);
  }

  Search(form, QStringLiteral("ДА НЕТ"));
  const SearchResult expected = SearchTaskList(form.FullList(), QStringLiteral("ДА НЕТ"), false);
  ASSERT_GT(expected.found, 0);
  EXPECT_EQ(form.FoundNumLabel->text(), QStringLiteral("Найдено: ") + QString::number(expected.found));
  EXPECT_TRUE(form.FoundNumLabel->isVisible());
  EXPECT_FALSE(form.FilterBitBtn->isVisible());
  EXPECT_TRUE(form.WholeListBitBtn->isVisible());
  EXPECT_EQ(form.AidRichEdit->toPlainText(), expected.document.PlainText());
  EXPECT_EQ(form.KeyEditTag, 0);

  form.WholeListBitBtn->click();
  EXPECT_EQ(form.AidRichEdit->toPlainText(), full);
  EXPECT_EQ(form.KeyEdit->text(), QStringLiteral("ДА НЕТ")) << "the key comes back";
  EXPECT_TRUE(form.FilterBitBtn->isVisible());
  EXPECT_FALSE(form.WholeListBitBtn->isVisible());

  // The list view lets nothing be selected.
  form.AidRichEdit->selectAll();
  EXPECT_FALSE(form.AidRichEdit->textCursor().hasSelection());
  form.reject();
}

TEST_F(ListWindow, ForgetAnsweredYesResetsAndClosesNoChangesNothing) {
  for (const MsgResult answer : {MsgResult::No, MsgResult::Yes}) {
    SCOPED_TRACE(answer == MsgResult::Yes ? "Yes" : "No");
    tasks.Reset(true);
    Pass({5, 77, 1500});
    tasks.Done[0] |= 1u << 4;  // task 5 repeated right in consolidation
    tasks.DoneCount = 1;
    remarks.MarkUsed(3);
    sayings.MarkUsed(9);
    statistics = {42, 46000.25};
    forgotten = 0;

    TAidForm form(&main);
    ASSERT_TRUE(form.OpenList(Context()));
    MessageBoxHook boxes(answer);
    form.TricksComboBoxSelect(1);
    ASSERT_EQ(boxes.shown().size(), 1u);
    const MessageRequest& q = boxes.shown()[0];
    EXPECT_EQ(q.text, ForgetQuestionText());
    EXPECT_EQ(q.buttons, MsgButtons::YesNo);
    EXPECT_EQ(q.icon, MsgIcon::Question);
    EXPECT_EQ(q.defaultButton, 1) << "No is the default";

    const bool yes = answer == MsgResult::Yes;
    EXPECT_EQ(tasks.CountUsed(), yes ? 0 : 3);
    EXPECT_EQ(tasks.IsDone(5), !yes);
    EXPECT_EQ(tasks.DoneCount, yes ? 0 : 1);
    EXPECT_EQ(remarks.IsUsed(3), !yes);
    EXPECT_EQ(statistics.RCount, yes ? 0 : 42);
    EXPECT_EQ(statistics.FirstDate, 46000.25) << "the statistics date stays";
    EXPECT_TRUE(sayings.IsUsed(9)) << "other selectors stay";
    EXPECT_EQ(forgotten, yes ? 1 : 0);
    EXPECT_EQ(form.InListView(), !yes) << "Yes closes the list";
    if (!yes) form.reject();
  }
}

TEST_F(ListWindow, ExportWritesTheFileOnTheDesktopOrNamesItWhenItCannot) {
  Pass({1, 2, 3});
  TAidForm form(&main);
  ASSERT_TRUE(form.OpenList(Context()));
  {
    MessageBoxHook boxes;
    form.TricksComboBoxSelect(0);
    ASSERT_EQ(boxes.shown().size(), 1u);
    const QStringList written = QDir(desktop).entryList({QStringLiteral("ZZ_*.reg")}, QDir::Files);
    ASSERT_EQ(written.size(), 1);
    EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::Information);
    EXPECT_EQ(boxes.shown()[0].text, ExportDoneText(written[0]));
    QFile file(desktop + written[0]);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), ProgressExportBytes(kKey, statistics.FirstDate, Context().selectorStates(), 7));
  }
  form.reject();

  // The desktop is gone: the message names the file and nothing is written anywhere.
  QDir(desktop).removeRecursively();
  ASSERT_TRUE(form.OpenList(Context()));
  {
    MessageBoxHook boxes;
    form.TricksComboBoxSelect(0);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(boxes.shown()[0].text.startsWith(QStringLiteral("Невозможно сохранить текущий набор как ZZ_")));
    EXPECT_TRUE(boxes.shown()[0].text.endsWith(QStringLiteral(".reg")));
    EXPECT_FALSE(QDir(desktop).exists());
    EXPECT_TRUE(QDir().entryList({QStringLiteral("ZZ_*")}).isEmpty());
  }
  form.reject();
}

TEST_F(ListWindow, MainWindowHidesWhileTheListIsUpAndForgettingUnticksConsolidation) {
  QTemporaryDir hive;
  test::TrainerRun run(hive.path());
  TAidForm aid(run.form.get());
  run.form->SetAidForm(&aid);
  for (int t = 1; t <= 40; ++t) run.state.Tasks->MarkUsed(t);
  run.form->Flow().RepCheckBoxClick(true);

  bool hiddenMeanwhile = false;
  MessageBoxHook boxes(MsgResult::Yes);
  run.modals.setOnShown([&](const ModalRequest& r) {
    if (r.window != ModalWindow::TaskList) return;
    hiddenMeanwhile = !run.form->isVisible() && aid.InListView();
    aid.TricksComboBoxSelect(1);
  });
  // The progress window of the building, looked at while it is up.
  QString progressTitle, progressText;
  bool cancelShown = false;
  QTimer::singleShot(0, [&] {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* progress = qobject_cast<TProgressForm*>(w);
      if (!progress || !progress->isVisible()) continue;
      progressTitle = progress->windowTitle();
      progressText = progress->CaptionLabel->text();
      cancelShown = progress->CancelBitBtn->isVisible();
      Shot(*progress, "list-progress");
    }
  });
  QTest::mouseClick(run.form->TaskListBitBtn, Qt::LeftButton);
  EXPECT_EQ(progressTitle, QStringLiteral("Зорвик 1500"));
  EXPECT_EQ(progressText, QStringLiteral("Формируется список из 1500 фраз:"));
  EXPECT_TRUE(cancelShown);
  EXPECT_TRUE(hiddenMeanwhile);
  EXPECT_EQ(run.modals.shown(ModalWindow::TaskList).size(), 1u);
  EXPECT_TRUE(run.form->isVisible());
  EXPECT_EQ(run.state.Tasks->CountUsed(), 0);
  EXPECT_FALSE(run.form->Flow().Screen().RepCheckBoxChecked);
  run.form->SetAidForm(nullptr);
}

// --- looks ------------------------------------------------------------------------------------

TEST_F(ListWindow, Screenshots) {
  ApplyProgramFont();
  TAidForm form(&main);
  ASSERT_TRUE(form.OpenList(Context()));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  Shot(form, "list-no-progress");
  form.reject();

  Pass({701, 101, 26, 501, 337, 1, 2});
  statistics.RCount = 5;
  ASSERT_TRUE(form.OpenList(Context()));
  Shot(form, "list-struck-out");
  form.reject();

  mark = 5;
  ASSERT_TRUE(form.OpenList(Context()));
  Shot(form, "list-interpretations");
  Search(form, QStringLiteral("НЕ ТАК"));
  Shot(form, "list-search-result");
  Search(form, QStringLiteral("ЖУКОГЛАЗ"), true);
  EXPECT_EQ(form.FoundNumLabel->text(), QStringLiteral("Найдено: 0"));
  Shot(form, "list-nothing-found");

  // The two messages of saving, as the real boxes show them.
  InstallMessageBoxPresenter();
  const auto shootBox = [this](const char* name) {
    QTimer::singleShot(50, [this, name] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      Shot(*box, name);
      box->close();
    });
  };
  shootBox("export-done");
  form.TricksComboBoxSelect(0);
  QDir(desktop).removeRecursively();
  shootBox("export-cannot-save");
  form.TricksComboBoxSelect(0);
  SetMessagePresenter({});
  form.reject();
}

}  // namespace
}  // namespace zv
