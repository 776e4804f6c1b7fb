#include "ui/TAidForm.h"

#include "ui/ModalRun.h"
#include "ui/ProtocolView.h"
#include "ui/TBitBtn.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QTextCursor>
#include <QTextEdit>
#include <QVBoxLayout>

namespace zv {
namespace {

const QColor kFace(0xEC, 0xEC, 0xE8);
const QColor kProvPanelColor(0xEE, 0xF1, 0xF6);
const QColor kSayingColor(0x1B, 0x2F, 0x6B);  // dark blue
const QColor kLinkColor(0x00, 0x00, 0xA0);
const QColor kWholeLabelColor(0x00, 0x80, 0x80);  // teal while "целиком" is not ticked

// "Хва": the main window's cancel letter set tight against "ва".
QPushButton* MakeCancelButton(QWidget* parent, const char* name) {
  auto* b = new TBitBtn(parent);
  b->setText(QStringLiteral("ва"));
  b->setObjectName(QLatin1String(name));
  b->SetKind(GlyphKind::Cancel);
  b->SetCentred(true);
  b->setMinimumSize(72, 26);
  return b;
}

QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption) {
  auto* b = new QPushButton(caption, parent);
  b->setObjectName(QLatin1String(name));
  return b;
}

QLabel* MakeLabel(QWidget* parent, const char* name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(QLatin1String(name));
  return l;
}

// An underlined label that acts as a link.
QLabel* MakeLink(QWidget* parent, const char* name, const QString& text) {
  QLabel* l = MakeLabel(parent, name, text);
  QFont f = l->font();
  f.setUnderline(true);
  l->setFont(f);
  QPalette pal = l->palette();
  pal.setColor(QPalette::WindowText, kLinkColor);
  l->setPalette(pal);
  l->setCursor(Qt::PointingHandCursor);
  return l;
}

QFrame* MakePanel(QWidget* parent, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QLatin1String(name));
  panel->setAutoFillBackground(true);
  panel->setPalette(QPalette(kFace));
  return panel;
}

}  // namespace

TAidForm::TAidForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                          Qt::WindowCloseButtonHint),
      m_viewFont(DefaultProtocolFont()) {
  setObjectName(QStringLiteral("AidForm"));
  setMinimumSize(kMinWidth, kMinHeight);
  resize(kDesignWidth, kDesignHeight);

  auto* column = new QVBoxLayout(this);
  column->setContentsMargins(0, 0, 0, 0);
  column->setSpacing(0);

  // Top: the list font and the tricks with what has been passed.
  TopPanel = MakePanel(this, "TopPanel");
  auto* top = new QHBoxLayout(TopPanel);
  top->setContentsMargins(8, 3, 8, 3);
  top->setSpacing(4);
  top->addWidget(MakeLabel(TopPanel, "TopPanelCaption", QStringLiteral("Шрифт:")));
  FontLabel = MakeLink(TopPanel, "FontLabel", QString());
  top->addWidget(FontLabel);
  FontUpDown = new QSpinBox(TopPanel);
  FontUpDown->setObjectName(QStringLiteral("FontUpDown"));
  FontUpDown->setRange(6, 12);
  FontUpDown->setValue(8);
  top->addSpacing(2);
  top->addWidget(FontUpDown);
  top->addStretch(1);
  TricksLabel = MakeLink(TopPanel, "TricksLabel", QStringLiteral("Проделки с пройденным"));
  top->addWidget(TricksLabel);
  TricksComboBox = new QComboBox(TopPanel);
  TricksComboBox->setObjectName(QStringLiteral("TricksComboBox"));
  TricksComboBox->addItems({QStringLiteral("Сохранить пройденное в файл"), QStringLiteral("\"Забыть\" о пройденном")});
  TricksComboBox->hide();
  top->addWidget(TricksComboBox);
  column->addWidget(TopPanel);

  // The list or the protocol.
  AidRichEdit = new QTextEdit(this);
  AidRichEdit->setObjectName(QStringLiteral("AidRichEdit"));
  AidRichEdit->setReadOnly(true);
  AidRichEdit->setUndoRedoEnabled(false);
  AidRichEdit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  AidRichEdit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  AidRichEdit->setLineWrapMode(QTextEdit::WidgetWidth);
  AidRichEdit->setContextMenuPolicy(Qt::NoContextMenu);
  {
    QPalette pal = AidRichEdit->palette();
    pal.setColor(QPalette::Base, Qt::white);
    pal.setColor(QPalette::Text, Qt::black);
    AidRichEdit->setPalette(pal);
  }
  AidRichEdit->viewport()->installEventFilter(this);
  column->addWidget(AidRichEdit, 1);

  // Bottom: the search.
  AidPanel = MakePanel(this, "AidPanel");
  auto* search = new QHBoxLayout(AidPanel);
  search->setContentsMargins(8, 5, 8, 5);
  search->setSpacing(4);
  ShowLabel = MakeLabel(AidPanel, "ShowLabel", QStringLiteral("Искать задания, содержащие"));
  search->addWidget(ShowLabel);
  KeyEdit = new QLineEdit(AidPanel);
  KeyEdit->setObjectName(QStringLiteral("KeyEdit"));
  {
    QFont f = KeyEdit->font();
    f.setBold(true);
    KeyEdit->setFont(f);
    QPalette pal = KeyEdit->palette();
    pal.setColor(QPalette::Text, Qt::red);
    KeyEdit->setPalette(pal);
  }
  search->addWidget(KeyEdit, 1);
  FilterBitBtn = MakeButton(AidPanel, "FilterBitBtn", QStringLiteral("Найти!"));
  FilterBitBtn->setDefault(true);
  FilterBitBtn->hide();
  search->addWidget(FilterBitBtn);
  FoundNumLabel = MakeLabel(AidPanel, "FoundNumLabel", QStringLiteral("Найдено: "));
  FoundNumLabel->hide();
  search->addWidget(FoundNumLabel);
  search->addSpacing(6);
  WholeCheckBox = new QCheckBox(AidPanel);
  WholeCheckBox->setObjectName(QStringLiteral("WholeCheckBox"));
  search->addWidget(WholeCheckBox);
  WholeCheckLabel = MakeLabel(AidPanel, "WholeCheckLabel", QStringLiteral("целиком"));
  {
    QPalette pal = WholeCheckLabel->palette();
    pal.setColor(QPalette::WindowText, kWholeLabelColor);
    WholeCheckLabel->setPalette(pal);
  }
  search->addWidget(WholeCheckLabel);
  WholeListBitBtn = MakeButton(AidPanel, "WholeListBitBtn", QStringLiteral("Список"));
  WholeListBitBtn->hide();
  search->addWidget(WholeListBitBtn);
  search->addStretch(1);
  ExitBitBtn = MakeCancelButton(AidPanel, "ExitBitBtn");
  ExitBitBtn->setAutoDefault(false);
  connect(ExitBitBtn, &QPushButton::clicked, this, &TAidForm::reject);
  search->addWidget(ExitBitBtn);
  column->addWidget(AidPanel);

  // Bottom, protocol view only: a saying over the protocol and the closing button.
  ProvPanel = MakePanel(this, "ProvPanel");
  ProvPanel->setPalette(QPalette(kProvPanelColor));
  ProvPanel->setFrameShape(QFrame::StyledPanel);
  ProvPanel->setFrameShadow(QFrame::Raised);
  auto* prov = new QHBoxLayout(ProvPanel);
  prov->setContentsMargins(12, 6, 8, 6);
  prov->setSpacing(10);
  ProvLabel = MakeLabel(ProvPanel, "ProvLabel", QString());
  ProvLabel->setAlignment(Qt::AlignCenter);
  ProvLabel->setWordWrap(true);
  ProvLabel->setMinimumHeight(32);
  {
    QPalette pal = ProvLabel->palette();
    pal.setColor(QPalette::WindowText, kSayingColor);
    ProvLabel->setPalette(pal);
  }
  prov->addWidget(ProvLabel, 1);
  OKBitBtn = MakeCancelButton(ProvPanel, "OKBitBtn");
  connect(OKBitBtn, &QPushButton::clicked, this, &TAidForm::OKBitBtnClick);
  prov->addWidget(OKBitBtn, 0, Qt::AlignVCenter);
  ProvPanel->hide();
  column->addWidget(ProvPanel);

  PopupMenu = new QMenu(this);
  PopupMenu->setObjectName(QStringLiteral("PopupMenu"));
  CopyToBuf = PopupMenu->addAction(QStringLiteral("Копировать в буфер"));
  CopyToBuf->setObjectName(QStringLiteral("CopyToBuf"));
  connect(CopyToBuf, &QAction::triggered, this, &TAidForm::CopyToBufClick);

  FormCreate();
}

TAidForm::~TAidForm() = default;

void TAidForm::FormCreate() {
  setWindowTitle(Caption(CurrentUserName()));
  ApplyViewFont();
}

QString TAidForm::CurrentUserName() {
  QString name = qEnvironmentVariable("USER");
  if (name.isEmpty()) name = qEnvironmentVariable("LOGNAME");
  return name;
}

QString TAidForm::Caption(const QString& userName) {
  const QString name = userName.isEmpty() ? QStringLiteral("неизвестен") : userName.left(kMaxUserNameLength);
  return QStringLiteral("Зорвик. Пользователь: ") + name;
}

QString TAidForm::ProvLabelText(const QString& saying) {
  QString text = saying.trimmed();
  if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"')))
    text = text.mid(1, text.size() - 2).trimmed();
  if (text.isEmpty()) return QString();
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text.at(i).isLetter()) {
      text[i] = text.at(i).toUpper();
      break;
    }
  }
  return QLatin1Char('"') + text + QLatin1Char('"');
}

void TAidForm::SetViewFont(const QFont& font) {
  m_viewFont = font;
  ApplyViewFont();
}

void TAidForm::ApplyViewFont() {
  AidRichEdit->setFont(m_viewFont);
  AidRichEdit->document()->setDefaultFont(m_viewFont);
  const QStringList families = m_viewFont.families();
  FontLabel->setText(families.isEmpty() ? m_viewFont.family() : families.first());
  if (m_viewFont.pointSize() > 0) FontUpDown->setValue(m_viewFont.pointSize());
  QFont saying = m_viewFont;
  saying.setPointSize(11);
  saying.setItalic(true);
  ProvLabel->setFont(saying);
}

void TAidForm::PrepareProtocol(const ProtocolDocument& protocol, const QString& saying) {
  AidPanel->hide();
  TricksLabel->hide();
  TricksComboBox->hide();
  ProvLabel->setText(ProvLabelText(saying));
  ProvPanel->show();
  OKBitBtn->setDefault(true);
  KeyEditTag = 1;
  m_protocolView = true;

  RenderProtocol(protocol, *AidRichEdit->document(), m_viewFont);
  QTextCursor start(AidRichEdit->document());
  start.movePosition(QTextCursor::Start);
  AidRichEdit->setTextCursor(start);
  AidRichEdit->ensureCursorVisible();
  AidRichEdit->setFocus();
}

void TAidForm::EndProtocolView() {
  if (!m_protocolView) return;
  m_protocolView = false;
  KeyEditTag = 0;
  ProvPanel->hide();
  AidPanel->show();
  FilterBitBtn->setDefault(true);
}

int TAidForm::ShowProtocol(const ProtocolDocument& protocol, const QString& saying) {
  PrepareProtocol(protocol, saying);
  const int result = RunModal(ModalWindow::Protocol);
  EndProtocolView();
  return result;
}

void TAidForm::OpenProtocol(const ProtocolDocument& protocol, const QString& saying) {
  PrepareProtocol(protocol, saying);
  show();
}

int TAidForm::RunModal(ModalWindow window) { return zv::RunModal(this, {window, {}, {}, {}}).result; }

// Every showing is centred on the main window; here the window frame is already known.
void TAidForm::showEvent(QShowEvent* event) {
  CentreOnParent();
  QDialog::showEvent(event);
}

void TAidForm::CentreOnParent() {
  QWidget* main = parentWidget() ? parentWidget()->window() : nullptr;
  QRect area;
  if (main) {
    area = main->frameGeometry();
  } else if (const QScreen* s = screen()) {
    area = s->availableGeometry();
  } else {
    return;
  }
  const QRect frame = frameGeometry();
  move(area.left() + (area.width() - frame.width()) / 2, area.top() + (area.height() - frame.height()) / 2);
}

void TAidForm::OKBitBtnClick() { done(QDialog::Rejected); }

void TAidForm::done(int result) {
  EndProtocolView();
  QDialog::done(result);
}

bool TAidForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == AidRichEdit->viewport() && event->type() == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::RightButton && KeyEditTag > 0 && AidRichEdit->textCursor().hasSelection()) {
      PopupMenu->popup(mouse->globalPosition().toPoint() + QPoint(-48, 8));
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

void TAidForm::CopyToBufClick() {
  AidRichEdit->copy();
  QTextCursor c = AidRichEdit->textCursor();
  c.clearSelection();
  AidRichEdit->setTextCursor(c);
}

}  // namespace zv
