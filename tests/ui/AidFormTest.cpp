// The protocol renderer and the protocol view of the task list window, headless.

#include "exam/Protocol.h"
#include "support/TestApplication.h"
#include "ui/ProgramLook.h"
#include "ui/ProtocolView.h"
#include "ui/TAidForm.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <memory>
#include <optional>
#include <vector>

namespace zv {
namespace {

ZV_TEST_APPLICATION(QApplication);

constexpr RunStyle kPlain{};
constexpr RunStyle kBold{true, false, false};
constexpr RunStyle kItalic{false, true, false};
constexpr RunStyle kStruck{false, false, true};

const QString kWrapNotice =
    QStringLiteral("Все имеющиеся в программе задания пройдены.\r\nРабота и статистика вновь начинается с нуля.");

void Write(ProtocolDocument& p, const QString& text, RunStyle style, std::uint32_t colour) {
  p.SetAttributes(style, colour);
  p.Append(text);
}

// One fragment of a rendered block: its text and the attributes the view gives it.
struct Fragment {
  QString text;
  bool bold;
  bool italic;
  bool strikeOut;
  QRgb colour;
};

std::vector<Fragment> Fragments(const QTextBlock& block) {
  std::vector<Fragment> out;
  for (auto it = block.begin(); !it.atEnd(); ++it) {
    const QTextFragment f = it.fragment();
    const QTextCharFormat c = f.charFormat();
    out.push_back({f.text(),
                   c.fontWeight() >= QFont::Bold,
                   c.fontItalic(),
                   c.fontStrikeOut(),
                   c.foreground().color().rgb() & 0xFFFFFFu});
  }
  return out;
}

// --- renderer --------------------------------------------------------------------------------

TEST(ProtocolView, KeepsRunsAttributesAndAlignment) {
  ProtocolDocument p;
  p.SetAlignment(Align::Centre);
  Write(p, QStringLiteral(" "), kPlain, kBlack);
  Write(p, QStringLiteral("ПРОТОКОЛ\n"), kBold, kBlue);
  p.SetAlignment(Align::Left);
  Write(p, QStringLiteral("10:00:01 Выбран неверный аналог: "), kPlain, kBlack);
  Write(p, QStringLiteral("не то\n"), kStruck, kGreen);
  Write(p, QStringLiteral("На ответ затрачено 3,4 с\n\n"), kItalic, kBlack);
  p.SetAlignment(Align::Centre);
  Write(p, QStringLiteral("Итоговая оценка: "), kBold, kBlue);
  Write(p, QStringLiteral("4"), kBold, kRed);

  QTextDocument doc;
  doc.setPlainText(QStringLiteral("left over from before"));
  QFont font = DefaultProtocolFont();
  font.setPointSize(11);
  RenderProtocol(p, doc, font);

  EXPECT_EQ(doc.defaultFont().pointSize(), 11);
  EXPECT_EQ(doc.defaultFont().families().value(0), QStringLiteral("Arial"));
  EXPECT_FALSE(doc.isUndoAvailable());
  ASSERT_EQ(doc.blockCount(), 5);
  EXPECT_EQ(doc.toPlainText(), p.PlainText());

  struct Expected {
    Qt::Alignment align;
    std::vector<Fragment> fragments;
  };
  const std::vector<Expected> expected = {
      {Qt::AlignHCenter,
       {{QStringLiteral(" "), false, false, false, 0x000000},
        {QStringLiteral("ПРОТОКОЛ"), true, false, false, 0x0000FF}}},
      {Qt::AlignLeft,
       {{QStringLiteral("10:00:01 Выбран неверный аналог: "), false, false, false, 0x000000},
        {QStringLiteral("не то"), false, false, true, 0x008000}}},
      {Qt::AlignLeft, {{QStringLiteral("На ответ затрачено 3,4 с"), false, true, false, 0x000000}}},
      {Qt::AlignLeft, {}},
      {Qt::AlignHCenter,
       {{QStringLiteral("Итоговая оценка: "), true, false, false, 0x0000FF},
        {QStringLiteral("4"), true, false, false, 0xFF0000}}},
  };
  QTextBlock block = doc.begin();
  for (std::size_t i = 0; i < expected.size(); ++i, block = block.next()) {
    SCOPED_TRACE(i);
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, expected[i].align);
    const std::vector<Fragment> got = Fragments(block);
    ASSERT_EQ(got.size(), expected[i].fragments.size());
    for (std::size_t k = 0; k < got.size(); ++k) {
      const Fragment& e = expected[i].fragments[k];
      EXPECT_EQ(got[k].text, e.text);
      EXPECT_EQ(got[k].bold, e.bold);
      EXPECT_EQ(got[k].italic, e.italic);
      EXPECT_EQ(got[k].strikeOut, e.strikeOut);
      EXPECT_EQ(got[k].colour, e.colour) << k;
    }
  }
}

// "\r\n" must neither show as a glyph nor add an empty paragraph: written through the document
// it ends a paragraph; left inside a run's text it is a line break within the paragraph.
TEST(ProtocolView, CarriageReturnsRenderAsLineEnds) {
  ProtocolDocument written;
  Write(written, kWrapNotice + QStringLiteral("\n\n"), kBold, kBlack);
  Write(written, QStringLiteral("10:00:00 Пояснить: "), kPlain, kBlack);
  QTextDocument doc;
  RenderProtocol(written, doc);
  EXPECT_EQ(doc.blockCount(), 4);
  EXPECT_FALSE(doc.toPlainText().contains(QLatin1Char('\r')));
  EXPECT_EQ(doc.begin().text(), QStringLiteral("Все имеющиеся в программе задания пройдены."));

  struct Case {
    QString in;
    QString out;
  };
  const QString br(QChar::LineSeparator);
  const std::vector<Case> cases = {
      {QStringLiteral("a\r\nb"), QStringLiteral("a") + br + QStringLiteral("b")},
      {QStringLiteral("a\rb"), QStringLiteral("a") + br + QStringLiteral("b")},
      {QStringLiteral("a\nb\r"), QStringLiteral("a") + br + QStringLiteral("b") + br},
      {QStringLiteral("a\tb"), QStringLiteral("a\tb")},
      {QStringLiteral("a\x01\x1b"
                      "b"),
       QStringLiteral("ab")},
  };
  for (const Case& c : cases) EXPECT_EQ(ProtocolDisplayText(c.in), c.out) << c.in.toStdString();
}

// --- the window ------------------------------------------------------------------------------

// The environment variables of the user name, set for one scope and restored after it.
class ScopedUserEnv {
 public:
  ScopedUserEnv(std::optional<QByteArray> user, std::optional<QByteArray> logname)
      : m_user(Take("USER")), m_logname(Take("LOGNAME")) {
    Put("USER", user);
    Put("LOGNAME", logname);
  }
  ~ScopedUserEnv() {
    Put("USER", m_user);
    Put("LOGNAME", m_logname);
  }

 private:
  static std::optional<QByteArray> Take(const char* name) {
    if (!qEnvironmentVariableIsSet(name)) return std::nullopt;
    return qgetenv(name);
  }
  static void Put(const char* name, const std::optional<QByteArray>& value) {
    if (value)
      qputenv(name, *value);
    else
      qunsetenv(name);
  }
  std::optional<QByteArray> m_user;
  std::optional<QByteArray> m_logname;
};

TEST(AidForm, CaptionNamesTheUser) {
  const QString prefix = QStringLiteral("Зорвик. Пользователь: ");
  struct Case {
    std::optional<QByteArray> user;
    std::optional<QByteArray> logname;
    QString shown;
  };
  const QByteArray longName(300, 'x');
  const std::vector<Case> cases = {
      {QByteArray("ivan"), QByteArray("other"), QStringLiteral("ivan")},
      {std::nullopt, QByteArray("petr"), QStringLiteral("petr")},
      {QByteArray(), QByteArray("petr"), QStringLiteral("petr")},
      {std::nullopt, std::nullopt, QStringLiteral("неизвестен")},
      {longName, std::nullopt, QString(254, QLatin1Char('x'))},
  };
  for (const Case& c : cases) {
    ScopedUserEnv env(c.user, c.logname);
    TAidForm form(nullptr);
    EXPECT_EQ(form.windowTitle(), prefix + c.shown);
  }
}

TEST(AidForm, ProvLabelQuotesTheSayingWithACapital) {
  struct Case {
    QString saying;
    QString shown;
  };
  const std::vector<Case> cases = {
      {QStringLiteral("тише едешь - дальше будешь"), QStringLiteral("\"Тише едешь - дальше будешь\"")},
      {QStringLiteral("\"ёж не по лесу\""), QStringLiteral("\"Ёж не по лесу\"")},
      {QStringLiteral("  Уже с большой "), QStringLiteral("\"Уже с большой\"")},
      {QStringLiteral("..и так бывает"), QStringLiteral("\"..И так бывает\"")},
      {QString(), QString()},
  };
  for (const Case& c : cases) EXPECT_EQ(TAidForm::ProvLabelText(c.saying), c.shown) << c.saying.toStdString();
}

// A protocol as an exam of five tasks writes it: header, a wrap notice, a right and a wrong
// answer, a time-out and the summary with the red mark.
ProtocolDocument ExamProtocol() {
  ProtocolDocument p;
  p.Clear();
  p.BeginUpdate();
  p.SetAttributes(kPlain, kBlack);
  p.SetAlignment(Align::Centre);
  p.Append(QStringLiteral(" "));
  Write(p, QStringLiteral("ПРОТОКОЛ ПРОВЕРКИ\nПОНИМАНИЯ РУССКОГО ЯЗЫКА\n"), kBold, kBlue);
  Write(p, QStringLiteral("средствами программы Зорвик 1500\n"), kBold, kBlue);
  p.SetAttributes(kPlain, kBlack);
  p.Append(QStringLiteral("14.03.2026\n"));
  p.Append(QStringLiteral("В экзамене 5 заданий\nПредставление заданий: только текст\n"));
  p.Append(QStringLiteral("Установлено ограничение времени на один ответ - 20с.\n"));
  p.Append(QStringLiteral("\n"));
  p.SetAlignment(Align::Left);

  auto task = [&](const QString& time, const QString& verb, const QString& phrase) {
    Write(p, time + QLatin1Char(' ') + verb + QStringLiteral(": "), kPlain, kBlack);
    Write(p, phrase + QLatin1Char('\n'), kBold, kBlue);
  };
  auto spent = [&](const QString& elapsed) {
    Write(p, QStringLiteral("На ответ затрачено ") + elapsed + QStringLiteral("\n\n"), kItalic, kBlack);
  };

  Write(p, kWrapNotice + QStringLiteral("\n\n"), kBold, kBlack);
  task(QStringLiteral("14:02:11"), QStringLiteral("Растолковать"), QStringLiteral("Без напряга"));
  Write(p, QStringLiteral("14:02:16 "), kPlain, kBlack);
  Write(p, QStringLiteral("Выбрано верное толкование: "), kPlain, kBlack);
  Write(p, QStringLiteral("Легко, без усилий\n"), kBold, kGreen);
  spent(QStringLiteral("5,2 с"));

  task(QStringLiteral("14:02:19"), QStringLiteral("Пояснить"), QStringLiteral("Вешать лапшу на уши"));
  Write(p, QStringLiteral("14:02:31 "), kPlain, kBlack);
  Write(p, QStringLiteral("Выбран неправильный аналог: "), kPlain, kBlack);
  Write(p, QStringLiteral("Кормить досыта\n"), kStruck, kGreen);
  Write(p, QString(14, QLatin1Char(' ')) + QStringLiteral("Правильный аналог: "), kPlain, kBlack);
  Write(p, QStringLiteral("Обманывать, рассказывать небылицы\n"), kBold, kGreen);
  spent(QStringLiteral("12 с"));

  task(QStringLiteral("14:02:34"), QStringLiteral("Выбрать аналог"), QStringLiteral("Сесть в лужу"));
  Write(p, QStringLiteral("14:02:54 "), kPlain, kBlack);
  Write(p, QStringLiteral("Время, отпущенное на ответ, истекло.\n"), kBold, kBlack);
  spent(QStringLiteral("20 с"));

  task(QStringLiteral("14:02:57"), QStringLiteral("Дать трактовку"), QStringLiteral("Ни в зуб ногой"));
  Write(p, QStringLiteral("14:03:04 "), kPlain, kBlack);
  Write(p, QStringLiteral("Выбрана правильная трактовка: "), kPlain, kBlack);
  Write(p, QStringLiteral("Совсем ничего не знать\n"), kBold, kGreen);
  spent(QStringLiteral("7,5 с"));

  task(QStringLiteral("14:03:06"), QStringLiteral("Пояснить"), QStringLiteral("Как с гуся вода"));
  Write(p, QStringLiteral("14:03:10 "), kPlain, kBlack);
  Write(p, QStringLiteral("Выбран верный ответ: "), kPlain, kBlack);
  Write(p, QStringLiteral("Всё нипочём\n"), kBold, kGreen);
  spent(QStringLiteral("4,1 с"));

  p.SetAlignment(Align::Centre);
  Write(p, QStringLiteral("Экзамен длился "), kBold, kBlue);
  Write(p, QStringLiteral("1 м 02 с\nПравильных ответов: 3\nИтоговая оценка: "), kBold, kBlue);
  Write(p, QStringLiteral("3"), kBold, kRed);
  p.EndUpdate();
  return p;
}

class AidWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    m_main.setGeometry(100, 80, 800, 600);
    m_main.show();
  }

  // What the list view shows and the protocol view hides, and the other way round.
  void ExpectListView(TAidForm& form) {
    EXPECT_EQ(form.KeyEditTag, 0);
    EXPECT_FALSE(form.InProtocolView());
    EXPECT_FALSE(form.ProvPanel->isVisibleTo(&form));
    EXPECT_TRUE(form.AidPanel->isVisibleTo(&form));
  }

  QWidget m_main;
};

TEST_F(AidWindow, ProtocolViewAndBackAfterClosing) {
  TAidForm form(&m_main);
  EXPECT_EQ(form.size(), QSize(594, 459));
  EXPECT_EQ(form.minimumSize(), QSize(594, 200));
  ExpectListView(form);
  EXPECT_TRUE(form.TricksLabel->isVisibleTo(&form));

  const ProtocolDocument protocol = ExamProtocol();
  form.OpenProtocol(protocol, QStringLiteral("не всё коту масленица"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_EQ(form.KeyEditTag, 1);
  EXPECT_TRUE(form.InProtocolView());
  EXPECT_FALSE(form.AidPanel->isVisible());
  EXPECT_FALSE(form.TricksLabel->isVisible());
  EXPECT_FALSE(form.TricksComboBox->isVisible());
  EXPECT_TRUE(form.ProvPanel->isVisible());
  EXPECT_TRUE(form.OKBitBtn->isVisible());
  EXPECT_EQ(form.ProvLabel->text(), QStringLiteral("\"Не всё коту масленица\""));
  EXPECT_EQ(form.ProvPanel->geometry().bottom(), form.rect().bottom());
  EXPECT_EQ(form.AidRichEdit->geometry().bottom() + 1, form.ProvPanel->y());
  EXPECT_EQ(form.AidRichEdit->toPlainText(), protocol.PlainText());
  EXPECT_EQ(form.AidRichEdit->textCursor().position(), 0);
  EXPECT_FALSE(form.AidRichEdit->textCursor().hasSelection());
  EXPECT_TRUE(form.AidRichEdit->isReadOnly());
  // Centred on the main window.
  EXPECT_LE((form.frameGeometry().center() - m_main.frameGeometry().center()).manhattanLength(), 1);

  form.OKBitBtn->click();
  EXPECT_FALSE(form.isVisible());
  ExpectListView(form);
  // Esc closes the protocol view the same way.
  form.OpenProtocol(protocol, QString());
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_TRUE(form.ProvLabel->text().isEmpty());
  QTest::keyClick(&form, Qt::Key_Escape);
  EXPECT_FALSE(form.isVisible());
  ExpectListView(form);
}

TEST_F(AidWindow, ModalShowingRestoresTheListView) {
  TAidForm form(&m_main);
  bool sawProtocolView = false;
  QTimer::singleShot(0, &form, [&] {
    sawProtocolView = form.isVisible() && form.KeyEditTag == 1 && form.ProvPanel->isVisible();
    form.OKBitBtn->click();
  });
  form.ShowProtocol(ExamProtocol(), QStringLiteral("делу время"));
  EXPECT_TRUE(sawProtocolView);
  EXPECT_FALSE(form.isVisible());
  ExpectListView(form);
}

// In the protocol view a right-button release over a selection offers "Копировать в буфер",
// which copies the selection as rich and plain text and collapses it; the list view offers
// nothing.
TEST_F(AidWindow, ProtocolSelectionCopiesToTheClipboard) {
  TAidForm form(&m_main);
  form.OpenProtocol(ExamProtocol(), QStringLiteral("делу время"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QWidget* viewport = form.AidRichEdit->viewport();
  const QPoint inside(40, 40);

  QTest::mouseRelease(viewport, Qt::RightButton, {}, inside);
  EXPECT_FALSE(form.PopupMenu->isVisible());  // nothing selected yet

  QTextCursor c = form.AidRichEdit->textCursor();
  c.movePosition(QTextCursor::NextBlock);
  c.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
  form.AidRichEdit->setTextCursor(c);
  QTest::mouseRelease(viewport, Qt::RightButton, {}, inside);
  EXPECT_TRUE(form.PopupMenu->isVisible());
  EXPECT_EQ(form.PopupMenu->pos(), viewport->mapToGlobal(inside) + QPoint(-48, 8));
  EXPECT_EQ(form.CopyToBuf->text(), QStringLiteral("Копировать в буфер"));
  form.PopupMenu->hide();

  QGuiApplication::clipboard()->clear();
  form.CopyToBuf->trigger();
  const QMimeData* copied = QGuiApplication::clipboard()->mimeData();
  ASSERT_NE(copied, nullptr);
  EXPECT_EQ(copied->text(), QStringLiteral("ПОНИМАНИЯ РУССКОГО ЯЗЫКА"));
  EXPECT_TRUE(copied->hasHtml());
  EXPECT_FALSE(form.AidRichEdit->textCursor().hasSelection());

  form.OKBitBtn->click();
  form.show();  // the list view: no menu even over a selection
  form.AidRichEdit->selectAll();
  QTest::mouseRelease(viewport, Qt::RightButton, {}, inside);
  EXPECT_FALSE(form.PopupMenu->isVisible());
  form.hide();
}

TEST_F(AidWindow, Screenshot) {
  ApplyProgramFont();  // as the program sets it at start-up
  TAidForm form(&m_main);
  form.OpenProtocol(ExamProtocol(), QStringLiteral("делу время, потехе час"));
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  QDir().mkpath(QStringLiteral(ZV_SCREENS_DIR));
  const QPixmap shot = form.grab();
  EXPECT_EQ(shot.size(), form.size());
  EXPECT_TRUE(shot.save(QStringLiteral(ZV_SCREENS_DIR "/protocol.png")));
  form.OKBitBtn->click();
}

}  // namespace
}  // namespace zv
