// The update window over a fake transfer: what each result of the check shows, ticking, the
// download with its marks and the hand-off, Cancel, the automatic mode's quiet close, and the
// automatic-check controls. The screenshots of its states go to <build>/screens.

#include "platform/Cp1251.h"
#include "platform/RandomSource.h"
#include "shell/OleDate.h"
#include "ui/ProgramLook.h"
#include "ui/TBitBtn.h"
#include "update/TUpdateForm.h"
#include "update/UpdateHandOff.h"

#include <gtest/gtest.h>

#include "support/FakeUpdateTransfer.h"
#include "support/RowName.h"
#include "support/TestApplication.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace zv {
namespace {

using namespace Qt::StringLiterals;
using test::FakeUpdateTransfer;

ZV_TEST_APPLICATION(QApplication);

const QString kAddressFile = u"http://one.test/ZVUpdateURL.idx"_s;
const QString kBase = u"http://files.test/u/"_s;
const QString kUpToDate = u"У Вас установлена самая современная версия программы.\r\nПовторите эту проверку позже."_s;
const QString kFailed = u"Загрузка не удалась"_s;

class FakeWallClock final : public WallClock {
 public:
  QDateTime Now() const override { return now; }
  QDateTime now{QDate(2026, 12, 10), QTime(11, 30, 15)};
};

void Save(QWidget& w, const char* name) {
  QDir().mkpath(QStringLiteral(ZV_SCREENS_DIR));
  w.grab().save(QStringLiteral(ZV_SCREENS_DIR "/") + QLatin1String(name) + u".png"_s);
}

// The index's lines as the server sends them: in Windows-1251.
QByteArray Index(const QString& lines) { return *cp1251::Encode(lines); }

// An index line offering package `id` (installed: none) as "<id>.sh", `kb` kilobytes.
QString Item(const char* id, const char* caption, bool important = false, int kb = 20) {
  const QString name = QLatin1String(id);
  return name + u"=3^"_s + name + u".sh{"_s + (important ? u"!"_s : QString()) + u"}"_s + QString::fromUtf8(caption) +
         u" (размер "_s + QString::number(kb) + u" Кб)\r\n"_s;
}

const QString kShellNotNewer = u"shell=15000^zv15010.sh{}Программа (размер 1 200 Кб)\r\n"_s;

class UpdateWindow : public ::testing::Test {
 protected:
  UpdateWindow() { ApplyProgramFont(); }

  std::unique_ptr<TUpdateForm> Open(UpdateOpening opening = UpdateOpening::ByUser) {
    UpdateFormSetup setup{u"Зорвик"_s,
                          opening,
                          reg,
                          checkup,
                          [this](bool on) { enabledCalls.push_back(on); },
                          clock,
                          QLocale(QLocale::Russian, QLocale::Russia),
                          [this](const QString&, const QString& russian) { messages << russian; },
                          [this](const QString& script) {
                            if (onStart) onStart();
                            started << script;
                            return true;
                          },
                          [this](int ms) { pauses.push_back(ms); },
                          [this] { ++beeps; }};
    auto form = std::make_unique<TUpdateForm>(
        setup, UpdateSources{transfer, {u"http://one.test"_s, u"http://two.test"_s}, folder, random, {}});
    return form;
  }
  void ServeIndex(const QString& lines) {
    transfer.Serve(kAddressFile, kBase.toUtf8() + "\r\n");
    transfer.Serve(kBase + u"ZV1500.idx"_s, Index(kShellNotNewer + lines));
  }
  void ServeFile(const char* name, int chunks = 2) {
    transfer.Serve(kBase + QLatin1String(name), QByteArray(int(kDownloadChunkBytes) * chunks, 'x'));
  }
  static std::vector<bool> Ticks(const TUpdateForm& form) {
    std::vector<bool> ticks;
    for (int i = 0; i < form.UpdateCheckListBox->count(); ++i)
      ticks.push_back(form.UpdateCheckListBox->item(i)->checkState() == Qt::Checked);
    return ticks;
  }

  QTemporaryDir temp;
  QString folder = temp.path() + u"/"_s;
  QTemporaryDir hive;
  Registry reg{RegistryPaths::inOneFolder(hive.path())};
  FakeWallClock clock;
  AutoCheckup checkup{clock};
  FakeUpdateTransfer transfer;
  ClockSeededRandom random{3};
  std::vector<bool> enabledCalls;
  QStringList messages;
  QStringList started;
  std::function<void()> onStart;
  std::vector<int> pauses;
  int beeps = 0;
};

// --- the check's results --------------------------------------------------------------------

struct PresentRow {
  const char* name;
  QString lines;
  QString headline;
  int items;
  bool selectAll;
};

class Presentation : public UpdateWindow, public ::testing::WithParamInterface<PresentRow> {};

TEST_P(Presentation, HeadlineListButtonsAndGroup) {
  const PresentRow& row = GetParam();
  ServeIndex(row.lines);
  auto form = Open();
  form->show();
  const int groupHeight = form->UpdateGroupBox->height();
  EXPECT_TRUE(form->AutoCheckupGroupBox->isVisible());
  form->OKBitBtn->click();

  EXPECT_EQ(form->UpdateText(), row.headline);
  EXPECT_EQ(form->UpdateCheckListBox->count(), row.items);
  EXPECT_FALSE(form->AutoCheckupGroupBox->isVisible());
  EXPECT_TRUE(form->OKBitBtn->isEnabled());
  EXPECT_EQ(form->SelectAllCheckBox->isVisible(), row.selectAll);
  const QRect group = form->UpdateGroupBox->geometry();
  EXPECT_EQ(form->OKBitBtn->y(), group.bottom() + 1 + 8);
  if (row.items == 0) {
    EXPECT_EQ(form->OKBitBtn->Tag, 2);
    EXPECT_EQ(form->OKBitBtn->Kind(), GlyphKind::Ok);
    EXPECT_FALSE(form->CancelBitBtn->isVisible());
    EXPECT_FALSE(form->UpdateCheckListBox->isVisible());
    EXPECT_EQ(form->OKBitBtn->x() * 2 + form->OKBitBtn->width(), form->width());  // centred
    form->OKBitBtn->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    return;
  }
  EXPECT_EQ(form->OKBitBtn->Tag, 1);
  EXPECT_TRUE(form->CancelBitBtn->isVisible());
  EXPECT_EQ(form->OKBitBtn->x() - form->CancelBitBtn->geometry().right() - 1, 8);
  EXPECT_EQ(form->CancelBitBtn->y(), form->OKBitBtn->y());
  EXPECT_TRUE(form->UpdateCheckListBox->isVisible());
  EXPECT_EQ(Ticks(*form), std::vector<bool>(std::size_t(row.items), true));
  const QRect list = form->UpdateCheckListBox->geometry();
  EXPECT_EQ(list.height(), (row.items + 1) * TUpdateForm::kItemHeight);
  EXPECT_GT(list.top(), form->UpdateLabel->geometry().bottom());
  if (row.items > 8) {
    EXPECT_GT(group.height(), groupHeight);
    EXPECT_LE(group.height() - list.bottom(), 16);
  } else {
    EXPECT_EQ(group.height(), groupHeight);
  }
  EXPECT_LE(list.bottom(), group.height());
}

QString Packages(int count) {
  QString lines;
  const char* ids[] = {"zvy", "zvf", "zvm0", "zvm1", "zvm2", "zvm3", "zvm4", "zvm5", "zvn", "zvt"};
  for (int i = 0; i < count; ++i) lines += Item(ids[i], "Звуки");
  return lines;
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Presentation,
    ::testing::Values(PresentRow{"NothingNewerUpToDate", u"{News}Новости\r\n"_s, kUpToDate, 0, false},
                      PresentRow{"ImportantFirstIsTheOnlyOne",
                                 Item("zvq1", "Задания 1-100", true) + Item("zvq2", "Задания 101-200"),
                                 u"Установите это важное обновление. Затем проверьте, нет ли ещё обновлений."_s,
                                 1,
                                 false},
                      PresentRow{
                          "OnePlainItem", Item("zvq1", "Задания 1-100"), u"Имеется одно обновление:"_s, 1, false},
                      PresentRow{"TwoItemsWithSelectAll",
                                 Item("zvq1", "Задания 1-100") + Item("zvq2", "Задания 101-200"),
                                 u"Выберите желаемые позиции:"_s,
                                 2,
                                 true},
                      PresentRow{"EightItemsFitTheGroup", Packages(8), u"Выберите желаемые позиции:"_s, 8, true},
                      PresentRow{"NineItemsGrowTheGroup", Packages(9), u"Выберите желаемые позиции:"_s, 9, true}),
    test::RowName{});

// The news replaces the log, and nine steps of 128 ms push it up and out line by line; the
// completed check is stored and kept in memory.
TEST_F(UpdateWindow, NewsThenTheClosingAnimationAndTheCheckStored) {
  ServeIndex(u"{News}Новые звуки уже на сервере\r\n"_s);
  checkup.Start(true, 164, 0.0);
  ASSERT_TRUE(checkup.Tick(true));
  auto form = Open();
  form->show();
  form->OKBitBtn->click();
  EXPECT_EQ(form->NewsText(), u"Новые звуки уже на сервере"_s + u"\r\n"_s.repeated(9));
  EXPECT_EQ(pauses, std::vector<int>(9, 128));
  EXPECT_EQ(ReadUpdateWindowSettings(reg).lastCheckup, ToOleDate(clock.now));
  EXPECT_FALSE(checkup.Tick(true));
  EXPECT_EQ(beeps, 0);
}

TEST_F(UpdateWindow, FailedCheckBeepsAndStoresNothing) {
  auto form = Open();
  form->show();
  form->OKBitBtn->click();
  Save(*form, "update_failed");
  EXPECT_EQ(form->UpdateText(), kFailed);
  EXPECT_EQ(beeps, 1);
  EXPECT_EQ(pauses.size(), 9u);
  EXPECT_FALSE(ReadUpdateWindowSettings(reg).lastCheckup.has_value());
  EXPECT_TRUE(form->NewsText().startsWith(u"\r\nПоиск серверов обновлений:\r\nhttp://one.test\r\nhttp://two.test"_s));
  form->CancelBitBtn->click();
  EXPECT_EQ(form->result(), QDialog::Rejected);
}

// --- ticking --------------------------------------------------------------------------------

TEST_F(UpdateWindow, TickingAndSelectAll) {
  ServeIndex(Item("zvq1", "Задания 1-100") + Item("zvq2", "Задания 101-200") + Item("zvq3", "Задания 201-300"));
  auto form = Open();
  form->show();
  form->OKBitBtn->click();
  QListWidget* list = form->UpdateCheckListBox;
  const auto clickRow = [&](int row, int x) {
    const QRect r = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(x, r.center().y()));
  };

  clickRow(1, 200);  // on the text: toggles once, no highlight left
  EXPECT_EQ(Ticks(*form), (std::vector<bool>{true, false, true}));
  EXPECT_TRUE(list->selectedItems().isEmpty());
  EXPECT_FALSE(form->SelectAllCheckBox->isChecked());
  EXPECT_TRUE(form->OKBitBtn->isEnabled());
  clickRow(1, 200);
  EXPECT_TRUE(form->SelectAllCheckBox->isChecked());

  form->SelectAllCheckBox->click();
  EXPECT_EQ(Ticks(*form), (std::vector<bool>{false, false, false}));
  EXPECT_FALSE(form->OKBitBtn->isEnabled());
  clickRow(2, 200);
  EXPECT_TRUE(form->OKBitBtn->isEnabled());
  EXPECT_FALSE(form->SelectAllCheckBox->isChecked());
  form->SelectAllCheckBox->click();
  EXPECT_EQ(Ticks(*form), (std::vector<bool>{true, true, true}));
  EXPECT_TRUE(form->OKBitBtn->isEnabled());
}

// --- the download ---------------------------------------------------------------------------

// The ticked items go into the folder in list order with the bar over each item's row; each
// finished one turns light green; the script runs the arrived ones and the window ends so the
// main window can close the program.
TEST_F(UpdateWindow, DownloadWritesTheHandOffAndEnds) {
  ServeIndex(Item("zvq1", "Задания 1-100") + Item("zvq2", "Задания 101-200") + Item("zvq3", "Задания 201-300"));
  ServeFile("zvq1.sh");
  ServeFile("zvq3.sh", 3);
  auto form = Open();
  form->show();
  form->OKBitBtn->click();
  Save(*form, "update_list");
  form->UpdateCheckListBox->item(1)->setCheckState(Qt::Unchecked);

  QList<int> barRows;
  transfer.afterChunk = [&](const QString& url, int chunk) {
    if (!url.endsWith(u".sh"_s)) return;
    const QPoint bar = form->DownloadProgressBar->pos();
    const QListWidget* list = form->UpdateCheckListBox;
    barRows << list->indexAt(list->viewport()->mapFrom(form->UpdateGroupBox, bar + QPoint(4, 4))).row();
    EXPECT_TRUE(form->Downloading());
    if (url.endsWith(u"zvq3.sh"_s) && chunk == 2) {
      EXPECT_EQ(form->DownloadProgressBar->value(), 2);
      EXPECT_EQ(form->UpdateText(), u"Выполняется загрузка Задания 201-300 (размер 20 Кб)"_s);
      EXPECT_TRUE(form->IsDownloaded(0));
      EXPECT_FALSE(form->IsDownloaded(2));
      Save(*form, "update_downloading");
    }
  };
  onStart = [&] {
    EXPECT_EQ(form->UpdateText(), u"Переход к установке..."_s);
    Save(*form, "update_handing_over");
  };
  form->OKBitBtn->click();

  EXPECT_EQ(barRows, (QList<int>{0, 0, 2, 2, 2}));
  EXPECT_EQ(form->DownloadProgressBar->maximum(), 2);  // 20 KB in chunks of 10 KB
  ASSERT_EQ(started, QStringList{folder + QString::fromUtf16(kHandOffFileName)});
  EXPECT_EQ(pauses.back(), TUpdateForm::kHandOffPauseMs);
  EXPECT_EQ(form->result(), kUpdateHandedOff);
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(form->IsDownloaded(2));
  EXPECT_EQ(ReadUpdateWindowSettings(reg).lastDownload, ToOleDate(clock.now));
  QFile script(started[0]);
  ASSERT_TRUE(script.open(QIODevice::ReadOnly));
  const QByteArray text = script.readAll();
  EXPECT_TRUE(text.contains("zvq1.sh' 'modest'\n")) << text.constData();
  EXPECT_TRUE(text.contains("zvq3.sh' 'modest' 'runapp'\n")) << text.constData();
  EXPECT_FALSE(text.contains("zvq2")) << text.constData();
}

// Cancel while an item comes in only raises the flag; the transfer stops after that chunk, its
// file goes, and the window closes without handing anything over.
TEST_F(UpdateWindow, CancelMidDownloadClosesWithoutHandOff) {
  ServeIndex(Item("zvq1", "Задания 1-100") + Item("zvq2", "Задания 101-200"));
  ServeFile("zvq1.sh");
  ServeFile("zvq2.sh", 4);
  auto form = Open();
  form->show();
  form->OKBitBtn->click();
  transfer.afterChunk = [&](const QString& url, int chunk) {
    if (url.endsWith(u"zvq2.sh"_s) && chunk == 2) {
      form->CancelBitBtn->click();
      EXPECT_TRUE(form->isVisible());
    }
  };
  form->OKBitBtn->click();
  EXPECT_EQ(form->result(), QDialog::Rejected);
  EXPECT_FALSE(form->isVisible());
  EXPECT_TRUE(started.isEmpty());
  EXPECT_EQ(transfer.requests.size(), 4u);  // two index files, two items
  EXPECT_FALSE(QFile::exists(folder + u"zvq2.sh"_s));
  EXPECT_FALSE(QFile::exists(folder + QString::fromUtf16(kHandOffFileName)));
  EXPECT_TRUE(ReadUpdateWindowSettings(reg).lastDownload.has_value());
}

TEST_F(UpdateWindow, NothingArrivedSaysSoAndStays) {
  ServeIndex(Item("zvq1", "Задания 1-100"));
  auto form = Open();
  form->show();
  form->OKBitBtn->click();
  form->OKBitBtn->click();
  EXPECT_EQ(form->UpdateText(), kFailed);
  EXPECT_TRUE(started.isEmpty());
  EXPECT_EQ(beeps, 1);
  EXPECT_TRUE(form->isVisible());
  EXPECT_TRUE(form->OKBitBtn->isVisible());
  EXPECT_FALSE(form->CancelBitBtn->isVisible());
  form->OKBitBtn->click();
  EXPECT_EQ(form->result(), QDialog::Accepted);
}

// --- the automatic mode ---------------------------------------------------------------------

struct AutomaticRow {
  const char* name;
  std::function<void(UpdateWindow&)> serve;
  bool closesItself;
};

class Automatic : public UpdateWindow, public ::testing::WithParamInterface<AutomaticRow> {
 public:
  void Serve(const QString& lines) { ServeIndex(lines); }
};

// Opened by the timer the check starts by itself; a failure or nothing new minimises the window,
// without beep or animation, and it closes about half a second later. Offers keep it up.
TEST_P(Automatic, QuietResultsCloseTheWindowHalfASecondLater) {
  GetParam().serve(*this);
  auto form = Open(UpdateOpening::ByTimer);
  form->show();
  QElapsedTimer elapsed;
  elapsed.start();
  ASSERT_TRUE(QTest::qWaitFor([&] { return form->OKBitBtn->Tag != 0 || form->UpdateText() == kFailed; }, 2000));
  EXPECT_EQ(beeps, 0);
  if (!GetParam().closesItself) {
    EXPECT_EQ(form->OKBitBtn->Tag, 1);
    QTest::qWait(700);
    EXPECT_TRUE(form->isVisible());
    EXPECT_FALSE(form->isMinimized());
    return;
  }
  EXPECT_TRUE(form->isMinimized());
  EXPECT_TRUE(form->AutoCheckupTimer->isActive());
  EXPECT_TRUE(pauses.empty());
  ASSERT_TRUE(QTest::qWaitFor([&] { return !form->isVisible(); }, 2000));
  EXPECT_GE(elapsed.elapsed(), 400);
  EXPECT_EQ(form->result(), QDialog::Rejected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Automatic,
    ::testing::Values(AutomaticRow{"FailedCheck", [](UpdateWindow&) {}, true},
                      AutomaticRow{"NothingNewer", [](UpdateWindow& w) { static_cast<Automatic&>(w).Serve({}); }, true},
                      AutomaticRow{
                          "OffersStayUp",
                          [](UpdateWindow& w) { static_cast<Automatic&>(w).Serve(Item("zvq1", "Задания 1-100")); },
                          false}),
    test::RowName{});

// --- the automatic-check controls -------------------------------------------------------------

TEST_F(UpdateWindow, AutoCheckupControlsFromAndToTheSettings) {
  WriteAutoCheckupChoice(reg, true, 1);
  WriteLastCheckup(reg, ToOleDate(QDateTime(QDate(2026, 11, 30), QTime(9, 15, 0))));
  {
    auto form = Open();
    form->show();
    EXPECT_TRUE(form->AutoCheckupCheckBox->isChecked());
    EXPECT_EQ(form->AutoCheckupComboBox->currentIndex(), 1);
    EXPECT_EQ(form->AutoCheckupComboBox->count(), 4);
    EXPECT_EQ(form->LastCheckupLabel->text(), u"Последняя проверка была выполнена\n30.11.2026 09:15:00"_s);
    EXPECT_TRUE(form->LastCheckupLabel->isVisible());
    EXPECT_FALSE(form->LastDownloadLabel->isVisible());
    EXPECT_EQ(enabledCalls, std::vector<bool>{true});
    EXPECT_EQ(checkup.IntervalHours(), 332);
    Save(*form, "update_start");

    form->AutoCheckupComboBox->setCurrentIndex(3);
    emit form->AutoCheckupComboBox->activated(3);
    EXPECT_EQ(checkup.IntervalHours(), 716);
    form->AutoCheckupCheckBox->click();
    EXPECT_FALSE(form->AutoCheckupComboBox->isEnabled());
    EXPECT_EQ(enabledCalls, (std::vector<bool>{true, false}));
  }
  const UpdateWindowSettings stored = ReadUpdateWindowSettings(reg);
  EXPECT_EQ(stored.autoCheckup, false);
  EXPECT_EQ(stored.autoCheckupTime, 3);
}

// --- screenshots of the remaining states ----------------------------------------------------

TEST_F(UpdateWindow, Screenshots) {
  {
    auto form = Open();
    form->show();
    Save(*form, "update_start_first_time");
    transfer.Serve(kAddressFile, kBase.toUtf8() + "\r\n");
    transfer.Serve(kBase + u"ZV1500.idx"_s, Index(kShellNotNewer + u"{News}На сервере новые задания и звуки.\r\n"_s));
    transfer.afterChunk = [&](const QString& url, int) {
      if (url.endsWith(u"ZV1500.idx"_s)) Save(*form, "update_searching");
    };
    form->OKBitBtn->click();
    transfer.afterChunk = {};
    pauses.clear();
    Save(*form, "update_up_to_date");
  }
  {
    transfer.Serve(kBase + u"ZV1500.idx"_s,
                   Index(kShellNotNewer + Item("zvq7", "Озвученные задания 601-700", true, 2310)));
    auto important = Open();
    important->show();
    important->OKBitBtn->click();
    EXPECT_EQ(important->UpdateCheckListBox->count(), 1);
    Save(*important, "update_one_important");
  }
}

}  // namespace
}  // namespace zv
