// The progress file end to end: a trainer's main window with progress in memory saves it from
// the task list; zvregedit --yes adds the file to an empty hive; the real trainer starts on that
// hive and closes, and what it stores is exactly the progress that was saved. The file is left
// in <build>/test-artifacts/export/ to be looked at.

#include "exam/ProgressTricks.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "support/MainFormRun.h"
#include "support/SocketFolder.h"
#include "support/TestApplication.h"
#include "support/TrainerProcess.h"
#include "tasks/BuiltinContent.h"
#include "tasks/TaskCatalogue.h"
#include "ui/SkinCaptionButton.h"
#include "ui/TAidForm.h"
#include "ui/THintForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <map>

namespace zv {
namespace {

ZV_TEST_APPLICATION(QApplication);

const QString kKey = ProgramKeyPath();

TEST(ProgressFile, SavedImportedAndRestoredExactly) {
  // The desktop is the artifact folder: xdg-user-dir answers it from the environment.
  const QString exportDir = QStringLiteral(ZV_EXPORT_DIR);
  QDir(exportDir).removeRecursively();
  ASSERT_TRUE(QDir().mkpath(exportDir));
  QTemporaryDir config;
  qputenv("XDG_CONFIG_HOME", config.path().toLocal8Bit());
  qputenv("XDG_DESKTOP_DIR", exportDir.toLocal8Bit());

  std::map<QString, QByteArray> saved;  // what the file must bring back, from memory
  double firstDate = 0;
  std::int32_t rCount = 0;
  {
    QTemporaryDir hive;
    test::TrainerRun run(hive.path());
    TrainerState& s = run.state;
    const TaskCatalogue catalogue(content::TaskText(), content::SayingsText());
    s.Sayings = std::make_unique<TSmartRand>(catalogue.CountSayings(), false, 0, *run.info.Random);
    TAidForm aid(run.form.get());
    THintForm hint(*run.info.SettingsRegistry, *run.info.Random, run.sound, run.form.get());
    run.form->SetAidForm(&aid);
    run.form->SetHintForm(&hint);

    // Progress of this run, not yet in any hive.
    for (int t : {1, 2, 33, 64, 700, 1499, 1500}) s.Tasks->MarkUsed(t);
    s.Tasks->Done[1] |= 1u;  // task 33 repeated right
    s.Tasks->CountDone();
    for (int k : {1, 7}) s.Sayings->MarkUsed(k);
    for (int k : {2, 18}) s.Remarks->MarkUsed(k);
    for (HintList list : {HintList::Button, HintList::Right, HintList::Wrong, HintList::TimeOut})
      hint.Phrases().Selector(list).MarkUsed(HintPhrases::Count(list));
    s.Statistics = {5, 45678.375};
    firstDate = s.Statistics.FirstDate;
    rCount = s.Statistics.RCount;
    for (const SelectorState& state : run.form->SelectorStates()) saved[state.name] = state.bytes;
    ASSERT_EQ(saved.size(), 8u) << "tasks, done set, sayings, remarks and the four remark lists; no sound";

    MessageBoxHook boxes;
    run.modals.setOnShown([&](const ModalRequest& r) {
      if (r.window == ModalWindow::TaskList) aid.TricksComboBoxSelect(0);
    });
    QTest::mouseClick(run.form->TaskListBitBtn, Qt::LeftButton);
    ASSERT_EQ(boxes.shown().size(), 1u);
    EXPECT_EQ(boxes.shown()[0].icon, MsgIcon::Information) << boxes.shown()[0].text.toStdString();
    run.form->SetAidForm(nullptr);
    run.form->SetHintForm(nullptr);
  }
  const QStringList files = QDir(exportDir).entryList({QStringLiteral("ZZ_*.reg")}, QDir::Files);
  ASSERT_EQ(files.size(), 1);

  test::SocketFolder target;
  QProcess regedit;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("ZORVIK_REGISTRY_DIR"), target.filePath(QStringLiteral("registry")));
  env.insert(QStringLiteral("XDG_RUNTIME_DIR"), target.path());
  regedit.setProcessEnvironment(env);
  regedit.start(QStringLiteral(ZV_REGEDIT), {QStringLiteral("--yes"), exportDir + QLatin1Char('/') + files[0]});
  ASSERT_TRUE(regedit.waitForFinished(20000));
  ASSERT_EQ(regedit.exitCode(), 0) << regedit.readAllStandardError().toStdString();

  {
    test::TrainerProcess trainer(target, QStringLiteral(ZV_TRAINER));
    ASSERT_TRUE(trainer.WaitUntilReady());
    ASSERT_EQ(trainer.Quit(), 0);
  }
  Registry r(RegistryPaths::inOneFolder(target.filePath(QStringLiteral("registry"))));
  r.SetRootKey(RootKey::CurrentUser);
  ASSERT_TRUE(r.OpenKey(kKey, false));
  EXPECT_EQ(r.ReadDateTime(QStringLiteral("FirstDate")), firstDate);
  EXPECT_EQ(r.ReadInteger(QStringLiteral("RCount")), rCount);
  for (const auto& [name, bytes] : saved)
    EXPECT_EQ(r.ReadRaw(name).toHex(' ').toStdString(), bytes.toHex(' ').toStdString()) << name.toStdString();
  r.CloseKey();
}

}  // namespace
}  // namespace zv
