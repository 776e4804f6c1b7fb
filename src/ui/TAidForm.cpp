#include "ui/TAidForm.h"

#include "exam/ProgressTricks.h"
#include "exam/TaskList.h"
#include "platform/MessageBox.h"
#include "shell/OleDate.h"
#include "ui/ModalRun.h"
#include "ui/ProtocolView.h"
#include "ui/TBitBtn.h"
#include "ui/TXFontComboBox.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QSaveFile>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace zv {
namespace {

const QColor kFace(0xEC, 0xEC, 0xE8);
const QColor kProvPanelColor(0xEE, 0xF1, 0xF6);
const QColor kSayingColor(0x1B, 0x2F, 0x6B);  // dark blue
const QColor kLinkColor(0x00, 0x00, 0xA0);
const QColor kWholeLabelColor(0x00, 0x80, 0x80);   // teal while "целиком" is not ticked
const QColor kWholeLabelTicked(0x00, 0x00, 0xFF);  // blue while it is

// A combo that tells when its drop-down closes, chosen or not (the system's CloseUp).
template <typename Combo>
class CloseUpCombo : public Combo {
 public:
  using Combo::Combo;
  std::function<void()> closedUp;
  void hidePopup() override {
    Combo::hidePopup();
    if (closedUp) closedUp();
  }
};

// A label that acts on a click.
class ClickLabel : public QLabel {
 public:
  using QLabel::QLabel;
  std::function<void()> clicked;

 protected:
  void mouseReleaseEvent(QMouseEvent* event) override {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && clicked) clicked();
  }
};

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
  auto* l = new ClickLabel(text, parent);
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
      m_viewFont(DefaultProtocolFont()),
      m_protocolDocument(new QTextDocument(this)),
      m_listDocument(new QTextDocument(this)),
      m_resultDocument(new QTextDocument(this)) {
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
  auto* fontCombo = new CloseUpCombo<TXFontComboBox>(TopPanel);
  FontComboBox = fontCombo;
  FontComboBox->setObjectName(QStringLiteral("FontComboBox"));
  FontComboBox->hide();
  top->addWidget(FontComboBox);
  FontUpDown = new QSpinBox(TopPanel);
  FontUpDown->setObjectName(QStringLiteral("FontUpDown"));
  FontUpDown->setRange(6, 12);
  FontUpDown->setValue(8);
  top->addSpacing(2);
  top->addWidget(FontUpDown);
  top->addStretch(1);
  TricksLabel = MakeLink(TopPanel, "TricksLabel", QStringLiteral("Проделки с пройденным"));
  top->addWidget(TricksLabel);
  auto* tricksCombo = new CloseUpCombo<QComboBox>(TopPanel);
  TricksComboBox = tricksCombo;
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
  AidRichEdit->setDocument(m_protocolDocument);
  AidRichEdit->viewport()->installEventFilter(this);
  AidRichEdit->installEventFilter(this);
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
  KeyEdit->setMinimumWidth(150);  // room for a key of two words while the count is shown
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

  // The list's controls.
  static_cast<ClickLabel*>(FontLabel)->clicked = [this] { FontLabelClick(); };
  fontCombo->closedUp = [this] { FontComboCloseUp(); };
  connect(fontCombo, &QComboBox::textActivated, this, &TAidForm::FontChosen);
  connect(FontUpDown, &QSpinBox::valueChanged, this, &TAidForm::FontSizeChange);
  static_cast<ClickLabel*>(TricksLabel)->clicked = [this] { TricksLabelClick(); };
  tricksCombo->closedUp = [this] { TricksComboCloseUp(); };
  connect(TricksComboBox, &QComboBox::activated, this, &TAidForm::TricksComboBoxSelect);
  connect(KeyEdit, &QLineEdit::textChanged, this, &TAidForm::KeyEditChange);
  connect(FilterBitBtn, &QPushButton::clicked, this, &TAidForm::FilterBitBtnClick);
  connect(WholeListBitBtn, &QPushButton::clicked, this, &TAidForm::WholeListBitBtnClick);
  connect(WholeCheckBox, &QCheckBox::clicked, this, &TAidForm::WholeCheckBoxClick);
  connect(WholeCheckBox, &QCheckBox::toggled, this, &TAidForm::WholeCheckLabelColour);
  static_cast<ClickLabel*>(WholeCheckLabel)->clicked = [this] {
    if (!WholeCheckBox->isEnabled()) return;
    WholeCheckBox->toggle();
    WholeCheckBoxClick();
  };
  WholeCheckBox->installEventFilter(this);
  // The list view lets nothing be selected: a selection collapses as soon as it appears.
  connect(AidRichEdit, &QTextEdit::selectionChanged, this, [this] {
    if (KeyEditTag != 0) return;
    QTextCursor c = AidRichEdit->textCursor();
    if (!c.hasSelection()) return;
    c.clearSelection();
    AidRichEdit->setTextCursor(c);
  });

  FormCreate();
}

TAidForm::~TAidForm() {
  // The documents are older children and would go first: the edit goes before them.
  AidRichEdit->removeEventFilter(this);
  AidRichEdit->viewport()->removeEventFilter(this);
  delete AidRichEdit;
  AidRichEdit = nullptr;
}

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
  for (QTextDocument* d : {m_protocolDocument, m_listDocument, m_resultDocument}) d->setDefaultFont(m_viewFont);
  const QStringList families = m_viewFont.families();
  FontLabel->setText(families.isEmpty() ? m_viewFont.family() : families.first());
  if (m_viewFont.pointSize() > 0) {
    const QSignalBlocker quiet(FontUpDown);
    FontUpDown->setValue(m_viewFont.pointSize());
  }
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

  AidRichEdit->setDocument(m_protocolDocument);
  RenderProtocol(protocol, *m_protocolDocument, m_viewFont);
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
  EndListView();
  QDialog::done(result);
}

bool TAidForm::eventFilter(QObject* watched, QEvent* event) {
  if (!AidRichEdit) return QDialog::eventFilter(watched, event);
  // "целиком" shows on white while its box has the focus.
  if (watched == WholeCheckBox && (event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut)) {
    WholeCheckLabel->setAutoFillBackground(event->type() == QEvent::FocusIn);
    QPalette pal = WholeCheckLabel->palette();
    pal.setColor(QPalette::Window, event->type() == QEvent::FocusIn ? QColor(Qt::white) : kFace);
    WholeCheckLabel->setPalette(pal);
  }
  // The list view: a key or a mouse press leaves no selection behind.
  if (KeyEditTag == 0 && (watched == AidRichEdit || watched == AidRichEdit->viewport()) &&
      (event->type() == QEvent::KeyPress || event->type() == QEvent::MouseButtonPress ||
       event->type() == QEvent::MouseButtonDblClick || event->type() == QEvent::MouseMove)) {
    if (event->type() == QEvent::KeyPress) {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->matches(QKeySequence::SelectAll) || (key->modifiers() & Qt::ShiftModifier)) return true;
    } else if (event->type() != QEvent::MouseButtonPress) {
      return true;  // no dragging or double-click selection
    }
  }
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

// --- the list ---------------------------------------------------------------------------------

void TAidForm::SetRedraw(bool on) { AidRichEdit->setUpdatesEnabled(on); }

// A fresh document each time: one a view has laid out redoes its layout at every insertion,
// which makes rendering the list twenty times slower.
void TAidForm::RenderInto(QTextDocument*& slot, const ProtocolDocument& content) {
  auto* fresh = new QTextDocument(this);
  fresh->setUndoRedoEnabled(false);
  RenderProtocol(content, *fresh, m_viewFont);
  QTextDocument* old = std::exchange(slot, fresh);
  if (AidRichEdit->document() == old) AidRichEdit->setDocument(fresh);
  delete old;
}

void TAidForm::Discard(QTextDocument*& slot) {
  if (slot->isEmpty()) return;
  auto* fresh = new QTextDocument(this);
  fresh->setDefaultFont(m_viewFont);
  QTextDocument* old = std::exchange(slot, fresh);
  if (AidRichEdit->document() == old) AidRichEdit->setDocument(fresh);
  delete old;
}

void TAidForm::ShowDocument(QTextDocument* document) {
  if (AidRichEdit->document() != document) AidRichEdit->setDocument(document);
  QTextCursor start(document);
  start.movePosition(QTextCursor::Start);
  AidRichEdit->setTextCursor(start);
}

bool TAidForm::OpenList(const TaskListContext& context) {
  if (!PrepareList(context)) return false;
  show();
  return true;
}

bool TAidForm::PrepareList(const TaskListContext& context) {
  // The window's own values come first: the list is built in its font.
  m_listSettings = ListSettings{};
  if (context.registry) ReadListSettings(*context.registry, m_listSettings);
  QFont font = m_viewFont;
  const bool installed = QFontDatabase::hasFamily(m_listSettings.font);
  font.setFamilies(installed ? QStringList{m_listSettings.font}
                             : QStringList{QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
  if (!installed) m_listSettings.font = QStringLiteral("Arial");
  font.setPointSize(m_listSettings.fontSize);
  SetViewFont(font);
  resize(m_listSettings.width, m_listSettings.height);

  ProvPanel->hide();
  AidPanel->show();
  TricksLabel->show();
  TricksComboBox->hide();

  TaskListInput input{context.catalogue,
                      context.displayOrder,
                      context.tasks,
                      context.statistics,
                      FromOleDate(context.statistics.FirstDate).date(),
                      context.lastMark,
                      context.lastWasConsolidation,
                      context.taskCount};
  SetRedraw(false);
  std::optional<ProtocolDocument> list = BuildTaskList(input, context.step);
  if (context.built) context.built();
  if (!list) {
    Discard(m_listDocument);
    SetRedraw(true);
    return false;
  }
  m_fullList = std::move(*list);
  RenderInto(m_listDocument, m_fullList);
  ShowDocument(m_listDocument);
  SetRedraw(true);
  m_fullListShown = true;
  m_listContext.emplace(context);
  KeyEditTag = 0;

  // The search starts afresh.
  {
    const QSignalBlocker quiet(KeyEdit);
    KeyEdit->clear();
  }
  m_lastKey.clear();
  m_found = 0;
  FilterBitBtn->hide();
  WholeListBitBtn->hide();
  FoundNumLabel->hide();
  WholeCheckBox->show();
  WholeCheckLabel->show();
  WholeCheckLabelColour();
  FilterBitBtn->setDefault(true);
  AidRichEdit->setFocus();
  return true;
}

bool TAidForm::ShowList(const TaskListContext& context) {
  if (!PrepareList(context)) return false;
  RunModal(ModalWindow::TaskList);
  if (InListView()) done(QDialog::Rejected);  // a test's hook answered without closing
  return true;
}

void TAidForm::EndListView() {
  if (!m_listContext) return;
  FilterBitBtn->hide();
  FoundNumLabel->hide();
  WholeListBitBtn->hide();
  FontComboBox->hide();
  FontLabel->show();
  TricksComboBox->hide();
  m_listSettings.font = FontLabel->text();
  m_listSettings.fontSize = FontUpDown->value();
  m_listSettings.width = width();
  m_listSettings.height = height();
  if (m_listContext->registry) WriteListSettings(*m_listContext->registry, m_listSettings);
  m_listContext.reset();
  // The text goes; the full list stays in memory until the next building.
  AidRichEdit->setDocument(m_protocolDocument);
  Discard(m_listDocument);
  Discard(m_resultDocument);
}

void TAidForm::RestoreFullList() {
  if (m_fullListShown) return;
  SetRedraw(false);
  ShowDocument(m_listDocument);
  Discard(m_resultDocument);
  SetRedraw(true);
  m_fullListShown = true;
}

void TAidForm::FilterBitBtnClick() {
  if (!m_listContext) return;
  const QString key = KeyEdit->text();
  const bool whole = WholeCheckBox->isChecked();
  if (!whole) {
    if (const std::optional<QString> mixed = FirstMixedWord(key + QLatin1Char(' '))) {
      MessageRequest ask;
      ask.caption = QStringLiteral("Закавыка");
      ask.text =
          QStringLiteral("В ключе поиска смешение языков в слове ") + *mixed + QStringLiteral(".\r\nВсё равно искать?");
      ask.icon = MsgIcon::Question;
      ask.buttons = MsgButtons::YesNo;
      if (ShowMessageBox(ask) != MsgResult::Yes) return;
    }
  }

  FilterBitBtn->hide();
  KeyEdit->setEnabled(false);
  WholeCheckBox->setEnabled(false);
  KeyEditTag = 1;
  SetRedraw(false);
  const SearchResult result = SearchTaskList(m_fullList, key, whole);
  RenderInto(m_resultDocument, result.document);
  ShowDocument(m_resultDocument);
  m_fullListShown = false;
  m_found = result.found;

  KeyEdit->setEnabled(true);
  WholeCheckBox->setEnabled(true);
  SetRedraw(true);
  FoundNumLabel->setText(QStringLiteral("Найдено: ") + QString::number(m_found));
  FoundNumLabel->show();
  KeyEditTag = 0;
  m_lastKey = key;
  KeyEdit->setFocus();
  WholeListBitBtn->show();
}

void TAidForm::KeyEditChange() {
  // The key is kept in upper case as it is typed.
  const QString text = KeyEdit->text();
  const QString upper = text.toUpper();
  if (upper != text) {
    const int at = KeyEdit->cursorPosition();
    const QSignalBlocker quiet(KeyEdit);
    KeyEdit->setText(upper);
    KeyEdit->setCursorPosition(at);
  }
  if (upper.isEmpty()) {
    RestoreFullList();
    FilterBitBtn->hide();
  } else {
    FilterBitBtn->show();
  }
  WholeListBitBtn->hide();
  FoundNumLabel->hide();
}

void TAidForm::WholeListBitBtnClick() {
  WholeListBitBtn->hide();
  const QString key = KeyEdit->text();
  KeyEdit->clear();
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  KeyEdit->setText(key);
}

void TAidForm::WholeCheckLabelColour() {
  QPalette pal = WholeCheckLabel->palette();
  pal.setColor(QPalette::WindowText, WholeCheckBox->isChecked() ? kWholeLabelTicked : kWholeLabelColor);
  WholeCheckLabel->setPalette(pal);
}

void TAidForm::WholeCheckBoxClick() {
  if (!KeyEdit->text().isEmpty()) FilterBitBtn->show();
  WholeCheckLabelColour();
  WholeListBitBtn->hide();
  FoundNumLabel->hide();
}

// --- the list font ----------------------------------------------------------------------------

void TAidForm::FontLabelClick() {
  FontLabel->hide();
  const int current = FontComboBox->findText(FontLabel->text());
  if (current >= 0) FontComboBox->setCurrentIndex(current);
  FontComboBox->show();
  FontComboBox->setFocus();
  FontComboBox->showPopup();
}

void TAidForm::FontChosen(const QString& family) {
  const int guard = KeyEditTag;
  KeyEditTag = 1;
  SetRedraw(false);
  QFont font = m_viewFont;
  font.setFamilies({family});
  SetViewFont(font);
  SetRedraw(true);
  KeyEditTag = guard;
}

void TAidForm::FontComboCloseUp() {
  if (FontComboBox->isHidden()) return;
  FontLabel->setText(FontComboBox->currentText());
  FontLabel->show();
  FontComboBox->hide();
  AidRichEdit->setFocus();
}

void TAidForm::FontSizeChange(int size) {
  const int guard = KeyEditTag;
  KeyEditTag = 1;
  SetRedraw(false);
  QFont font = m_viewFont;
  font.setPointSize(std::clamp(size, ListSettings::kMinFontSize, ListSettings::kMaxFontSize));
  SetViewFont(font);
  ShowDocument(AidRichEdit->document());
  SetRedraw(true);
  KeyEditTag = guard;
}

// --- the tricks -------------------------------------------------------------------------------

void TAidForm::TricksLabelClick() {
  TricksLabel->hide();
  TricksComboBox->show();
  TricksComboBox->setFocus();
  TricksComboBox->showPopup();
}

void TAidForm::TricksComboCloseUp() {
  if (!m_listContext) return;
  TricksComboBox->hide();
  TricksLabel->show();
}

void TAidForm::TricksComboBoxSelect(int index) {
  if (!m_listContext) return;
  if (index == 0) SaveProgress();
  if (index == 1) ForgetProgressClick();
}

void TAidForm::SaveProgress() {
  const TaskListContext& c = *m_listContext;
  const QString name = ProgressExportFileName(QDateTime::currentDateTime());
  MessageRequest message;
  message.caption = c.caption;
  message.icon = MsgIcon::Warning;

  // An unknown or missing desktop gets the message and nothing is written anywhere else.
  QSaveFile file(c.desktopFolder + name);
  if (c.desktopFolder.isEmpty() || !QDir(c.desktopFolder).exists() || !file.open(QIODevice::WriteOnly)) {
    message.text = ExportCannotCreateText(name);
    ShowMessageBox(message);
    return;
  }
  const QByteArray bytes = ProgressExportBytes(c.keyPath,
                                               c.statistics.FirstDate,
                                               c.selectorStates ? c.selectorStates() : std::vector<SelectorState>{},
                                               c.statistics.RCount);
  if (file.write(bytes) != bytes.size() || !file.commit()) {
    message.text = ExportWriteFailedText();
    ShowMessageBox(message);
    return;
  }
  message.icon = MsgIcon::Information;
  message.text = ExportDoneText(name);
  ShowMessageBox(message);
}

void TAidForm::ForgetProgressClick() {
  const TaskListContext& c = *m_listContext;
  MessageRequest ask;
  ask.caption = c.caption;
  ask.text = ForgetQuestionText();
  ask.icon = MsgIcon::Question;
  ask.buttons = MsgButtons::YesNo;
  ask.defaultButton = 1;
  if (ShowMessageBox(ask) != MsgResult::Yes) return;
  ForgetProgress(c.tasks, c.remarks, c.statistics);
  const std::function<void()> forgotten = c.forgotten;
  done(QDialog::Rejected);
  if (forgotten) forgotten();
}

}  // namespace zv
