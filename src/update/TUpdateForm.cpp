#include "update/TUpdateForm.h"

#include "shell/OleDate.h"
#include "ui/HintGlyphs.h"
#include "ui/ProgramLook.h"
#include "ui/TBitBtn.h"
#include "ui/WidgetColours.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFile>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QProgressBar>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

constexpr std::uint32_t kNavy = 0x000080;
constexpr int kGroupLeft = 8;
constexpr int kGroupTop = 4;
constexpr int kGroupWidth = TUpdateForm::kClientWidth - 2 * kGroupLeft;
constexpr int kGroupHeight = 212;  // eight items with the select-all box end at its bottom
constexpr int kInner = 8;          // margin inside the group
constexpr int kInnerWidth = kGroupWidth - 2 * kInner;
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 28;
constexpr int kButtonGap = 8;

// A label's text as kept ("\r\n" line ends) and as shown.
QString Shown(const QString& text) {
  QString shown = text;
  shown.replace(u"\r\n"_s, u"\n"_s);
  return shown;
}

// The list's items: a check box and the caption while the offers are ticked; for the download
// the row filled light green once its item is downloaded and the caption 2 pixels in from the
// leading edge, one line, vertically centred.
class UpdateItemDelegate final : public QStyledItemDelegate {
 public:
  UpdateItemDelegate(const bool& downloadStyle, std::function<bool(int)> downloaded, QObject* parent)
      : QStyledItemDelegate(parent), m_downloadStyle(downloadStyle), m_downloaded(std::move(downloaded)) {}

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    return {QStyledItemDelegate::sizeHint(option, index).width(), TUpdateForm::kItemHeight};
  }

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    if (!m_downloadStyle) {
      QStyledItemDelegate::paint(painter, option, index);
      return;
    }
    const bool selected = option.state & QStyle::State_Selected;
    QColor fill = option.palette.color(QPalette::Base);
    QColor ink = option.palette.color(QPalette::Active, QPalette::Text);
    if (m_downloaded(index.row())) {
      fill = ColourOf(TUpdateForm::kDownloadedColour);
    } else if (selected) {
      fill = option.palette.color(QPalette::Active, QPalette::Highlight);
      ink = option.palette.color(QPalette::Active, QPalette::HighlightedText);
    }
    painter->fillRect(option.rect, fill);
    const QRect text = option.rect.adjusted(2, 0, -2, 0);
    const Qt::Alignment leading = option.direction == Qt::RightToLeft ? Qt::AlignRight : Qt::AlignLeft;
    painter->setPen(ink);
    painter->setFont(option.font);
    const QString caption = option.fontMetrics.elidedText(index.data().toString(), Qt::ElideNone, text.width());
    painter->drawText(text, int(leading | Qt::AlignVCenter | Qt::TextSingleLine), caption);
  }

 private:
  const bool& m_downloadStyle;
  std::function<bool(int)> m_downloaded;
};

void Navy(QWidget* w) {
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, ColourOf(kNavy));
  pal.setColor(QPalette::Text, ColourOf(kNavy));
  pal.setColor(QPalette::ButtonText, ColourOf(kNavy));
  w->setPalette(pal);
}

}  // namespace

TUpdateForm::TUpdateForm(UpdateFormSetup setup, UpdateSources sources, QWidget* parent)
    : QDialog(parent), m_setup(std::move(setup)), m_session(std::move(sources)) {
  setObjectName(u"UpdateForm"_s);
  CreateControls();
  FormCreate();
}

TUpdateForm::~TUpdateForm() {
  AutoCheckupTimer->stop();
  WriteAutoCheckupChoice(m_setup.registry, AutoCheckupCheckBox->isChecked(), AutoCheckupComboBox->currentIndex());
  m_items.clear();
}

void TUpdateForm::CreateControls() {
  setWindowTitle(m_setup.programName + u" - Интернет-обновление"_s);
  setFont(ProgramFont());
  setAutoFillBackground(true);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, kSkyBlue);
  setPalette(pal);
  Navy(this);

  UpdateGroupBox = new QGroupBox(this);
  UpdateGroupBox->setObjectName(u"UpdateGroupBox"_s);
  UpdateGroupBox->setGeometry(kGroupLeft, kGroupTop, kGroupWidth, kGroupHeight);

  UpdateLabel = new QLabel(UpdateGroupBox);
  UpdateLabel->setObjectName(u"UpdateLabel"_s);
  UpdateLabel->setGeometry(kInner, 16, kInnerWidth, 40);
  UpdateLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
  UpdateLabel->setWordWrap(true);

  LastCheckupLabel = new QLabel(UpdateGroupBox);
  LastCheckupLabel->setObjectName(u"LastCheckupLabel"_s);
  LastCheckupLabel->setGeometry(kInner, 60, kInnerWidth, 32);
  LastCheckupLabel->setAlignment(Qt::AlignCenter);

  LastDownloadLabel = new QLabel(UpdateGroupBox);
  LastDownloadLabel->setObjectName(u"LastDownloadLabel"_s);
  LastDownloadLabel->setGeometry(kInner, 94, kInnerWidth, 18);
  LastDownloadLabel->setAlignment(Qt::AlignCenter);

  // The log: lines are added at the bottom and older ones go out at the top. It holds whole
  // lines, ten of them, so after the nine steps of the closing animation the last line (the
  // news, when the server sent one) stays readable at its top and no line is cut in half.
  NewsLabel = new QLabel(UpdateGroupBox);
  NewsLabel->setObjectName(u"NewsLabel"_s);
  const int newsHeight = (kAnimationSteps + 1) * QFontMetrics(font()).lineSpacing();
  NewsLabel->setGeometry(kInner, kGroupHeight - 6 - newsHeight, kInnerWidth, newsHeight);
  NewsLabel->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
  NewsLabel->setWordWrap(true);

  AutoCheckupGroupBox = new QGroupBox(UpdateGroupBox);
  AutoCheckupGroupBox->setObjectName(u"AutoCheckupGroupBox"_s);
  AutoCheckupGroupBox->setGeometry((kGroupWidth - 240) / 2, 120, 240, 66);
  AutoCheckupCheckBox = new QCheckBox(AutoCheckupGroupBox);
  AutoCheckupCheckBox->setObjectName(u"AutoCheckupCheckBox"_s);
  AutoCheckupCheckBox->setGeometry(20, 10, 200, 20);
  AutoCheckupComboBox = new QComboBox(AutoCheckupGroupBox);
  AutoCheckupComboBox->setObjectName(u"AutoCheckupComboBox"_s);
  AutoCheckupComboBox->setGeometry(30, 36, 180, 22);
  KeepListHeight(AutoCheckupComboBox);

  UpdateCheckListBox = new QListWidget(UpdateGroupBox);
  UpdateCheckListBox->setObjectName(u"UpdateCheckListBox"_s);
  UpdateCheckListBox->setUniformItemSizes(true);
  UpdateCheckListBox->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  UpdateCheckListBox->setItemDelegate(new UpdateItemDelegate(
      m_downloadStyle, [this](int row) { return IsDownloaded(row); }, UpdateCheckListBox));
  UpdateCheckListBox->hide();

  SelectAllCheckBox = new QCheckBox(UpdateGroupBox);
  SelectAllCheckBox->setObjectName(u"SelectAllCheckBox"_s);
  SelectAllCheckBox->hide();

  DownloadProgressBar = new QProgressBar(UpdateGroupBox);
  DownloadProgressBar->setObjectName(u"DownloadProgressBar"_s);
  DownloadProgressBar->setTextVisible(false);
  DownloadProgressBar->hide();

  CancelBitBtn = new TBitBtn(this);
  CancelBitBtn->setObjectName(u"CancelBitBtn"_s);
  CancelBitBtn->SetKind(GlyphKind::Cancel);
  CancelBitBtn->SetCentred(true);
  CancelBitBtn->setText(u"Отмена"_s);

  OKBitBtn = new TBitBtn(this);
  OKBitBtn->setObjectName(u"OKBitBtn"_s);
  OKBitBtn->setText(u"Далее"_s);
  OKBitBtn->setIcon(ButtonGlyphIcon(ButtonGlyph::Green));
  OKBitBtn->setIconSize(QSize(kButtonGlyphSize, kButtonGlyphSize));
  OKBitBtn->SetGlyphOnRight(true);
  OKBitBtn->SetCentred(true);
  OKBitBtn->setDefault(true);
  OKBitBtn->Tag = 0;
  for (TBitBtn* b : {CancelBitBtn, OKBitBtn}) {
    b->resize(kButtonWidth, kButtonHeight);
    Navy(b);
  }

  AutoCheckupTimer = new QTimer(this);
  AutoCheckupTimer->setObjectName(u"AutoCheckupTimer"_s);
  AutoCheckupTimer->setInterval(kAutoCheckupCloseMs);

  connect(OKBitBtn, &QAbstractButton::clicked, this, &TUpdateForm::OKBitBtnClick);
  connect(CancelBitBtn, &QAbstractButton::clicked, this, &TUpdateForm::CancelBitBtnClick);
  connect(AutoCheckupCheckBox, &QAbstractButton::clicked, this, &TUpdateForm::AutoCheckupCheckBoxClick);
  connect(AutoCheckupComboBox, &QComboBox::activated, this, &TUpdateForm::AutoCheckupComboBoxChange);
  connect(UpdateCheckListBox, &QListWidget::clicked, this, [this](const QModelIndex& index) {
    UpdateCheckListBoxClick(index.row());
  });
  connect(SelectAllCheckBox, &QAbstractButton::clicked, this, &TUpdateForm::SelectAllCheckBoxClick);
  connect(AutoCheckupTimer, &QTimer::timeout, this, [this] {
    AutoCheckupTimer->stop();
    done(QDialog::Rejected);
  });

  PlaceButtons();
}

void TUpdateForm::FormCreate() {
  SetUpdateText(u"Чтобы подключиться к Интернет-серверу для проверки обновлений, нажмите кнопку \"Далее\""_s);
  AutoCheckupCheckBox->setText(u"Автопроверка обновлений"_s);
  LastCheckupLabel->setText(u"Последняя проверка была выполнена"_s);
  LastDownloadLabel->setText(u"Последняя загрузка -"_s);

  AutoCheckupComboBox->addItems(AutoCheckupChoices());
  AutoCheckupComboBox->setCurrentIndex(2);
  const UpdateWindowSettings stored = ReadUpdateWindowSettings(m_setup.registry);
  if (stored.autoCheckup) AutoCheckupCheckBox->setChecked(*stored.autoCheckup);
  if (stored.autoCheckupTime) AutoCheckupComboBox->setCurrentIndex(*stored.autoCheckupTime);
  if (stored.lastCheckup)
    LastCheckupLabel->setText(Shown(LastCheckupText(FromOleDate(*stored.lastCheckup), m_setup.locale)));
  LastCheckupLabel->setVisible(stored.lastCheckup.has_value());
  if (stored.lastDownload)
    LastDownloadLabel->setText(LastDownloadText(FromOleDate(*stored.lastDownload), m_setup.locale));
  LastDownloadLabel->setVisible(stored.lastDownload.has_value());

  const int boxWidth = QFontMetrics(AutoCheckupCheckBox->font()).horizontalAdvance(AutoCheckupCheckBox->text()) + 24;
  AutoCheckupCheckBox->setGeometry((AutoCheckupGroupBox->width() - boxWidth) / 2, 10, boxWidth, 20);
  if (!stored.lastCheckup && !stored.lastDownload) {
    const int top = UpdateLabel->geometry().bottom() + 1;
    AutoCheckupGroupBox->move(AutoCheckupGroupBox->x(),
                              top + (NewsLabel->geometry().bottom() - top - AutoCheckupGroupBox->height()) / 2);
  }
  AutoCheckupCheckBoxClick();
}

void TUpdateForm::PlaceButtons() {
  const int top = UpdateGroupBox->geometry().bottom() + 1 + kButtonGap;
  const bool both = !CancelBitBtn->isHidden() && !OKBitBtn->isHidden();
  if (both) {
    const int left = (kClientWidth - 2 * kButtonWidth - kButtonGap) / 2;
    CancelBitBtn->move(left, top);
    OKBitBtn->move(left + kButtonWidth + kButtonGap, top);
  } else {
    CancelBitBtn->move((kClientWidth - kButtonWidth) / 2, top);
    OKBitBtn->move((kClientWidth - kButtonWidth) / 2, top);
  }
  setFixedSize(kClientWidth, top + kButtonHeight + kButtonGap);
}

void TUpdateForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (m_setup.opening == UpdateOpening::ByTimer && !m_started) {
    m_started = true;
    // As if "Далее" had been pressed, once the window is up.
    QTimer::singleShot(0, this, [this] {
      if (OKBitBtn->Tag == 0 && OKBitBtn->isEnabled()) OKBitBtnClick();
    });
  }
}

void TUpdateForm::closeEvent(QCloseEvent* event) {
  if (m_downloading) {
    m_session.Cancel();
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

void TUpdateForm::reject() {
  // Escape and the window's close button cancel a download instead of closing the window.
  if (m_downloading) {
    m_session.Cancel();
    return;
  }
  QDialog::reject();
}

void TUpdateForm::OKBitBtnClick() {
  switch (OKBitBtn->Tag) {
    case 0:
      CheckStep();
      break;
    case 1:
      DownloadStep();
      break;
    default:
      done(QDialog::Accepted);
      break;
  }
}

void TUpdateForm::CancelBitBtnClick() {
  if (m_downloading) {
    m_session.Cancel();
    return;
  }
  done(QDialog::Rejected);
}

void TUpdateForm::ProcessMessages() { QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents); }

void TUpdateForm::SetUpdateText(const QString& text) {
  m_updateText = text;
  UpdateLabel->setText(Shown(text));
}

void TUpdateForm::SetNewsText(const QString& text) {
  m_newsText = text;
  NewsLabel->setText(Shown(text));
}

void TUpdateForm::Log(const QString& line) {
  SetNewsText(m_newsText + u"\r\n"_s + line);
  ProcessMessages();
}

// --- the check ----------------------------------------------------------------------------

void TUpdateForm::CheckStep() {
  OKBitBtn->setEnabled(false);
  AutoCheckupGroupBox->hide();
  LastCheckupLabel->hide();
  LastDownloadLabel->hide();
  SetUpdateText(u"Выполняется подключение к серверу обновлений ..."_s);
  ProcessMessages();

  const CheckOutcome outcome = m_session.Check(*this);
  if (outcome.failure) {
    FailCheck();
  } else {
    const UpdateOffer& offer = outcome.offer;
    if (offer.news) SetNewsText(*offer.news);
    if (offer.unreadableVersionOf && m_setup.infoMessage)
      m_setup.infoMessage(UnreadableVersionEnglish(*offer.unreadableVersionOf),
                          UnreadableVersionRussian(*offer.unreadableVersionOf));
    Present(offer);
    WriteLastCheckup(m_setup.registry, m_setup.checkup.CheckCompleted());
    if (offer.items.empty() && m_setup.opening == UpdateOpening::ByTimer) CloseQuietly();
  }
  if (!AutoCheckupTimer->isActive()) ClosingAnimation();
}

void TUpdateForm::FailCheck() {
  if (m_setup.opening == UpdateOpening::ByTimer)
    CloseQuietly();
  else if (m_setup.beep)
    m_setup.beep();
  SetUpdateText(QString::fromUtf16(kDownloadFailedText));
}

void TUpdateForm::CloseQuietly() {
  showMinimized();
  AutoCheckupTimer->start();
}

void TUpdateForm::ClosingAnimation() {
  for (int i = 0; i < kAnimationSteps; ++i) {
    m_setup.pause(kAnimationStepMs);
    SetNewsText(m_newsText + u"\r\n"_s);
    ProcessMessages();
  }
}

void TUpdateForm::Present(const UpdateOffer& offer) {
  m_items = offer.items;
  SetUpdateText(OfferHeadline(offer));
  if (m_items.empty()) {
    CancelBitBtn->hide();
    OKBitBtn->setText(u"OK"_s);
    OKBitBtn->setIcon(QIcon());
    OKBitBtn->SetGlyphOnRight(false);
    OKBitBtn->SetKind(GlyphKind::Ok);
    OKBitBtn->Tag = 2;
    OKBitBtn->setEnabled(true);
    PlaceButtons();
    return;
  }
  const int count = int(m_items.size());
  // The headline takes the height its text needs.
  UpdateLabel->resize(kInnerWidth, std::max(16, UpdateLabel->heightForWidth(kInnerWidth)));
  int top = UpdateLabel->geometry().bottom() + 1 + 6;

  SelectAllCheckBox->setText(u"Выбрать/отменить все"_s);
  const int selectWidth = QFontMetrics(SelectAllCheckBox->font()).horizontalAdvance(SelectAllCheckBox->text()) + 24;
  SelectAllCheckBox->setGeometry(kInner, top, selectWidth, 18);
  SelectAllCheckBox->setChecked(true);
  SelectAllCheckBox->setVisible(count >= 2);
  if (count >= 2) top += 22;

  UpdateCheckListBox->clear();
  for (const UpdateItem& item : m_items) {
    auto* row = new QListWidgetItem(item.caption, UpdateCheckListBox);
    row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    row->setCheckState(Qt::Checked);
  }
  const int rows = std::min(count, kMaxListRows);
  UpdateCheckListBox->setGeometry(kInner, top, kInnerWidth, (rows + 1) * kItemHeight);
  const int listBottom = UpdateCheckListBox->geometry().bottom() + 1;
  if (count > 8) UpdateGroupBox->resize(kGroupWidth, std::max(kGroupHeight, listBottom + kInner));
  UpdateCheckListBox->show();
  // What the log still shows stays below the list.
  const int newsBottom = NewsLabel->geometry().bottom() + 1;
  const int newsTop = std::min(newsBottom, listBottom + 4);
  NewsLabel->setGeometry(kInner, newsTop, kInnerWidth, newsBottom - newsTop);

  CancelBitBtn->show();
  OKBitBtn->Tag = 1;
  OKBitBtn->setEnabled(true);
  PlaceButtons();
}

// --- ticking ------------------------------------------------------------------------------

std::vector<int> TUpdateForm::CheckedPositions() const {
  std::vector<int> checked;
  for (int i = 0; i < UpdateCheckListBox->count(); ++i)
    if (UpdateCheckListBox->item(i)->checkState() == Qt::Checked) checked.push_back(i);
  return checked;
}

void TUpdateForm::UpdateCheckListBoxClick(int row) {
  if (m_downloadStyle || row < 0 || row >= UpdateCheckListBox->count()) return;
  QListWidgetItem* item = UpdateCheckListBox->item(row);
  item->setCheckState(item->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
  UpdateCheckListBox->clearSelection();
  AfterTicking();
}

void TUpdateForm::AfterTicking() {
  const std::size_t checked = CheckedPositions().size();
  const QSignalBlocker quiet(SelectAllCheckBox);
  SelectAllCheckBox->setChecked(checked == m_items.size());
  OKBitBtn->setEnabled(checked > 0);
}

void TUpdateForm::SelectAllCheckBoxClick() {
  const bool all = SelectAllCheckBox->isChecked();
  const QSignalBlocker quiet(UpdateCheckListBox);
  for (int i = 0; i < UpdateCheckListBox->count(); ++i)
    UpdateCheckListBox->item(i)->setCheckState(all ? Qt::Checked : Qt::Unchecked);
  OKBitBtn->setEnabled(all);
}

// --- the automatic-check controls -----------------------------------------------------------

void TUpdateForm::AutoCheckupCheckBoxClick() {
  const bool on = AutoCheckupCheckBox->isChecked();
  AutoCheckupComboBox->setEnabled(on);
  if (m_setup.setCheckupEnabled) m_setup.setCheckupEnabled(on);
  if (on) AutoCheckupComboBoxChange();
}

void TUpdateForm::AutoCheckupComboBoxChange() { m_setup.checkup.ChooseInterval(AutoCheckupComboBox->currentIndex()); }

// --- the download -------------------------------------------------------------------------

void TUpdateForm::DownloadStep() {
  m_downloading = true;
  NewsLabel->hide();
  SelectAllCheckBox->hide();
  UpdateCheckListBox->setEnabled(false);
  SetUpdateText(QString());
  // OK comes back, if at all, as the button that closes the window.
  OKBitBtn->hide();
  OKBitBtn->setText(u"OK"_s);
  OKBitBtn->setIcon(QIcon());
  OKBitBtn->SetGlyphOnRight(false);
  OKBitBtn->SetKind(GlyphKind::Ok);
  OKBitBtn->Tag = 2;
  PlaceButtons();
  ProcessMessages();

  DownloadProgressBar->resize(UpdateCheckListBox->width() - 4, kItemHeight);
  DownloadProgressBar->show();
  DownloadProgressBar->raise();
  m_downloadStyle = true;
  UpdateCheckListBox->viewport()->setCursor(Qt::ArrowCursor);
  UpdateCheckListBox->viewport()->update();

  const DownloadOutcome outcome = m_session.Download(m_items, CheckedPositions(), *this);

  UpdateCheckListBox->clearSelection();
  UpdateCheckListBox->setCurrentRow(-1);
  DownloadProgressBar->hide();
  WriteLastDownload(m_setup.registry, ToOleDate(m_setup.clock.Now()));
  m_downloading = false;

  switch (outcome.end) {
    case DownloadEnd::Cancelled:
      done(QDialog::Rejected);
      return;
    case DownloadEnd::HandOffReady: {
      CancelBitBtn->hide();
      UpdateCheckListBox->hide();
      UpdateLabel->setParent(this);
      UpdateLabel->setGeometry(rect());
      UpdateLabel->setAlignment(Qt::AlignCenter);
      QFont big = UpdateLabel->font();
      big.setPointSize(16);
      UpdateLabel->setFont(big);
      UpdateLabel->setAutoFillBackground(true);
      UpdateLabel->show();
      UpdateLabel->raise();
      SetUpdateText(u"Переход к установке..."_s);
      ProcessMessages();
      m_setup.pause(kHandOffPauseMs);
      if (m_setup.startDetached(outcome.script)) {
        done(kUpdateHandedOff);
        return;
      }
      QFile::remove(outcome.script);
      break;
    }
    case DownloadEnd::NothingArrived:
    case DownloadEnd::ScriptNotSaved:
      break;
  }
  // Nothing can be handed over: say so and let the window be closed.
  if (UpdateLabel->parentWidget() == this) UpdateLabel->resize(width(), UpdateGroupBox->geometry().bottom() + 1);
  SetUpdateText(QString::fromUtf16(kDownloadFailedText));
  if (m_setup.beep) m_setup.beep();
  CancelBitBtn->hide();
  OKBitBtn->show();
  OKBitBtn->setEnabled(true);
  PlaceButtons();
}

void TUpdateForm::ItemStarting(int position, const UpdateItem& item) {
  QListWidgetItem* row = UpdateCheckListBox->item(position);
  UpdateCheckListBox->setCurrentItem(row);
  UpdateCheckListBox->scrollToItem(row);
  const QRect rowRect = UpdateCheckListBox->visualItemRect(row);
  const QPoint listTop = UpdateCheckListBox->viewport()->mapTo(UpdateGroupBox, QPoint(0, 0));
  DownloadProgressBar->move(UpdateCheckListBox->x() + 2, listTop.y() + rowRect.top());
  DownloadProgressBar->setRange(0, ProgressMaximum(item.size));
  DownloadProgressBar->setValue(0);
  SetUpdateText(u"Выполняется загрузка "_s + item.caption);
  ProcessMessages();
}

void TUpdateForm::Chunk() {
  if (DownloadProgressBar->value() < DownloadProgressBar->maximum())
    DownloadProgressBar->setValue(DownloadProgressBar->value() + 1);
  // The user's input too: Cancel is pressed here.
  QCoreApplication::processEvents();
}

void TUpdateForm::ItemFinished(int position, bool failed) {
  UpdateCheckListBox->viewport()->update(UpdateCheckListBox->visualItemRect(UpdateCheckListBox->item(position)));
  if (failed) SetUpdateText(QString::fromUtf16(kDownloadFailedText));
  ProcessMessages();
}

}  // namespace zv
