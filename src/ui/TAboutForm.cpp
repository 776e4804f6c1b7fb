#include "ui/TAboutForm.h"

#include "ui/ShellOpen.h"
#include "ui/WidgetColours.h"

#include <QApplication>
#include <QEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextList>
#include <QTimer>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

const QColor kCream(0xFF, 0xFB, 0xF0);
const QColor kLinkColour(0x00, 0x00, 0x80);   // navy
const QColor kHoverColour(0x00, 0x00, 0xFF);  // blue
constexpr int kIconSize = 32;

QFont Arial(int pixels, bool bold = false, bool italic = false, bool underline = false) {
  QFont f(u"Arial"_s);
  f.setPixelSize(pixels);
  f.setBold(bold);
  f.setItalic(italic);
  f.setUnderline(underline);
  return f;
}

void SetTextColour(QWidget* w, const QColor& colour) {
  QPalette p = w->palette();
  p.setColor(QPalette::WindowText, colour);
  p.setColor(QPalette::Text, colour);
  w->setPalette(p);
}

// The link pictures, drawn rather than shipped: a rounded badge with the network's letters, a
// heart for support, an envelope for mail.
enum class Icon { Social, Grant, Mail };

QPixmap DrawIcon(Icon icon) {
  QPixmap pm(kIconSize, kIconSize);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  switch (icon) {
    case Icon::Social:
      p.setPen(Qt::NoPen);
      p.setBrush(QColor(0x44, 0x75, 0xA8));
      p.drawRoundedRect(QRectF(1, 1, 30, 30), 7, 7);
      p.setPen(Qt::white);
      p.setFont(Arial(14, true));
      p.drawText(QRect(0, 0, kIconSize, kIconSize), Qt::AlignCenter, u"ВК"_s);
      break;
    case Icon::Grant: {
      QPainterPath heart;
      heart.moveTo(16, 28);
      heart.cubicTo(2, 19, 1, 9, 8, 6);
      heart.cubicTo(12, 4, 15, 7, 16, 10);
      heart.cubicTo(17, 7, 20, 4, 24, 6);
      heart.cubicTo(31, 9, 30, 19, 16, 28);
      p.setPen(QPen(QColor(0x90, 0x10, 0x20), 1.2));
      p.setBrush(QColor(0xE0, 0x30, 0x40));
      p.drawPath(heart);
      break;
    }
    case Icon::Mail:
      p.setPen(QPen(kLinkColour, 1.5));
      p.setBrush(QColor(0xFF, 0xF8, 0xD8));
      p.drawRect(QRectF(2.5, 7.5, 27, 18));
      p.drawLine(QPointF(2.5, 7.5), QPointF(16, 18));
      p.drawLine(QPointF(29.5, 7.5), QPointF(16, 18));
      break;
  }
  return pm;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text, const QRect& at, const QFont& font) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QLatin1String(name));
  l->setGeometry(at);
  l->setFont(font);
  return l;
}

QLabel* MakeImage(QWidget* parent, const char* name, Icon icon, QPoint at) {
  auto* l = new QLabel(parent);
  l->setObjectName(QLatin1String(name));
  l->setPixmap(DrawIcon(icon));
  l->setGeometry(at.x(), at.y(), kIconSize, kIconSize);
  l->setCursor(Qt::PointingHandCursor);
  return l;
}

}  // namespace

TAboutForm::TAboutForm(const AboutFacts& facts, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_facts(facts) {
  setObjectName(u"AboutForm"_s);
  setFixedSize(kClientWidth, kClientHeight);
  setFont(Arial(12));
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, Qt::white);
  setPalette(pal);
  CreateControls();
  FormCreate();
}

void TAboutForm::CreateControls() {
  Label1 = MakeLabel(this, "Label1", QString(), QRect(0, 0, kClientWidth, 38), Arial(24, true));
  Label1->setAlignment(Qt::AlignCenter);
  Label1->setAutoFillBackground(true);
  QPalette p = Label1->palette();
  p.setColor(QPalette::Window, kSkyBlue);
  p.setColor(QPalette::WindowText, Qt::white);
  Label1->setPalette(p);

  VersionLabel = MakeLabel(this, "VersionLabel", QString(), QRect(0, 40, kClientWidth, 18), Arial(13, true));
  VersionLabel->setAlignment(Qt::AlignCenter);

  SndVerLabel = MakeLabel(this, "SndVerLabel", QString(), QRect(4, 60, kClientWidth - 8, kCoverageHeight),
                          Arial(11, false, true));
  SndVerLabel->setAlignment(Qt::AlignCenter);
  SndVerLabel->setWordWrap(true);
  SetTextColour(SndVerLabel, kHoverColour);

  WareLabel = MakeLabel(this, "WareLabel", u"Программа бесплатная, распространяется свободно"_s,
                        QRect(0, 0, kClientWidth, 18), Arial(12, true));
  WareLabel->setAlignment(Qt::AlignCenter);

  SrcRichEdit = new QTextEdit(this);
  SrcRichEdit->setObjectName(u"SrcRichEdit"_s);
  SrcRichEdit->setReadOnly(true);
  SrcRichEdit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  SrcRichEdit->setFocusPolicy(Qt::StrongFocus);
  SrcRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  SrcRichEdit->setFont(Arial(12));
  QPalette ep = SrcRichEdit->palette();
  ep.setColor(QPalette::Base, kCream);
  ep.setColor(QPalette::Text, Qt::black);
  SrcRichEdit->setPalette(ep);

  constexpr int groupHeight = 112;
  GroupBox1 = new QGroupBox(this);
  GroupBox1->setObjectName(u"GroupBox1"_s);
  GroupBox1->setGeometry(4, kClientHeight - groupHeight - 4, kClientWidth - 8, groupHeight);
  const QFont linkFont = Arial(12, false, false, true);
  WelcomeLabel = MakeLabel(GroupBox1, "WelcomeLabel", u"Интернет-служба:"_s, QRect(10, 10, 120, 18), Arial(12, true));
  WebLabel = MakeLabel(GroupBox1, "WebLabel", QString(), QRect(132, 10, 210, 18), linkFont);
  WebLabel->setToolTip(u"Сайт программы"_s);
  VKImage = MakeImage(GroupBox1, "VKImage", Icon::Social, QPoint(14, 38));
  VKImage->setToolTip(u"Зорвик ВКонтакте"_s);
  GrantImage = MakeImage(GroupBox1, "GrantImage", Icon::Grant, QPoint(66, 38));
  GrantLabel = MakeLabel(GroupBox1, "GrantLabel", u"Как помочь\nэтому проекту"_s,
                         QRect(102, 38, 96, 34), linkFont);
  MailImage = MakeImage(GroupBox1, "MailImage", Icon::Mail, QPoint(206, 38));
  MailLabel = MakeLabel(GroupBox1, "MailLabel", u"Письмо автору"_s, QRect(242, 46, 104, 18), linkFont);
  for (QWidget* w : {static_cast<QWidget*>(MailImage), static_cast<QWidget*>(MailLabel)})
    w->setToolTip(u"Правка и отправка"_s);
  AddressEdit = new QLineEdit(GroupBox1);
  AddressEdit->setObjectName(u"AddressEdit"_s);
  AddressEdit->setGeometry(10, 82, kClientWidth - 28, 20);
  AddressEdit->setFrame(false);
  AddressEdit->setReadOnly(true);
  AddressEdit->setFocusPolicy(Qt::ClickFocus);
  AddressEdit->setAlignment(Qt::AlignCenter);
  AddressEdit->setFont(Arial(12));

  for (QLabel* link : {WebLabel, GrantLabel, MailLabel}) {
    SetTextColour(link, kLinkColour);
    link->setCursor(Qt::PointingHandCursor);
  }
  for (QLabel* clickable : {WebLabel, VKImage, GrantImage, GrantLabel, MailImage, MailLabel})
    clickable->installEventFilter(this);
}

void TAboutForm::FormCreate() {
  setWindowTitle(m_facts.addresses.notice);
  Label1->setText(m_facts.programName);
  VersionLabel->setText(u"версия "_s + m_facts.versionLabel);

  const CoverageText coverage = BuildCoverageText(m_facts.coverage);
  // A label breaks lines at "\n"; a lone "\r" would show as a character.
  SndVerLabel->setText(QString(coverage.text).replace(u"\r\n"_s, u"\n"_s));
  SndVerLabel->setToolTip(coverage.hint);
  // The label grows for its extra lines; what lies below moves down and the credits give way.
  SndVerLabel->resize(SndVerLabel->width(), kCoverageHeight + coverage.labelGrowth);
  const int wareTop = SndVerLabel->geometry().bottom() + 3;
  WareLabel->move(0, wareTop);
  const int editTop = wareTop + WareLabel->height() + 4;
  SrcRichEdit->setGeometry(4, editTop, kClientWidth - 8, GroupBox1->y() - 4 - editTop);

  WebLabel->setText(m_facts.addresses.webSite);
  AddressEdit->setText(m_facts.addresses.mailAddress);
  AddressEdit->setCursorPosition(0);
  WriteCredits();
}

void TAboutForm::WriteCredits() {
  SrcRichEdit->setUpdatesEnabled(false);
  QTextDocument* doc = SrcRichEdit->document();
  doc->clear();
  doc->setIndentWidth(14);  // a bullet just inside the margin, the text close by
  QTextCursor cursor(doc);
  QTextList* bullets = nullptr;
  for (const AboutFragment& fragment : BuildAboutFragments(m_facts.credits)) {
    QTextCharFormat format;
    format.setForeground(QColor::fromRgb(fragment.colour));
    format.setFontWeight(fragment.bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(fragment.italic);
    const QStringList paragraphs = fragment.text.split(u'\n');
    for (qsizetype i = 0; i < paragraphs.size(); ++i) {
      // Every paragraph starts plain; the fragment that writes text into it decides whether
      // it is a bullet point, so a line break alone never leaves an empty bullet behind.
      if (i > 0) cursor.insertBlock(QTextBlockFormat(), format);
      if (paragraphs[i].isEmpty()) continue;
      if (fragment.bulleted && cursor.currentList() == nullptr) {
        if (bullets == nullptr) {
          QTextListFormat list;
          list.setStyle(QTextListFormat::ListDisc);
          list.setIndent(1);
          bullets = cursor.createList(list);
        } else {
          bullets->add(cursor.block());
        }
      }
      cursor.insertText(paragraphs[i], format);
    }
  }
  cursor.movePosition(QTextCursor::Start);
  SrcRichEdit->setTextCursor(cursor);
  SrcRichEdit->setUpdatesEnabled(true);
}

void TAboutForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  SrcRichEdit->setFocus();
}

bool TAboutForm::eventFilter(QObject* watched, QEvent* event) {
  auto* label = qobject_cast<QLabel*>(watched);
  if (label == nullptr) return QDialog::eventFilter(watched, event);
  const bool text = label == WebLabel || label == GrantLabel || label == MailLabel;
  switch (event->type()) {
    case QEvent::Enter:
      if (text) SetTextColour(label, kHoverColour);
      break;
    case QEvent::Leave:
      if (text) SetTextColour(label, kLinkColour);
      break;
    case QEvent::MouseButtonRelease:
    {
      // The filter sees events before the widget does, a pressed (disabled) link's too.
      const auto* mouse = static_cast<QMouseEvent*>(event);
      if (!label->isEnabled() || mouse->button() != Qt::LeftButton ||
          !label->rect().contains(mouse->position().toPoint()))
        break;
    }
      if (label == WebLabel) WebLabelClick();
      if (label == VKImage) VKImageClick();
      if (label == GrantLabel || label == GrantImage) GrantLabelClick(label);
      if (label == MailLabel || label == MailImage) MailLabelClick(label);
      return true;
    default:
      break;
  }
  return QDialog::eventFilter(watched, event);
}

void TAboutForm::OpenLink(QWidget* control, const QString& target) {
  const QPoint home = control->pos();
  control->move(home + QPoint(0, 2));
  control->setEnabled(false);
  QApplication::processEvents();
  // Whether the desktop could open the target or not, only the pressed state shows.
  ShellOpen(target);
  // The window stays live while the link is pressed; the control comes back by itself.
  QTimer::singleShot(kPressedMs, control, [control, home] {
    control->setEnabled(true);
    control->move(home);
  });
}

void TAboutForm::WebLabelClick() { OpenLink(WebLabel, WebTarget(WebLabel->text())); }

void TAboutForm::VKImageClick() { OpenLink(VKImage, m_facts.addresses.socialPage); }

void TAboutForm::GrantLabelClick(QWidget* control) {
  OpenLink(control, GrantTarget(m_facts.addresses.supportHost, m_facts.russianLocale));
}

void TAboutForm::MailLabelClick(QWidget* control) {
  OpenLink(control, MailTarget(AddressEdit->text(), m_facts.escapedClientId, m_facts.coverage));
}

}  // namespace zv
