// The correct-answer and mark windows driven through their real widgets, headless.

#include "platform/Registry.h"
#include "support/RecordingSound.h"
#include "support/ScriptedRandom.h"
#include "support/TestApplication.h"
#include "ui/HintGlyphs.h"
#include "ui/THintForm.h"
#include "ui/TMarkForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <vector>

namespace zv {
namespace {

using test::RecordingSound;
using test::ScriptedRandom;

ZV_TEST_APPLICATION(QApplication);

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 2000) {
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() > timeoutMs) return false;
    QTest::qWait(5);
  }
  return true;
}

QSet<QString> Shown(HintList list) {
  QSet<QString> all;
  for (int k = 1; k <= HintPhrases::Count(list); ++k) all.insert(UpperFirst(HintPhrases::Phrase(list, k)));
  return all;
}

QImage GlyphImage(const QIcon& icon) { return icon.pixmap(kButtonGlyphSize).toImage(); }

const QString kKey = QStringLiteral("\\Software\\Ostwin\\Zorvik");

class HintWindows : public ::testing::Test {
 protected:
  HintWindows() { m_main.setGeometry(40, 30, 580, 300); }
  std::unique_ptr<Registry> OpenRegistry() {
    return std::make_unique<Registry>(RegistryPaths::inOneFolder(m_dir.path()));
  }
  QByteArray Stored(const char* name) {
    auto reg = OpenRegistry();
    reg->SetRootKey(RootKey::CurrentUser);
    if (!reg->OpenKey(kKey, false)) return {};
    const int size = reg->GetDataSize(QLatin1String(name));
    QByteArray bytes(std::max(size, 0), '\0');
    if (size > 0) reg->ReadBinaryData(QLatin1String(name), bytes.data(), size);
    reg->CloseKey();
    return bytes;
  }
  static THintForm::Request Wrong(bool commentsOn) {
    return {HintCase::Wrong,
            true,
            QStringLiteral("3/10 экзамена позади. Верных ответов: 2"),
            QStringLiteral("Вернуть долг точно в срок"),
            commentsOn,
            250};
  }
  static THintForm::Request Right(bool commentsOn) {
    return {HintCase::Right,
            false,
            QStringLiteral("4/10 экзамена позади. Точных ответов: 3"),
            QStringLiteral("Не имеет значения"),
            commentsOn,
            250};
  }
  static THintForm::Request TimeOut(bool commentsOn) {
    return {HintCase::TimeOut,
            true,
            QStringLiteral("5/10 экзамена позади. Верных ответов: 3"),
            QStringLiteral("Очень быстро уйти"),
            commentsOn,
            250};
  }

  QTemporaryDir m_dir;
  QWidget m_main;
  ClockSeededRandom m_random{21};
  RecordingSound m_sound;
};

// After a wrong answer: black window, silver remark, the right answer centred under it and
// shaking, the black button; Enter stops the comment and closes; the next showing keeps the
// place the user moved the window to.
TEST_F(HintWindows, WrongAnswerShowsTheShakingInterpretationAndEnterCloses) {
  auto reg = OpenRegistry();
  THintForm form(*reg, m_random, m_sound, &m_main);
  form.Open(Wrong(true));
  ASSERT_TRUE(form.isVisible());

  EXPECT_EQ(form.windowTitle(), QStringLiteral("3/10 экзамена позади. Верных ответов: 2"));
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(0, 0, 0));
  EXPECT_EQ(form.HintLabel->palette().color(QPalette::WindowText), QColor(0xC0, 0xC0, 0xC0));
  EXPECT_TRUE(Shown(HintList::Wrong).contains(form.HintLabel->text()));
  EXPECT_TRUE(form.HintBitBtn0->isVisible());
  EXPECT_FALSE(form.HintBitBtn->isVisible());
  EXPECT_TRUE(Shown(HintList::Button).contains(form.HintBitBtn0->text()));
  EXPECT_EQ(form.HintBitBtn->text(), form.HintBitBtn0->text());
  ASSERT_TRUE(form.TrueLabel->isVisible());
  EXPECT_EQ(form.TrueLabel->text(), QStringLiteral("Вернуть долг точно в срок"));
  EXPECT_EQ(form.TrueLabel->x(), (THintForm::kClientWidth - form.TrueLabel->width()) / 2);
  EXPECT_EQ(form.TrueLabel->y(), 60);
  EXPECT_FALSE(form.SpeakerBitBtn->isVisible());
  EXPECT_EQ(m_sound.comments, std::vector<SoundCategory>{SoundCategory::Wrong});
  EXPECT_EQ(form.pos(), QPoint(40 + (580 - 355) / 2, 30 + 250)) << "first showing: over the lower panel";

  const QPoint start = form.TrueLabel->pos();
  EXPECT_EQ(form.JerkTimer->interval(), 256);
  ASSERT_TRUE(WaitFor([&] { return form.TrueLabel->pos() != start; }));
  EXPECT_EQ(form.TrueLabel->pos(), start + QPoint(1, -1));

  QTest::keyClick(&form, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(form.JerkTimer->isActive());
  EXPECT_EQ(m_sound.stops, 1);

  form.move(11, 12);
  form.Open(TimeOut(false));
  EXPECT_EQ(form.pos(), QPoint(11, 12)) << "later showings keep the window where it is";
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(0, 0, 0x80));
  EXPECT_TRUE(Shown(HintList::TimeOut).contains(form.HintLabel->text()));
  EXPECT_TRUE(form.TrueLabel->isVisible());
  EXPECT_TRUE(form.JerkTimer->isActive());
  EXPECT_EQ(m_sound.comments.size(), 1u) << "comments off: nothing played";
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(m_sound.stops, 1) << "comments off: nothing to stop";
}

// After a right answer: fuchsia with blue lettering, no interpretation, the green button;
// Esc closes.
TEST_F(HintWindows, RightAnswerIsFuchsiaWithoutInterpretationAndEscCloses) {
  auto reg = OpenRegistry();
  THintForm form(*reg, m_random, m_sound, &m_main);
  form.Open(Right(true));
  EXPECT_EQ(form.palette().color(QPalette::Window), QColor(0xFF, 0, 0xFF));
  EXPECT_EQ(form.HintLabel->palette().color(QPalette::WindowText), QColor(0, 0, 0xFF));
  EXPECT_TRUE(Shown(HintList::Right).contains(form.HintLabel->text()));
  EXPECT_FALSE(form.TrueLabel->isVisible());
  EXPECT_FALSE(form.JerkTimer->isActive());
  EXPECT_TRUE(form.HintBitBtn->isVisible());
  EXPECT_FALSE(form.HintBitBtn0->isVisible());
  EXPECT_EQ(form.HintBitBtn->palette().color(QPalette::ButtonText), QColor(0, 0x80, 0));
  EXPECT_EQ(m_sound.comments, std::vector<SoundCategory>{SoundCategory::Right});
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  EXPECT_EQ(m_sound.stops, 1);
}

// The "Ещё раз" button appears when the comment has ended, replays it and hides; an end that
// arrives after the window is gone is ignored.
TEST_F(HintWindows, SpeakerButtonAppearsAfterTheCommentAndReplaysIt) {
  auto reg = OpenRegistry();
  SoundService::EndHandler late;
  {
    THintForm form(*reg, m_random, m_sound, &m_main);
    form.Open(TimeOut(true));
    ASSERT_TRUE(m_sound.lastEnd);
    EXPECT_FALSE(form.SpeakerBitBtn->isVisible());
    m_sound.lastEnd();
    ASSERT_TRUE(form.SpeakerBitBtn->isVisible());
    EXPECT_EQ(form.SpeakerBitBtn->text(), QStringLiteral("Ещё раз"));
    QTest::mouseClick(form.SpeakerBitBtn, Qt::LeftButton);
    EXPECT_FALSE(form.SpeakerBitBtn->isVisible());
    EXPECT_EQ(m_sound.comments, (std::vector<SoundCategory>{SoundCategory::TimeOut, SoundCategory::TimeOut}));
    EXPECT_EQ(m_sound.replays, (std::vector<bool>{false, true})) << "the same comment again, not a new one";
    late = m_sound.lastEnd;
  }
  late();  // must not touch the destroyed window
}

// While "Ещё раз" shows, the remark and the right interpretation keep to the room left of it:
// through every wrong-answer and time-out remark (the longest among them "Ожидания были
// напрасны", "Не всякое лыко в строку") with an interpretation as long as one may be.
TEST_F(HintWindows, TextsKeepClearOfTheSpeakerButton) {
  auto reg = OpenRegistry();
  THintForm form(*reg, m_random, m_sound, &m_main);
  const QString longest = QStringLiteral("Сейчас наспех обойдём ошибку в коде, а позже исправим всё как следует, да");
  QSet<QString> remarks;
  for (THintForm::Request request : {TimeOut(true), Wrong(true)}) {
    request.interpretation = longest;
    const int showings = request.verdict == HintCase::Wrong ? 144 : 40;
    for (int i = 0; i < showings; ++i) {
      form.Open(request);
      m_sound.lastEnd();
      ASSERT_TRUE(form.SpeakerBitBtn->isVisible());
      const QRect speaker = form.SpeakerBitBtn->geometry();
      const QString remark = form.HintLabel->text();
      remarks.insert(remark);
      for (const QWidget* child : form.findChildren<QWidget*>()) {
        if (child == form.SpeakerBitBtn || !child->isVisible() || child->parentWidget() != &form) continue;
        EXPECT_FALSE(child->geometry().intersects(speaker))
            << child->objectName().toStdString() << " under \"" << remark.toStdString() << "\"";
      }
      // The remark fits its label, wrapped at blanks only.
      const QFontMetrics metrics(form.HintLabel->font());
      const QRect needed =
          metrics.boundingRect(QRect(0, 0, form.HintLabel->width(), 1000), Qt::AlignCenter | Qt::TextWordWrap, remark);
      EXPECT_LE(needed.height(), form.HintLabel->height()) << remark.toStdString();
      EXPECT_LE(needed.width(), form.HintLabel->width()) << remark.toStdString();
      EXPECT_TRUE(form.TrueLabel->text() == longest || form.TrueLabel->toolTip() == longest)
          << "the right answer whole, on view or in the tooltip";
      form.HintBitBtn0->click();
    }
  }
  EXPECT_TRUE(remarks.contains(QStringLiteral("Ожидания были напрасны")));
  EXPECT_TRUE(remarks.contains(QStringLiteral("Не всякое лыко в строку")));
  // Once the button goes again, the texts have the whole width back.
  form.Open(TimeOut(true));
  EXPECT_EQ(form.HintLabel->width(), THintForm::kClientWidth);
  form.HintBitBtn0->click();
}

// The selectors come back from the registry when the window is created and go there, at their
// sizes, when it is destroyed.
TEST_F(HintWindows, SelectorsAreRestoredOnCreationAndStoredOnDestruction) {
  {
    auto reg = OpenRegistry();
    reg->SetRootKey(RootKey::CurrentUser);
    ASSERT_TRUE(reg->OpenKey(kKey, true));
    const QByteArray twelveUsed = QByteArray::fromHex("ff0f0000");
    reg->WriteBinaryData(QStringLiteral("HeartOC"), twelveUsed.constData(), 4);
    reg->CloseKey();
  }
  {
    auto reg = OpenRegistry();
    THintForm form(*reg, m_random, m_sound, &m_main);
    form.Open(Wrong(false));
    EXPECT_EQ(form.HintBitBtn0->text(), QStringLiteral("Ясно")) << "the one remark left was not drawn";
    form.HintBitBtn0->click();
  }
  EXPECT_EQ(Stored("HeartOC"), QByteArray::fromHex("ff1f0000"));
  EXPECT_EQ(Stored("HeartYC"), QByteArray(16, '\0'));
  EXPECT_EQ(Stored("HeartTC"), QByteArray(8, '\0'));
  const QByteArray wrong = Stored("HeartNC");
  ASSERT_EQ(wrong.size(), 20);
  int bits = 0;
  for (char c : wrong) bits += std::popcount(static_cast<unsigned char>(c));
  EXPECT_EQ(bits, 1);

  auto reg = OpenRegistry();
  THintForm again(*reg, m_random, m_sound, &m_main);
  EXPECT_EQ(again.Phrases().Selector(HintList::Wrong).CountUsed(), 1);
  EXPECT_EQ(again.Phrases().Selector(HintList::Button).CountUsed(), 13);
}

// The modal entry point returns on the button and leaves the black button hidden for the next
// answer.
TEST_F(HintWindows, ShowModalReturnsOnTheButtonAndHidesTheBlackButtonAgain) {
  auto reg = OpenRegistry();
  THintForm form(*reg, m_random, m_sound, &m_main);
  QTimer::singleShot(0, &form, [&form] { form.HintBitBtn0->click(); });
  form.ShowModal(Wrong(false));
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(form.HintBitBtn0->isVisibleTo(&form));
  EXPECT_TRUE(form.HintBitBtn->isVisibleTo(&form));
  EXPECT_FALSE(form.JerkTimer->isActive());
}

// --- mark window --------------------------------------------------------------------------

// A 5 flashes in the drawn colours at every tick until the window closes.
TEST_F(HintWindows, MarkFiveFlashesUntilClosed) {
  ScriptedRandom random{10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120};
  TMarkForm form(5, false, random, m_sound, &m_main);
  form.Open();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Итого"));
  EXPECT_EQ(form.Label1->text(), QStringLiteral("Ваша оценка"));
  EXPECT_EQ(form.Label2->text(), QStringLiteral("5"));
  EXPECT_EQ(form.BitBtn1->text(), QStringLiteral("Спасибо"));
  EXPECT_EQ(GlyphImage(form.BitBtn1->icon()), GlyphImage(ButtonGlyphIcon(ButtonGlyph::Green)));
  // Centred on the main window (the offscreen frame adds a couple of pixels).
  const QPoint offCentre = form.frameGeometry().center() - m_main.frameGeometry().center();
  EXPECT_LE(offCentre.manhattanLength(), 4) << offCentre.x() << "," << offCentre.y();
  ASSERT_TRUE(form.MarkTimer->isActive());
  EXPECT_EQ(form.MarkTimer->interval(), 256);

  auto colours = [&form] {
    return std::pair(form.Label2->palette().color(QPalette::Window),
                     form.Label2->palette().color(QPalette::WindowText));
  };
  ASSERT_TRUE(WaitFor([&] { return colours().first == QColor(10, 20, 30); }));
  EXPECT_EQ(colours().second, QColor(40, 50, 60));
  ASSERT_TRUE(WaitFor([&] { return colours().first == QColor(70, 80, 90); }));
  EXPECT_EQ(colours().second, QColor(100, 110, 120));

  QTest::keyClick(&form, Qt::Key_Return);
  EXPECT_FALSE(form.isVisible());
  EXPECT_FALSE(form.MarkTimer->isActive());
  EXPECT_TRUE(m_sound.comments.empty());
}

// Marks 0..3 get the black glyph, 4 the green one; neither flashes; the mark's comment plays
// only with comments on, and only then does "Ещё раз" appear after it.
TEST_F(HintWindows, MarkGlyphAndCommentFollowTheMark) {
  {
    TMarkForm three(3, true, m_random, m_sound, &m_main);
    three.Open();
    EXPECT_EQ(GlyphImage(three.BitBtn1->icon()), GlyphImage(ButtonGlyphIcon(ButtonGlyph::Black)));
    EXPECT_FALSE(three.MarkTimer->isActive());
    EXPECT_EQ(m_sound.comments, std::vector<SoundCategory>{SoundCategory::Mark3});
    ASSERT_TRUE(m_sound.lastEnd);
    m_sound.lastEnd();
    EXPECT_TRUE(three.SpeakerBitBtn->isVisible());
    QTest::mouseClick(three.SpeakerBitBtn, Qt::LeftButton);
    EXPECT_FALSE(three.SpeakerBitBtn->isVisible());
    EXPECT_EQ(m_sound.comments, (std::vector<SoundCategory>{SoundCategory::Mark3, SoundCategory::Mark3}));
    EXPECT_EQ(m_sound.replays, (std::vector<bool>{false, true})) << "the same comment again, not a new one";
    QTest::keyClick(&three, Qt::Key_Escape);
    EXPECT_FALSE(three.isVisible());
    EXPECT_EQ(m_sound.stops, 1);
  }
  m_sound.lastEnd();  // the mark window is freed: nothing happens

  m_sound.comments.clear();
  TMarkForm four(4, false, m_random, m_sound, &m_main);
  four.Open();
  EXPECT_EQ(GlyphImage(four.BitBtn1->icon()), GlyphImage(ButtonGlyphIcon(ButtonGlyph::Green)));
  EXPECT_FALSE(four.MarkTimer->isActive());
  EXPECT_TRUE(m_sound.comments.empty());
  EXPECT_FALSE(four.SpeakerBitBtn->isVisible());
}

// --- screenshots --------------------------------------------------------------------------

void Save(QWidget& w, const QString& name) {
  QDir().mkpath(QStringLiteral(ZV_SCREENS_DIR));
  const QPixmap shot = w.grab();
  EXPECT_EQ(shot.size(), w.size());
  EXPECT_TRUE(shot.save(QStringLiteral(ZV_SCREENS_DIR "/") + name)) << name.toStdString();
}

TEST_F(HintWindows, Screens) {
  auto reg = OpenRegistry();
  THintForm form(*reg, m_random, m_sound, &m_main);
  form.Open(Right(false));
  Save(form, QStringLiteral("hint_right.png"));
  form.HintBitBtn->click();
  THintForm::Request wrong = Wrong(false);
  // As long as an interpretation may be (75 characters).
  wrong.interpretation = QStringLiteral("Сейчас наспех обойдём ошибку в коде, а позже исправим всё как следует, да");
  form.Open(wrong);
  Save(form, QStringLiteral("hint_wrong.png"));
  form.HintBitBtn0->click();
  form.Open(TimeOut(false));
  form.SpeakerBitBtn->show();
  Save(form, QStringLiteral("hint_timeout.png"));
  form.HintBitBtn0->click();
  wrong.commentsOn = true;
  form.Open(wrong);
  m_sound.lastEnd();  // "Ещё раз" comes up beside the remark and the interpretation
  Save(form, QStringLiteral("hint_wrong_replay.png"));
  form.HintBitBtn0->click();

  TMarkForm three(3, false, m_random, m_sound, &m_main);
  three.Open();
  Save(three, QStringLiteral("mark_3.png"));
  TMarkForm replay(4, true, m_random, m_sound, &m_main);
  replay.Open();
  m_sound.lastEnd();  // the mark comment has ended: "Ещё раз"
  Save(replay, QStringLiteral("mark_4_replay.png"));
  ScriptedRandom flash{250, 235, 200, 20, 60, 160};
  TMarkForm five(5, false, flash, m_sound, &m_main);
  five.Open();
  ASSERT_TRUE(WaitFor([&] { return five.Label2->palette().color(QPalette::Window) == QColor(250, 235, 200); }));
  five.MarkTimer->stop();
  Save(five, QStringLiteral("mark_5.png"));
}

}  // namespace
}  // namespace zv
