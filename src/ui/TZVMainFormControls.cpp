// The main window's controls under their own names, their skin colours and the popup menu.

#include "ui/TZVMainForm.h"
#include "ui/TZVMainFormParts.h"

#include "platform/Cp1251.h"
#include "platform/Registry.h"
#include "shell/StartUp.h"
#include "sound/SoundService.h"
#include "tasks/BuiltinContent.h"
#include "ui/HintGlyphs.h"
#include "ui/ProgramLook.h"
#include "ui/SkinCaptionButton.h"
#include "ui/TAidForm.h"
#include "ui/TBitBtn.h"
#include "ui/THintForm.h"
#include "ui/TMarkForm.h"
#include "ui/TTrackBar.h"
#include "ui/WidgetColours.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <chrono>

namespace zv {

namespace {

using namespace mainform;

QFrame* MakePanel(QWidget* parent, const SkinRect& r, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QLatin1String(name));
  panel->setGeometry(ToQRect(r));
  panel->setFrameShape(QFrame::NoFrame);
  return panel;
}

// A group of options: a rounded card of its own colour (the palette's Window, taken from the
// skin) with a soft frame a shade darker. Painted here rather than by a style sheet, so the
// group keeps the window's font wherever it is moved.
class OptionGroup final : public QGroupBox {
 public:
  using QGroupBox::QGroupBox;

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor fill = palette().color(QPalette::Window);
    p.setPen(QPen(fill.darker(122), 1));
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 5, 5);
  }
};

QGroupBox* MakeGroup(QWidget* parent, const SkinRect& r, const char* name) {
  auto* group = new OptionGroup(parent);
  QFont small(QStringLiteral("Arial"));
  small.setPointSize(8);
  group->setFont(small);
  group->setObjectName(QLatin1String(name));
  group->setGeometry(ToQRect(r));
  group->setFlat(true);
  return group;
}

QLabel* MakeLabel(QWidget* parent, const QRect& r, const QString& text, const char* name) {
  auto* label = new QLabel(Lines(text), parent);
  label->setObjectName(QLatin1String(name));
  label->setGeometry(r);
  return label;
}

QCheckBox* MakeCheckBox(QWidget* parent, const QRect& r, const char* name) {
  auto* box = new QCheckBox(parent);
  box->setObjectName(QLatin1String(name));
  box->setGeometry(r);
  return box;
}

// A label standing for a link of the start screen: clicking runs `click` while it is enabled;
// the caption of an enabled link turns blue under the mouse and navy when it leaves, while
// `hover` allows.
class LinkFilter : public QObject {
 public:
  LinkFilter(QLabel* label, std::function<void()> click, std::function<bool()> hover)
      : QObject(label), m_label(label), m_click(std::move(click)), m_hover(std::move(hover)) {
    label->installEventFilter(this);
    label->setCursor(Qt::PointingHandCursor);
  }

 protected:
  bool eventFilter(QObject*, QEvent* e) override {
    switch (e->type()) {
      case QEvent::MouseButtonRelease:
        if (m_label->isEnabled() && static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton) m_click();
        return true;
      case QEvent::MouseButtonPress:
        return true;  // a press on a link does not drag the window
      case QEvent::Enter:
        if (m_label->isEnabled() && m_hover()) SetTextColour(m_label, kBlueRgb);
        break;
      case QEvent::Leave:
        if (m_hover()) SetTextColour(m_label, kNavyRgb);
        break;
      default:
        break;
    }
    return false;
  }

 private:
  QLabel* m_label;
  std::function<void()> m_click;
  std::function<bool()> m_hover;
};

}  // namespace

using namespace mainform;

void TZVMainForm::CreateControls() {
  QFont base(QStringLiteral("Arial"));
  base.setPointSize(9);
  setFont(base);

  // Task card.
  TaskPanel = MakePanel(this, skin::TaskPanel, "TaskPanel");
  TaskLabel1 = MakeLabel(TaskPanel, kTaskLabel.translated(1, 1), QString(), "TaskLabel1");
  TaskLabel = MakeLabel(TaskPanel, kTaskLabel, QString(), "TaskLabel");
  for (QLabel* l : {TaskLabel, TaskLabel1}) {
    l->setWordWrap(true);
    l->setAlignment(Qt::AlignCenter);
    l->setFont(FontOf(m_settings.askFont));
  }
  SetTextColour(TaskLabel, kPurple);
  TaskLabel1->hide();
  RepComLabel = MakeLabel(TaskPanel, kRepComLabel, QString(), "RepComLabel");
  RepStatusLabel = MakeLabel(TaskPanel, kRepStatusLabel, QString(), "RepStatusLabel");
  RepStatusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  SetBold(RepStatusLabel, true);
  QFont italic = base;
  italic.setItalic(true);
  RepComLabel->setFont(italic);
  SetTextColour(RepComLabel, 0x505050);

  // Status line.
  StatusPanel = MakePanel(this, skin::StatusPanel, "StatusPanel");
  StatusLabel = MakeLabel(
      StatusPanel, QRect(6, 0, skin::StatusPanel.width - 8, skin::StatusPanel.height), QString(), "StatusLabel");
  SetBold(StatusLabel, true);
  SetTextColour(StatusLabel, 0x1E2A44);
  DirStatusPanel = MakePanel(this, skin::DirStatusPanel, "DirStatusPanel");
  DirStatusLabel = MakeLabel(DirStatusPanel,
                             QRect(0, 0, skin::DirStatusPanel.width - 6, skin::DirStatusPanel.height),
                             QString(),
                             "DirStatusLabel");
  DirStatusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont small = base;
  small.setPointSize(8);
  DirStatusLabel->setFont(small);
  SetTextColour(DirStatusLabel, 0x3A4660);

  KeyGuideLabel = MakeLabel(this, ToQRect(skin::KeyGuideLabel), QString(), "KeyGuideLabel");
  KeyGuideLabel->setAlignment(Qt::AlignCenter);
  SetTextColour(KeyGuideLabel, 0x24304A);

  // Answer rows.
  static const char* const panelNames[] = {
      "BitBtn1Panel", "BitBtn2Panel", "BitBtn3Panel", "BitBtn4Panel", "BitBtn5Panel"};
  static const char* const buttonNames[] = {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5"};
  for (int i = 0; i < 5; ++i) {
    QFrame* panel = MakePanel(this, skin::AnswerRow(i), panelNames[i]);
    auto* button = new TBitBtn(panel);
    button->setObjectName(QLatin1String(buttonNames[i]));
    button->setGeometry(kAnswerButton);
    button->setFont(FontOf(m_settings.ansFont));
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QAbstractButton::clicked, this, [this, i] { BitBtnClick(i + 1); });
    connect(button, &QWidget::customContextMenuRequested, this, [this, button](QPoint p) {
      MainPopupMenuPopup(button, button->mapToGlobal(p));
    });
    BitBtnPanels[static_cast<std::size_t>(i)] = panel;
    BitBtns[static_cast<std::size_t>(i)] = button;
    panel->hide();
  }
  for (QWidget* w : {static_cast<QWidget*>(TaskPanel), static_cast<QWidget*>(TaskLabel)}) {
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this, [this, w](QPoint p) {
      MainPopupMenuPopup(w, w->mapToGlobal(p));
    });
  }

  // Start-screen groups.
  GenGroupBox = MakeGroup(this, skin::GenGroupBox, "GenGroupBox");
  GenLabel = MakeLabel(GenGroupBox, kGenLabel, S("Количество\r\nзаданий в экзамене"), "GenLabel");
  GenComboBox = new QComboBox(GenGroupBox);
  GenComboBox->setObjectName(QStringLiteral("GenComboBox"));
  GenComboBox->setGeometry(kGenComboBox);
  for (int i = 0; i < 46; ++i) GenComboBox->addItem(ExamLengthItem(i));
  GenComboBox->setMaxVisibleItems(16);
  KeepListHeight(GenComboBox);

  DirGroupBox = MakeGroup(this, skin::DirGroupBox, "DirGroupBox");
  DirLabel = MakeLabel(DirGroupBox, kDirLabel, S("Представление заданий"), "DirLabel");
  DirLabel->setAlignment(Qt::AlignCenter);
  DirComboBox = new QComboBox(DirGroupBox);
  DirComboBox->setObjectName(QStringLiteral("DirComboBox"));
  DirComboBox->setGeometry(kDirComboBox);
  for (int i = 0; i < 3; ++i) DirComboBox->addItem(PresentationName(i));
  KeepListHeight(DirComboBox);

  SoundGroupBox = MakeGroup(this, skin::SoundGroupBox, "SoundGroupBox");
  SoundCheckBox = MakeCheckBox(SoundGroupBox, kSoundCheckBox, "SoundCheckBox");
  SoundCheckBox->setChecked(true);
  SoundLabel = MakeLabel(SoundGroupBox, kSoundLabel, S("Звуковые комментарии"), "SoundLabel");
  VolumeTrackBar = new TTrackBar(SoundGroupBox);
  VolumeTrackBar->setObjectName(QStringLiteral("VolumeTrackBar"));
  VolumeTrackBar->setGeometry(kVolumeTrackBar);

  TLGroupBox = MakeGroup(this, skin::TLGroupBox, "TLGroupBox");
  TLCheckBox = MakeCheckBox(TLGroupBox, kTLCheckBox, "TLCheckBox");
  TLLabel = MakeLabel(TLGroupBox, kTLLabel, S(" Ограничение времени "), "TLLabel");
  SetTextColour(TLLabel, kNavyRgb);
  TLComboBox = new QComboBox(TLGroupBox);
  TLComboBox->setObjectName(QStringLiteral("TLComboBox"));
  TLComboBox->setGeometry(kTLComboBox);
  TLComboBox->setMaxVisibleItems(16);
  KeepListHeight(TLComboBox);
  TLComboBox->setToolTip(S("секунд на одно задание..."));
  TictacCheckBox = MakeCheckBox(TLGroupBox, QRect(kTictacCheckBoxLeft + 2, kTictacTop, 16, 18), "TictacCheckBox");
  TictacCheckBox->setChecked(true);
  TicTacLabel = MakeLabel(TLGroupBox,
                          QRect(kTictacCheckBoxLeft + 20, kTictacTop - 1, kTicTacLabelWidth, 18),
                          S("Звук \"тик-так\""),
                          "TicTacLabel");
  SetTextColour(TicTacLabel, kNavyRgb);

  RepGroupBox = MakeGroup(this, skin::RepGroupBox, "RepGroupBox");
  RepCheckBox = MakeCheckBox(RepGroupBox, kRepCheckBox, "RepCheckBox");
  RepLabel = MakeLabel(RepGroupBox, kRepLabel, S(" Закрепление пройденного "), "RepLabel");
  SetTextColour(RepLabel, kNavyRgb);
  RepInfoLabel = MakeLabel(RepGroupBox, kRepInfoLabel, QString(), "RepInfoLabel");
  QFont info = base;
  info.setItalic(true);
  info.setPointSizeF(7.5);
  RepInfoLabel->setFont(info);
  SetTextColour(RepInfoLabel, 0x6E6E6E);

  PreBottomPanel = MakePanel(this, skin::PreBottomPanel, "PreBottomPanel");
  PreBottomPanel->hide();

  BottomPanel = MakePanel(this, skin::BottomPanel, "BottomPanel");
  CancelBitBtn = new TBitBtn(BottomPanel);
  CancelBitBtn->setObjectName(QStringLiteral("CancelBitBtn"));
  CancelBitBtn->SetKind(GlyphKind::Cancel);
  CancelBitBtn->SetCentred(true);
  ShowLogBitBtn = new TBitBtn(BottomPanel);
  ShowLogBitBtn->setObjectName(QStringLiteral("ShowLogBitBtn"));
  ShowLogBitBtn->SetKind(GlyphKind::Question);
  ShowLogBitBtn->SetCentred(true);
  ShowLogBitBtn->setText(S("Просмотр протокола"));
  ShowLogBitBtn->setToolTip(S("Результаты предыдущего экзамена"));
  ShowLogBitBtn->setGeometry(kEdgeGap, kBottomButtonTop, kShowLogWidth, kBottomButtonHeight);
  ShowLogBitBtn->hide();

  SpeakerPanel = MakePanel(this, skin::SpeakerPanel, "SpeakerPanel");
  SpeakerBitBtn = new TBitBtn(SpeakerPanel);
  SpeakerBitBtn->setObjectName(QStringLiteral("SpeakerBitBtn"));
  SpeakerBitBtn->SetGlyphVisible(false);
  SpeakerBitBtn->setText(S("Ещё раз"));
  SpeakerBitBtn->setGeometry(4, 4, skin::SpeakerPanel.width - 8, skin::SpeakerPanel.height - 8);
  SpeakerBitBtn->hide();
  SpeakerAnimate = MakeLabel(
      SpeakerPanel, QRect(0, 0, skin::SpeakerPanel.width, skin::SpeakerPanel.height), QString(), "SpeakerAnimate");
  SpeakerAnimate->setPixmap(SpeakerGlyphIcon().pixmap(kSpeakerGlyphSize, kSpeakerGlyphSize));
  SpeakerAnimate->setAlignment(Qt::AlignCenter);
  SpeakerAnimate->hide();

  TLTimer = new QTimer(this);
  TLTimer->setObjectName(QStringLiteral("TLTimer"));
  TLTimer->setInterval(1000);
  TLTimer->setSingleShot(true);  // every step re-arms it after its own pause
  FlashTimer = new QTimer(this);
  FlashTimer->setObjectName(QStringLiteral("FlashTimer"));
  FlashTimer->setInterval(512);
  UpdateCheckupTimer = new QTimer(this);
  UpdateCheckupTimer->setObjectName(QStringLiteral("UpdateCheckupTimer"));
  UpdateCheckupTimer->setInterval(kUpdateCheckupTimerMs);

  MainPopupMenu = new QMenu(this);
  MainPopupMenu->setObjectName(QStringLiteral("MainPopupMenu"));
  FontItem = MainPopupMenu->addAction(S("Шрифт ответов..."));
  CopyItem = MainPopupMenu->addAction(S("Копировать задание в буфер"));
  connect(CopyItem, &QAction::triggered, this, &TZVMainForm::CopyItemClick);
  connect(FontItem, &QAction::triggered, this, &TZVMainForm::FontItemClick);

  // Events to the flow.
  connect(CancelBitBtn, &QAbstractButton::clicked, this, &TZVMainForm::CancelBitBtnClick);
  connect(InfoBitBtn, &QAbstractButton::clicked, this, &TZVMainForm::InfoBitBtnClick);
  connect(ShowLogBitBtn, &QAbstractButton::clicked, this, &TZVMainForm::ShowLogBitBtnClick);
  connect(TaskListBitBtn, &QAbstractButton::clicked, this, &TZVMainForm::TaskListBitBtnClick);
  connect(LiveUpdateBitBtn, &QAbstractButton::clicked, this, [this] { LiveUpdateBitBtnClick(UpdateOpening::ByUser); });
  connect(UpdateCheckupTimer, &QTimer::timeout, this, &TZVMainForm::UpdateCheckupTimerTimer);
  connect(SpeakerBitBtn, &QAbstractButton::clicked, this, &TZVMainForm::SpeakerBitBtnClick);
  disconnect(ExitBitBtn, nullptr, this, nullptr);
  connect(ExitBitBtn, &QAbstractButton::clicked, this, [this] { m_flow->ExitBitBtnClick(); });
  connect(TLTimer, &QTimer::timeout, this, [this] { m_flow->TLTimerTimer(); });
  connect(FlashTimer, &QTimer::timeout, this, [this] { m_flow->FlashTimerTimer(); });
  connect(TLCheckBox, &QCheckBox::clicked, this, &TZVMainForm::TLCheckBoxClick);
  connect(TictacCheckBox, &QCheckBox::clicked, this, &TZVMainForm::TictacCheckBoxClick);
  connect(RepCheckBox, &QCheckBox::clicked, this, &TZVMainForm::RepCheckBoxClick);
  connect(SoundCheckBox, &QCheckBox::clicked, this, &TZVMainForm::SoundCheckBoxClick);
  connect(GenComboBox, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!m_refreshing && i >= 0) m_flow->GenComboBoxChange(i);
  });
  connect(DirComboBox, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!m_refreshing && i >= 0) m_flow->DirComboBoxChange(i);
  });
  connect(TLComboBox, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!m_refreshing && i >= 0) m_flow->TLComboBoxChange(i);
  });
  connect(
      VolumeTrackBar, &TTrackBar::positionChangedByUser, this, [this](int position) { m_sound.SetVolume(position); });
  VolumeTrackBar->SetLeftPressHook([this] {
    if (SpeakerBitBtn->isVisible()) SpeakerBitBtnClick();
  });

  const auto onStartScreen = [this] { return TLLabel->property("tag").toInt() == 0; };
  new LinkFilter(
      TLLabel,
      [this, onStartScreen] {
        if (!onStartScreen()) return;
        TLCheckBox->toggle();
        TLCheckBoxClick();
      },
      onStartScreen);
  new LinkFilter(
      TicTacLabel,
      [this] {
        if (!TictacCheckBox->isEnabled()) return;
        TictacCheckBox->toggle();
        TictacCheckBoxClick();
      },
      [] { return true; });  // enabled exactly with the time limit
  new LinkFilter(
      RepLabel,
      [this] {
        if (!RepCheckBox->isEnabled()) return;
        RepCheckBox->toggle();
        RepCheckBoxClick();
      },
      [this] { return RepLabel->isEnabled(); });
  new LinkFilter(
      SoundLabel,
      [this] {
        if (!m_sound.EngineWorks() || !m_sound.CommentsLoaded()) return;
        SoundCheckBox->toggle();
        SoundCheckBoxClick();
      },
      [this] { return SoundLabel->property("tag").toInt() == 1; });

  // Tab order: the answer buttons, the start-screen options, the bottom buttons, the caption.
  QWidget* order[] = {BitBtns[0],
                      BitBtns[1],
                      BitBtns[2],
                      BitBtns[3],
                      BitBtns[4],
                      GenComboBox,
                      DirComboBox,
                      SoundCheckBox,
                      VolumeTrackBar,
                      TLCheckBox,
                      TLComboBox,
                      TictacCheckBox,
                      RepCheckBox,
                      ShowLogBitBtn,
                      CancelBitBtn,
                      SpeakerBitBtn,
                      TaskListBitBtn,
                      LiveUpdateBitBtn};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void TZVMainForm::ColourFromSkinAtCreation() {
  ColorFromSkin(TaskPanel, SkinSample::BelowLeft);
  for (QFrame* panel : BitBtnPanels) ColorFromSkin(panel, SkinSample::BelowLeft);
  ColorFromSkin(StatusPanel, SkinSample::TopLeft);
  SetBackgroundColor(DirStatusPanel, StatusPanel->palette().color(QPalette::Window));
  const QColor gen = SkinColorFor(ToQRect(skin::GenGroupBox), SkinSample::TopLeft);
  const QColor tl = SkinColorFor(ToQRect(skin::TLGroupBox), SkinSample::TopLeft);
  for (QGroupBox* group : {GenGroupBox, DirGroupBox, SoundGroupBox}) SetGroupColour(group, gen);
  for (QGroupBox* group : {TLGroupBox, RepGroupBox}) SetGroupColour(group, tl);
}

void TZVMainForm::ColourFromSkinOnStartScreen() {
  SetBackgroundColor(SpeakerPanel, SkinColorFor(ToQRect(skin::SpeakerPanel), SkinSample::BelowRight));
  ColorFromSkin(BottomPanel, ShowLogBitBtn->isVisible() ? SkinSample::TopHalf : SkinSample::BelowQuarter);
  ColorFromSkin(PreBottomPanel, SkinSample::TopQuarter);
}

void TZVMainForm::MainPopupMenuPopup(QWidget* on, QPoint globalPos) {
  const MainPopup popup = MainPopupFor(on == TaskLabel, m_flow->OnStartScreen());
  m_fontTarget = FontTargetFor(on == TaskLabel);
  FontItem->setText(popup.FontItem);
  CopyItem->setVisible(popup.CopyItemVisible);
  MainPopupMenu->popup(globalPos);
}

void TZVMainForm::CopyItemClick() {
  if (TaskLabel->text().isEmpty()) return;  // an empty task copies nothing
  QGuiApplication::clipboard()->setText(TaskLabel->text());
}

}  // namespace zv
