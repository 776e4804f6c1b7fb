// The about window: opened from the main window's button and F1 with the sound layer's counts,
// the credits as the rich text shows them, the links with their pressed state, Escape. The
// screenshots go to <build>/screens.

#include "../platform/QtPrint.h"
#include "shell/AboutContent.h"
#include "support/MainFormRun.h"
#include "support/TestApplication.h"
#include "ui/ProgramLook.h"
#include "ui/ShellOpen.h"
#include "ui/SkinCaptionButton.h"
#include "ui/TAboutForm.h"
#include "ui/TZVMainForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>

#include <functional>
#include <initializer_list>

namespace zv {
namespace {

using namespace Qt::StringLiterals;
using test::TrainerRun;

ZV_TEST_APPLICATION(QApplication);

// A sound layer that only reports what the packages found.
class CoverageSound final : public SoundService {
 public:
  bool EngineWorks() const override { return true; }
  bool CommentsLoaded() const override { return true; }
  bool AllVoicedTasksPresent() const override { return coverage.allVoicedPresent; }
  bool HasComments(SoundCategory) const override { return true; }
  SoundCoverage Coverage() const override { return coverage; }
  void PlayStartComment(bool, EndHandler) override {}
  void PlayVoicedTask(int, EndHandler) override {}
  void PlayComment(SoundCategory, bool, EndHandler) override {}
  void PlayBuiltIn(BuiltInSound) override {}
  void Stop() override {}
  void SetVolume(int) override {}
  SoundCoverage coverage;
};

SoundCoverage Installed(std::initializer_list<int> missingHundreds) {
  SoundCoverage c;
  c.comments = {23, 61, 58, 22, 11, 12, 10, 13, 12, 14, 17};
  for (int n : c.comments) c.totalComments += n;
  c.voicedPresent.fill(true);
  for (int q : missingHundreds) c.voicedPresent[static_cast<std::size_t>(q - 1)] = false;
  c.voicedPresentCount = static_cast<int>(std::count(c.voicedPresent.begin(), c.voicedPresent.end(), true));
  c.allVoicedPresent = c.voicedPresentCount == 15;
  return c;
}

void Save(QWidget& w, const char* name) {
  QDir().mkpath(QStringLiteral(ZV_SCREENS_DIR));
  w.grab().save(QStringLiteral(ZV_SCREENS_DIR "/") + QLatin1String(name) + u".png"_s);
}

// Runs `open` on the main window; `look` runs while the about window is up.
void WithAboutWindow(TrainerRun& run, const std::function<void()>& open, const std::function<void(TAboutForm&)>& look) {
  bool shown = false;
  run.modals.setOnShown([&](const ModalRequest& request) {
    if (request.windowClass != u"zv::TAboutForm"_s) return;
    auto* form = run.form->findChild<TAboutForm*>();
    ASSERT_NE(form, nullptr);
    shown = true;
    form->show();
    QApplication::processEvents();
    look(*form);
  });
  open();
  run.modals.setOnShown({});
  EXPECT_TRUE(shown) << "no about window opened";
  EXPECT_EQ(run.form->findChild<TAboutForm*>(), nullptr) << "the window outlived its closing";
}

TEST(AboutForm, OpensFromTheButtonAndF1WithTheSoundLayersCounts) {
  ApplyProgramFont();
  QTemporaryDir dir;
  CoverageSound sound;
  sound.coverage = Installed({11, 12, 13, 14, 15});
  TrainerRun run(dir.path(), {u"zorvik"_s}, &sound);

  WithAboutWindow(run, [&] {
    run.Click(run.form->InfoBitBtn);
  }, [&](TAboutForm& w) {
    EXPECT_EQ(w.size(), QSize(365, 455));
    EXPECT_EQ(w.Label1->text(), u"Зорвик"_s);
    EXPECT_EQ(w.VersionLabel->text(), u"версия 1500"_s);
    EXPECT_TRUE(w.SndVerLabel->text().startsWith(u"Количество звуковых комментариев - 253\n"_s));
    EXPECT_TRUE(w.SndVerLabel->text().endsWith(u"\nНе озвучены следующие сотни заданий:\n 11, 12, 13, 14, 15."_s));
    EXPECT_EQ(w.SndVerLabel->toolTip(), u"Воспользуйтесь \"Интернет-обновлением\"!"_s);
    EXPECT_EQ(w.SndVerLabel->height(), TAboutForm::kCoverageHeight + 24);
    EXPECT_GT(w.WareLabel->y(), w.SndVerLabel->geometry().bottom()) << "the grown label covers what lies below";
    EXPECT_EQ(w.windowTitle(), BuiltAboutAddresses().notice);
    EXPECT_EQ(w.AddressEdit->text(), BuiltAboutAddresses().mailAddress);
    EXPECT_EQ(QApplication::focusWidget(), w.SrcRichEdit);
    Save(w, "about_hundreds_missing");
  });

  sound.coverage = Installed({});
  WithAboutWindow(run, [&] { QTest::keyClick(run.form.get(), Qt::Key_F1); }, [&](TAboutForm& w) {
    EXPECT_TRUE(w.SndVerLabel->text().endsWith(u"к выходу из программы - 17)."_s)) << "an extra line with nothing missing";
    EXPECT_EQ(w.SndVerLabel->toolTip(), QString());
    EXPECT_EQ(w.SndVerLabel->height(), TAboutForm::kCoverageHeight);
    Save(w, "about_everything_installed");
    QTest::keyClick(&w, Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible()) << "Escape did not close the window";
  });
}

AboutFacts Facts() {
  AboutFacts f;
  f.programName = u"Зорвик"_s;
  f.versionLabel = u"1500"_s;
  f.coverage = Installed({3, 12});
  f.escapedClientId = u"Zorvik%201500.0.0%20(X%20Russian%200419,%20UTC+3)"_s;
  f.russianLocale = true;
  f.addresses = {u"notice"_s, u"site.example.org"_s, u"me@example.org"_s, u"help.example.org"_s,
                 u"https://social.example.org/z"_s};
  f.credits = LoadAboutCredits(u":/about"_s);
  return f;
}

TEST(AboutForm, CreditsShowEachItemAsABulletAndNoEmptyOne) {
  const AboutFacts facts = Facts();
  TAboutForm w(facts);
  QStringList bulleted;
  QStringList plain;
  for (QTextBlock b = w.SrcRichEdit->document()->begin(); b.isValid(); b = b.next()) {
    if (b.textList() != nullptr)
      bulleted << b.text();
    else if (!b.text().isEmpty())
      plain << b.text();
  }
  const AboutCredits& c = facts.credits;
  EXPECT_EQ(bulleted, c.hints + c.sources + c.helpers);
  EXPECT_EQ(plain, (QStringList{u"Неочевидное:"_s, u"Источники:"_s,
                                u"Использованы звуковые фрагменты произведений следующих исполнителей:"_s,
                                c.performers.join(u", "_s), u"Помощники:"_s}));
  const QTextBlock first = w.SrcRichEdit->document()->begin();
  const QTextCharFormat heading = first.begin().fragment().charFormat();
  EXPECT_EQ(heading.foreground().color(), QColor(0x00, 0x00, 0x80));
  EXPECT_EQ(heading.fontWeight(), QFont::Bold);
  EXPECT_TRUE(first.next().begin().fragment().charFormat().fontItalic()) << "a hint is not italic";
  EXPECT_EQ(w.SrcRichEdit->textCursor().position(), 0) << "the caret is not at the start";
  w.show();
  w.SrcRichEdit->verticalScrollBar()->setValue(w.SrcRichEdit->verticalScrollBar()->maximum());
  Save(w, "about_credits_end");
}

TEST(AboutForm, LinksOpenTheirTargetsAndStayPressedEvenWhenNothingOpens) {
  TAboutForm w(Facts());
  w.show();
  QApplication::processEvents();
  ShellOpenHook shell(false);  // the desktop opens nothing

  QEvent enter(QEvent::Enter);
  QApplication::sendEvent(w.WebLabel, &enter);
  EXPECT_EQ(w.WebLabel->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0xFF));
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(w.WebLabel, &leave);
  EXPECT_EQ(w.WebLabel->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0x80));

  const std::vector<QWidget*> links = {w.WebLabel, w.VKImage, w.GrantLabel, w.GrantImage, w.MailLabel, w.MailImage};
  std::vector<QPoint> homes;
  for (QWidget* link : links) {
    homes.push_back(link->pos());
    QTest::mouseClick(link, Qt::LeftButton, {}, QPoint(4, 4));
    EXPECT_FALSE(link->isEnabled()) << link->objectName().toStdString();
    EXPECT_EQ(link->pos(), homes.back() + QPoint(0, 2)) << link->objectName().toStdString();
  }
  const QString mail =
      u"mailto:me@example.org?subject=Zorvik%201500.0.0%20(X%20Russian%200419,%20UTC+3)%201300%20questsounds,%20253%20comments"_s;
  EXPECT_EQ(shell.opened().join(u'\n'),
            (QStringList{u"http://site.example.org"_s, u"https://social.example.org/z"_s,
                         u"http://help.example.org/GrantRus/"_s, u"http://help.example.org/GrantRus/"_s, mail, mail})
                .join(u'\n'));

  QTest::mouseClick(w.WebLabel, Qt::LeftButton, {}, QPoint(4, 4));
  EXPECT_EQ(shell.opened().size(), 6) << "a pressed link opened again";
  for (std::size_t i = 0; i < links.size(); ++i) {
    QTRY_VERIFY_WITH_TIMEOUT(links[i]->isEnabled(), TAboutForm::kPressedMs + 1000);
    EXPECT_EQ(links[i]->pos(), homes[i]);
  }
  EXPECT_TRUE(w.isVisible()) << "a target that did not open closed the window";
}

}  // namespace
}  // namespace zv
