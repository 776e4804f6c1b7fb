// The door every modal window goes through: without a hook the window runs its own loop; with
// one it is answered and recorded in order, never shown; hooks nest.

#include "support/TestApplication.h"
#include "ui/ModalRun.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>

#include <any>

namespace zv {
namespace {

ZV_TEST_APPLICATION(QApplication);

TEST(ModalRun, WithoutAHookTheWindowRunsModally) {
  QDialog dialog;
  bool wasModal = false;
  QTimer::singleShot(0, &dialog, [&] {
    wasModal = QApplication::activeModalWidget() == &dialog;
    dialog.done(7);
  });
  EXPECT_EQ(RunModal(&dialog, {ModalWindow::Other, {}, {}, {}}).result, 7);
  EXPECT_TRUE(wasModal);
  EXPECT_EQ(RunModal(nullptr, {ModalWindow::Protocol, {}, {}, {}}).result, 0) << "no window: nothing to run";
}

TEST(ModalRun, AFileDialogAnswersWithTheFileChosen) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("выбор.txt"));
  ASSERT_TRUE(QFile(path).open(QIODevice::WriteOnly));
  QFileDialog dialog(nullptr, QStringLiteral("Открыть"), dir.path());
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.selectFile(path);
  QTimer::singleShot(0, &dialog, [&] { static_cast<QDialog&>(dialog).accept(); });  // as "Открыть" does
  const ModalAnswer answer = RunModal(&dialog, {ModalWindow::FileDialog, {}, {}, {}});
  EXPECT_EQ(answer.result, QDialog::Accepted);
  EXPECT_EQ(QFileInfo(answer.file).canonicalFilePath(), QFileInfo(path).canonicalFilePath());
}

TEST(ModalRun, AHookAnswersInOrderAndRecordsWithoutShowing) {
  ModalHook hook(ModalAnswer{5, {}});
  hook.answerNext({1, QStringLiteral("/tmp/a")});
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Оценка"));
  bool visibleWhenAsked = true;
  hook.setOnShown([&](const ModalRequest&) { visibleWhenAsked = dialog.isVisible(); });

  const ModalAnswer queued = RunModal(&dialog, {ModalWindow::Mark, {}, QStringLiteral("ignored"), 4});
  EXPECT_EQ(queued.result, 1);
  EXPECT_EQ(queued.file, QStringLiteral("/tmp/a"));
  EXPECT_EQ(RunModal(nullptr, {ModalWindow::Protocol, {}, QStringLiteral("Протокол"), {}}).result, 5)
      << "the fallback once the queue is empty";
  EXPECT_FALSE(visibleWhenAsked);
  EXPECT_FALSE(dialog.isVisible());

  ASSERT_EQ(hook.shown().size(), 2u);
  const ModalRequest& mark = hook.shown()[0];
  EXPECT_EQ(mark.window, ModalWindow::Mark);
  EXPECT_EQ(mark.windowClass, QStringLiteral("QDialog"));
  EXPECT_EQ(mark.caption, QStringLiteral("Оценка")) << "the caption is the window's own";
  EXPECT_EQ(std::any_cast<int>(mark.details), 4);
  EXPECT_TRUE(hook.shown()[1].windowClass.isEmpty());
  EXPECT_EQ(hook.shown()[1].caption, QStringLiteral("Протокол"));
  EXPECT_EQ(hook.shown(ModalWindow::Protocol).size(), 1u);
}

TEST(ModalRun, HooksNestAndTheOuterAnswersAgainWhenTheInnerEnds) {
  ModalHook outer(ModalAnswer{2, {}});
  {
    ModalHook inner(ModalAnswer{3, {}});
    EXPECT_EQ(RunModal(nullptr, {}).result, 3);
    EXPECT_EQ(inner.shown().size(), 1u);
  }
  EXPECT_EQ(RunModal(nullptr, {}).result, 2);
  EXPECT_EQ(outer.shown().size(), 1u);
}

}  // namespace
}  // namespace zv
