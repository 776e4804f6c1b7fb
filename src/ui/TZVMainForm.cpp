#include "ui/TZVMainForm.h"

#include "platform/Cp1251.h"
#include "platform/Registry.h"
#include "shell/StartUp.h"
#include "sound/SoundService.h"
#include "tasks/BuiltinContent.h"
#include "ui/HintGlyphs.h"
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
#include <QScreen>
#include <QThread>
#include <QTimer>

#include <chrono>

namespace zv {
namespace {

QString S(const char* utf8) { return QString::fromUtf8(utf8); }

constexpr std::uint32_t kPurple = 0x800080;
constexpr std::uint32_t kNavyRgb = 0x000080;
constexpr std::uint32_t kBlueRgb = 0x0000FF;

// Places inside the groups and panels (their own coordinates).
constexpr QRect kGenLabel{8, 9, 112, 36};
constexpr QRect kGenComboBox{120, 15, 42, 24};
constexpr QRect kDirLabel{6, 5, 143, 16};
constexpr QRect kDirComboBox{8, 22, 139, 24};
constexpr QRect kSoundCheckBox{8, 4, 16, 18};
constexpr QRect kSoundLabel{26, 3, 160, 18};
constexpr QRect kSoundLabelAlone{4, 3, 183, 38};  // the notice when there is no sound
constexpr QRect kVolumeTrackBar{6, 22, 179, 20};
constexpr QRect kTLCheckBox{8, 4, 16, 18};
constexpr QRect kTLLabel{24, 3, 134, 18};
constexpr QRect kTLComboBox{158, 2, 56, 22};
constexpr int kTictacTop = 25;
constexpr int kTictacCheckBoxLeft = 6;  // on the start screen; the label 18 pixels right of it
constexpr int kTicTacLabelWidth = 120;
constexpr QRect kRepCheckBox{8, 4, 16, 18};
constexpr QRect kRepLabel{26, 3, 200, 18};
constexpr QRect kRepInfoLabel{26, 20, 268, 25};
constexpr QRect kTaskLabel{10, 18, 520, 84};
constexpr QRect kRepComLabel{8, 2, 262, 16};
constexpr QRect kRepStatusLabel{270, 2, 262, 16};
constexpr QRect kAnswerButton{2, 1, 536, 26};
constexpr int kCancelWidth = 260;
constexpr int kShowLogWidth = 200;
constexpr int kBottomButtonTop = 4;
constexpr int kBottomButtonHeight = 28;
constexpr int kTLExamTop = 4;
constexpr int kSoundExamTop = 8;
constexpr int kEdgeGap = 8;

QFrame* MakePanel(QWidget* parent, const SkinRect& r, const char* name) {
  auto* panel = new QFrame(parent);
  panel->setObjectName(QLatin1String(name));
  panel->setGeometry(ToQRect(r));
  panel->setFrameShape(QFrame::NoFrame);
  return panel;
}

QGroupBox* MakeGroup(QWidget* parent, const SkinRect& r, const char* name) {
  auto* group = new QGroupBox(parent);
  QFont small(QStringLiteral("Arial"));
  small.setPointSize(8);
  group->setFont(small);
  group->setObjectName(QLatin1String(name));
  group->setGeometry(ToQRect(r));
  group->setFlat(true);
  return group;
}

// The texts of the exam break lines with "\r\n" or a lone "\r"; labels break on "\n".
QString Lines(QString text) {
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return text;
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

void SetTextColour(QWidget* w, std::uint32_t rgb) { SetTextColor(w, QPalette::WindowText, Rgb(rgb)); }

void SetBold(QWidget* w, bool bold) {
  QFont f = w->font();
  if (f.bold() == bold) return;
  f.setBold(bold);
  w->setFont(f);
}

QFont FontOf(const FontChoice& c) {
  QFont f(c.name);
  f.setPointSize(c.size > 0 ? c.size : 10);
  f.setBold(c.bold);
  f.setItalic(c.italic);
  f.setUnderline(c.underline);
  f.setStrikeOut(c.strikeOut);
  return f;
}

FontChoice ChoiceOf(const QFont& f) {
  FontChoice c;
  c.name = f.family();
  c.size = f.pointSize();
  c.bold = f.bold();
  c.italic = f.italic();
  c.underline = f.underline();
  c.strikeOut = f.strikeOut();
  return c;
}

// A label standing for a link of the start screen: clicking runs `click` while it is enabled;
// the caption turns blue under the mouse and navy when it leaves, while `hover` allows.
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
        if (m_hover()) SetTextColour(m_label, kBlueRgb);
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

// Flat panels and groups blend with the skin; groups get a soft frame of their own.
void StyleGroup(QGroupBox* group, const QColor& colour) {
  const QColor frame = colour.darker(122);
  group->setStyleSheet(QStringLiteral("QGroupBox#%1 { background-color: %2; border: 1px solid %3; "
                                      "border-radius: 5px; margin: 0px; padding: 0px; }")
                           .arg(group->objectName(), colour.name(), frame.name()));
}

std::optional<int> FixedTaskFrom(const QString& firstArgument) {
  if (!firstArgument.startsWith(QLatin1String("fn"))) return std::nullopt;
  bool ok = false;
  const int k = firstArgument.mid(2).toInt(&ok);
  // A number the bank cannot hold loads no task; it is refused like a missing argument.
  if (!ok || k < 1 || k > 1500) return std::nullopt;
  return k;
}

QChar DecimalSeparator() {
  const QString point = QLocale::system().decimalPoint();
  return point.isEmpty() ? QLatin1Char(',') : point.at(0);
}

}  // namespace

std::uint32_t SystemExamClock::TickCount() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

QDateTime SystemExamClock::Now() { return QDateTime::currentDateTime(); }

TZVMainForm::TZVMainForm(TrainerContext& context, SoundService& sound, QWidget* parent)
    : SkinnedForm(parent),
      m_context(context),
      m_sound(sound),
      m_catalogue(content::TaskText(), content::SayingsText()) {
  setObjectName(QStringLiteral("TZVMainForm"));
  ExamEnvironment env{*this,
                      m_catalogue,
                      *context.State.Tasks,
                      *context.State.Remarks,
                      *context.System.Random,
                      sound,
                      m_clock,
                      m_protocol,
                      m_statistics,
                      DecimalSeparator(),
                      context.System.IsXPOrOlder,
                      FixedTaskFrom(context.System.FirstArgument)};
  m_flow = std::make_unique<ExamFlow>(env);
  FormCreate();
}

TZVMainForm::~TZVMainForm() {
  qApp->removeEventFilter(this);
  FormClose();
}

void TZVMainForm::SetAidForm(TAidForm* aid) { m_aid = aid; }

void TZVMainForm::SetHintForm(THintForm* hint) { m_hint = hint; }

bool TZVMainForm::CommentsOn() const {
  return SoundCheckBox->isChecked() && m_sound.EngineWorks() && m_sound.CommentsLoaded();
}

void TZVMainForm::FormCreate() {
  setWindowTitle(m_context.State.CyrillicName);
  SetTitle(m_context.State.CyrillicName + QLatin1Char(' ') + m_context.State.VersionLabel);
  CreateControls();
  ColourFromSkinAtCreation();

  m_statistics.FirstDate = m_context.State.FirstDate;
  m_statistics.RCount = m_context.State.RCount;
  ApplySettings();

  if (TProgressForm* progress = m_context.Windows.Progress.get()) {
    progress->SetCaption(S("Загрузка звуков:"));
    progress->Step();
    progress->Step();  // after the sound comment states: no packages are read yet
    progress->Step();
  }
  ApplySoundOutcome();
  if (m_context.Windows.Progress) QThread::msleep(64);
  m_context.Windows.Free();

  qApp->installEventFilter(this);
  m_created = true;
  m_flow->ShowStartScreen();
}

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
  StatusLabel = MakeLabel(StatusPanel, QRect(6, 0, skin::StatusPanel.width - 8, skin::StatusPanel.height), QString(),
                          "StatusLabel");
  SetBold(StatusLabel, true);
  SetTextColour(StatusLabel, 0x1E2A44);
  DirStatusPanel = MakePanel(this, skin::DirStatusPanel, "DirStatusPanel");
  DirStatusLabel = MakeLabel(DirStatusPanel, QRect(0, 0, skin::DirStatusPanel.width - 6, skin::DirStatusPanel.height),
                             QString(), "DirStatusLabel");
  DirStatusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont small = base;
  small.setPointSize(8);
  DirStatusLabel->setFont(small);
  SetTextColour(DirStatusLabel, 0x3A4660);

  KeyGuideLabel = MakeLabel(this, ToQRect(skin::KeyGuideLabel), QString(), "KeyGuideLabel");
  KeyGuideLabel->setAlignment(Qt::AlignCenter);
  SetTextColour(KeyGuideLabel, 0x24304A);

  // Answer rows.
  static const char* const panelNames[] = {"BitBtn1Panel", "BitBtn2Panel", "BitBtn3Panel", "BitBtn4Panel",
                                           "BitBtn5Panel"};
  static const char* const buttonNames[] = {"BitBtn1", "BitBtn2", "BitBtn3", "BitBtn4", "BitBtn5"};
  for (int i = 0; i < 5; ++i) {
    QFrame* panel = MakePanel(this, skin::AnswerRow(i), panelNames[i]);
    auto* button = new TBitBtn(panel);
    button->setObjectName(QLatin1String(buttonNames[i]));
    button->setGeometry(kAnswerButton);
    button->setFont(FontOf(m_settings.ansFont));
    button->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(button, &QAbstractButton::clicked, this, [this, i] { BitBtnClick(i + 1); });
    connect(button, &QWidget::customContextMenuRequested, this,
            [this, button](QPoint p) { MainPopupMenuPopup(button, button->mapToGlobal(p)); });
    BitBtnPanels[static_cast<std::size_t>(i)] = panel;
    BitBtns[static_cast<std::size_t>(i)] = button;
    panel->hide();
  }
  for (QWidget* w : {static_cast<QWidget*>(TaskPanel), static_cast<QWidget*>(TaskLabel)}) {
    w->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(w, &QWidget::customContextMenuRequested, this,
            [this, w](QPoint p) { MainPopupMenuPopup(w, w->mapToGlobal(p)); });
  }

  // Start-screen groups.
  GenGroupBox = MakeGroup(this, skin::GenGroupBox, "GenGroupBox");
  GenLabel = MakeLabel(GenGroupBox, kGenLabel, S("Количество\r\nзаданий в экзамене"), "GenLabel");
  GenComboBox = new QComboBox(GenGroupBox);
  GenComboBox->setObjectName(QStringLiteral("GenComboBox"));
  GenComboBox->setGeometry(kGenComboBox);
  for (int i = 0; i < 46; ++i) GenComboBox->addItem(ExamLengthItem(i));
  GenComboBox->setMaxVisibleItems(16);

  DirGroupBox = MakeGroup(this, skin::DirGroupBox, "DirGroupBox");
  DirLabel = MakeLabel(DirGroupBox, kDirLabel, S("Представление заданий"), "DirLabel");
  DirLabel->setAlignment(Qt::AlignCenter);
  DirComboBox = new QComboBox(DirGroupBox);
  DirComboBox->setObjectName(QStringLiteral("DirComboBox"));
  DirComboBox->setGeometry(kDirComboBox);
  for (int i = 0; i < 3; ++i) DirComboBox->addItem(PresentationName(i));

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
  TLComboBox->setToolTip(S("секунд на одно задание..."));
  {
    // During an exam the box is the countdown display, disabled between steps: it stays legible.
    QPalette p = TLComboBox->palette();
    p.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(0x1E, 0x2A, 0x44));
    p.setColor(QPalette::Disabled, QPalette::Text, QColor(0x1E, 0x2A, 0x44));
    TLComboBox->setPalette(p);
  }
  TictacCheckBox = MakeCheckBox(TLGroupBox, QRect(kTictacCheckBoxLeft + 2, kTictacTop, 16, 18), "TictacCheckBox");
  TictacCheckBox->setChecked(true);
  TicTacLabel = MakeLabel(TLGroupBox, QRect(kTictacCheckBoxLeft + 20, kTictacTop - 1, kTicTacLabelWidth, 18),
                          S("Звук \"тик-так\""), "TicTacLabel");
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
  ShowLogBitBtn = new TBitBtn(BottomPanel);
  ShowLogBitBtn->setObjectName(QStringLiteral("ShowLogBitBtn"));
  ShowLogBitBtn->SetKind(GlyphKind::Question);
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
  SpeakerAnimate = MakeLabel(SpeakerPanel, QRect(0, 0, skin::SpeakerPanel.width, skin::SpeakerPanel.height), QString(),
                             "SpeakerAnimate");
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

  MainPopupMenu = new QMenu(this);
  MainPopupMenu->setObjectName(QStringLiteral("MainPopupMenu"));
  FontItem = MainPopupMenu->addAction(S("Шрифт ответов..."));
  CopyItem = MainPopupMenu->addAction(S("Копировать задание в буфер"));
  connect(CopyItem, &QAction::triggered, this, &TZVMainForm::CopyItemClick);
  // The font window comes with the font settings; until then the item opens nothing.

  // Events to the flow.
  connect(CancelBitBtn, &QAbstractButton::clicked, this, &TZVMainForm::CancelBitBtnClick);
  connect(ShowLogBitBtn, &QAbstractButton::clicked, this, &TZVMainForm::ShowLogBitBtnClick);
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
    if (!m_refreshing && i >= 0) m_flow->Screen().GenComboBoxIndex = i;
  });
  connect(DirComboBox, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!m_refreshing && i >= 0) m_flow->Screen().DirComboBoxIndex = i;
  });
  connect(TLComboBox, &QComboBox::currentIndexChanged, this, [this](int i) {
    if (!m_refreshing && i >= 0) m_flow->Screen().TLComboBoxIndex = i;
  });
  connect(VolumeTrackBar, &TTrackBar::positionChangedByUser, this, [this](int position) {
    m_flow->Screen().Volume = position;
    m_sound.SetVolume(position);
  });
  VolumeTrackBar->SetLeftPressHook([this] {
    if (SpeakerBitBtn->isVisible()) SpeakerBitBtnClick();
  });

  const auto onStartScreen = [this] { return TLLabel->property("tag").toInt() == 0; };
  new LinkFilter(TLLabel, [this, onStartScreen] {
    if (!onStartScreen()) return;
    TLCheckBox->toggle();
    TLCheckBoxClick();
  }, onStartScreen);
  new LinkFilter(TicTacLabel, [this] {
    if (!TictacCheckBox->isEnabled()) return;
    TictacCheckBox->toggle();
    TictacCheckBoxClick();
  }, [] { return true; });
  new LinkFilter(RepLabel, [this] {
    if (!RepCheckBox->isEnabled()) return;
    RepCheckBox->toggle();
    RepCheckBoxClick();
  }, [this] { return RepLabel->isEnabled(); });
  new LinkFilter(SoundLabel, [this] {
    if (!m_sound.EngineWorks() || !m_sound.CommentsLoaded()) return;
    SoundCheckBox->toggle();
    SoundCheckBoxClick();
  }, [this] { return SoundLabel->property("tag").toInt() == 1; });

  // Tab order: the answer buttons, the start-screen options, the bottom buttons, the caption.
  QWidget* order[] = {BitBtns[0], BitBtns[1], BitBtns[2], BitBtns[3], BitBtns[4], GenComboBox, DirComboBox,
                      SoundCheckBox, VolumeTrackBar, TLCheckBox, TLComboBox, TictacCheckBox, RepCheckBox,
                      ShowLogBitBtn, CancelBitBtn, SpeakerBitBtn, TaskListBitBtn, LiveUpdateBitBtn};
  for (std::size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
}

void TZVMainForm::ColourFromSkinAtCreation() {
  ColorFromSkin(TaskPanel, SkinSample::BelowLeft);
  for (QFrame* panel : BitBtnPanels) ColorFromSkin(panel, SkinSample::BelowLeft);
  ColorFromSkin(StatusPanel, SkinSample::TopLeft);
  SetBackgroundColor(DirStatusPanel, StatusPanel->palette().color(QPalette::Window));
  const QColor gen = SkinColorFor(ToQRect(skin::GenGroupBox), SkinSample::TopLeft);
  const QColor tl = SkinColorFor(ToQRect(skin::TLGroupBox), SkinSample::TopLeft);
  StyleGroup(GenGroupBox, gen);
  StyleGroup(DirGroupBox, gen);
  StyleGroup(SoundGroupBox, gen);
  StyleGroup(TLGroupBox, tl);
  StyleGroup(RepGroupBox, tl);
}

void TZVMainForm::ColourFromSkinOnStartScreen() {
  SetBackgroundColor(SpeakerPanel, SkinColorFor(ToQRect(skin::SpeakerPanel), SkinSample::BelowRight));
  ColorFromSkin(BottomPanel, ShowLogBitBtn->isVisible() ? SkinSample::TopHalf : SkinSample::BelowQuarter);
  ColorFromSkin(PreBottomPanel, SkinSample::TopQuarter);
}

void TZVMainForm::ApplySettings() {
  ScreenSpace space;
  if (const QScreen* primary = QGuiApplication::primaryScreen()) space.primary = primary->geometry().size();
  for (const QScreen* screen : QGuiApplication::screens()) space.screens.push_back(screen->geometry());
  space.window = size();
  m_settings = MainSettings{};
  m_settings.firstDate = m_statistics.FirstDate;
  m_settings.rCount = m_statistics.RCount;
  ReadMainSettings(*m_context.System.SettingsRegistry, m_settings, space);

  move(m_settings.left.value_or(308), m_settings.top.value_or(126));
  m_statistics.FirstDate = m_settings.firstDate;
  m_statistics.RCount = m_settings.rCount;

  MainScreen& s = m_flow->Screen();
  s.DirComboBoxIndex = m_settings.viewIndex;
  s.TLCheckBoxChecked = m_settings.toTL;
  s.SoundCheckBoxChecked = m_settings.sound;
  s.TictacCheckBoxChecked = m_settings.ticTac;
  s.TLComboBoxIndex = m_settings.timeLimitIndex;
  m_flow->SetTimeLimit(m_settings.timeLimit);
  s.GenComboBoxIndex = std::clamp(m_settings.tasksIndex, 0, 45);
  m_flow->TLCheckBoxClick();
  m_flow->TictacCheckBoxClick();
  TLCheckBox->setChecked(s.TLCheckBoxChecked);
  SoundCheckBox->setChecked(s.SoundCheckBoxChecked);
  TictacCheckBox->setChecked(s.TictacCheckBoxChecked);

  VolumeTrackBar->setValue(m_settings.volume);  // not the user's change: no volume is set
  s.Volume = VolumeTrackBar->value();

  const QFont ask = FontOf(m_settings.askFont);
  TaskLabel->setFont(ask);
  TaskLabel1->setFont(ask);
  const QFont ans = FontOf(m_settings.ansFont);
  for (TBitBtn* b : BitBtns) b->setFont(ans);
}

void TZVMainForm::ApplySoundOutcome() {
  MainScreen& s = m_flow->Screen();
  if (m_sound.EngineWorks()) {
    SoundLabel->setProperty("tag", 1);
    m_sound.SetVolume(VolumeTrackBar->value());
    VolumeTrackBar->show();
    SoundCheckBoxClick();
    if (!m_sound.CommentsLoaded()) {
      SoundCheckBox->hide();
      VolumeTrackBar->hide();
      SoundLabel->setGeometry(kSoundLabelAlone);
      SoundLabel->setText(Lines(S("Нет файлов\r\nзвуковых комментариев")));
      SoundLabel->setToolTip(S("Используйте кнопку \"Интернет-обновление\"!"));
      SoundLabel->setProperty("tag", 0);
      SoundLabel->unsetCursor();
    }
    m_flow->SetSoundHardware(true);
    if (!m_sound.AllVoicedTasksPresent()) {
      s.DirComboBoxIndex = static_cast<int>(Presentation::TextOnly);
      s.DirComboBoxEnabled = false;
    }
  } else {
    SoundCheckBox->hide();
    VolumeTrackBar->hide();
    SoundLabel->setGeometry(kSoundLabelAlone);
    SoundLabel->setAlignment(Qt::AlignCenter);
    SoundLabel->setText(S("Нет звукового оборудования"));
    SoundLabel->setProperty("tag", 0);
    SoundLabel->unsetCursor();
    SetTextColour(SoundLabel, 0x6E6E6E);
    m_flow->SetSoundHardware(false);
  }
}

// --- Model onto the controls --------------------------------------------------------------

void TZVMainForm::RebuildTimeLimitItems(int first, int last) {
  if (first == m_tlFirst && last == m_tlLast) return;
  m_tlFirst = first;
  m_tlLast = last;
  TLComboBox->clear();
  for (int i = first; i <= last; ++i) TLComboBox->addItem(TimeLimitItem(i));
}

void TZVMainForm::PlaceTimeLimitGroup(const MainScreen& s) {
  if (s.TLGroupPlace == GroupPlace::StartScreen) {
    if (TLGroupBox->parentWidget() != this) TLGroupBox->setParent(this);
    TLGroupBox->setGeometry(ToQRect(skin::TLGroupBox));
    TictacCheckBox->move(kTictacCheckBoxLeft + 2, kTictacTop);
    TicTacLabel->move(kTictacCheckBoxLeft + 20, kTictacTop - 1);
    return;
  }
  if (TLGroupBox->parentWidget() != PreBottomPanel) TLGroupBox->setParent(PreBottomPanel);
  const int width = skin::TLGroupBox.width;
  const int left = m_flow->SoundHardware() ? kEdgeGap : (skin::PreBottomPanel.width - width) / 2;
  TLGroupBox->setGeometry(left, kTLExamTop, width, skin::TLGroupBox.height);
  const int labelWidth = TicTacLabel->fontMetrics().horizontalAdvance(TicTacLabel->text()) + 4;
  const int labelLeft = (width - labelWidth) / 2 + 9;
  TicTacLabel->move(labelLeft, kTictacTop - 1);
  TictacCheckBox->move(labelLeft - 18, kTictacTop);
}

void TZVMainForm::PlaceSoundGroup(const MainScreen& s) {
  QWidget* const parent = s.SoundGroupPlace == GroupPlace::StartScreen ? static_cast<QWidget*>(this) : PreBottomPanel;
  if (SoundGroupBox->parentWidget() != parent) {
    SoundGroupBox->setParent(parent);
    VolumeTrackBar->RefreshTicks();  // the bar moved between the start screen and the exam
  }
  if (parent == this) {
    SoundGroupBox->setGeometry(ToQRect(skin::SoundGroupBox));
    return;
  }
  const int width = skin::SoundGroupBox.width;
  const int left = s.SoundGroupExamPlace == SoundPlace::RightEdge ? skin::PreBottomPanel.width - width - kEdgeGap
                                                                  : (skin::PreBottomPanel.width - width) / 2;
  SoundGroupBox->setGeometry(left, kSoundExamTop, width, skin::SoundGroupBox.height);
}

void TZVMainForm::PlaceCancelButton(const MainScreen& s) {
  const int panel = skin::BottomPanel.width;
  int left = (panel - kCancelWidth) / 2;
  if (s.CancelPlacement == CancelPlace::RightEdge) left = panel - kCancelWidth - kEdgeGap;
  if (s.CancelPlacement == CancelPlace::ExamCentre) left = (panel - kCancelWidth + 8) / 2;
  CancelBitBtn->setGeometry(left, kBottomButtonTop, kCancelWidth, kBottomButtonHeight);
}

void TZVMainForm::Refresh(const MainScreen& s) {
  m_refreshing = true;

  TaskLabel->setText(Lines(s.TaskLabel));
  TaskLabel1->setText(Lines(s.TaskLabel));
  const Qt::Alignment align = s.TaskLabelCentredVertically ? Qt::AlignCenter : (Qt::AlignHCenter | Qt::AlignTop);
  TaskLabel->setAlignment(align);
  TaskLabel1->setAlignment(align);
  TaskLabel1->setVisible(s.TaskLabel1Visible);
  SetTextColour(TaskLabel1, s.TaskLabel1Colour);
  RepStatusLabel->setVisible(s.RepStatusLabelVisible);
  RepStatusLabel->setText(s.RepStatusLabel);
  SetTextColour(RepStatusLabel, s.RepStatusLabelColour);
  RepComLabel->setText(s.RepComLabel);
  StatusLabel->setText(s.StatusLabel);
  StatusLabel->setVisible(s.StatusLabelVisible);
  DirStatusLabel->setText(s.DirStatusLabel);
  DirStatusLabel->setVisible(s.DirStatusLabelVisible);
  KeyGuideLabel->setText(s.KeyGuideLabel);
  KeyGuideLabel->setVisible(s.KeyGuideLabelVisible);

  for (std::size_t i = 0; i < 5; ++i) {
    const AnswerButton& model = s.Buttons[i];
    TBitBtn* button = BitBtns[i];
    // The caption is set after the kind, as changing the kind would reset it.
    button->SetKind(model.kind);
    button->setText(model.caption);
    button->Tag = model.tag;
    button->setVisible(model.visible);
    BitBtnPanels[i]->setVisible(model.panelVisible);
  }

  GenGroupBox->setVisible(s.GenGroupBoxVisible);
  GenComboBox->setCurrentIndex(s.GenComboBoxIndex);
  DirGroupBox->setVisible(s.DirGroupBoxVisible);
  DirComboBox->setCurrentIndex(s.DirComboBoxIndex);
  DirComboBox->setEnabled(s.DirComboBoxEnabled);

  PlaceTimeLimitGroup(s);
  RebuildTimeLimitItems(s.TLFirst, s.TLLast);
  TLComboBox->setCurrentIndex(s.TLComboBoxIndex);
  TLComboBox->setEnabled(s.TLComboBoxEnabled);
  TLCheckBox->setChecked(s.TLCheckBoxChecked);
  TLCheckBox->setVisible(s.TLCheckBoxVisible);
  TLLabel->setText(s.TLLabel);
  TLLabel->setProperty("tag", s.TLLabelTag);
  SetBold(TLLabel, s.TLLabelBold);
  if (s.TLLabelTag != 0) SetTextColour(TLLabel, kNavyRgb);
  TictacCheckBox->setChecked(s.TictacCheckBoxChecked);
  TictacCheckBox->setEnabled(s.TictacEnabled);
  TicTacLabel->setEnabled(s.TictacEnabled);
  SetBold(TicTacLabel, s.TicTacLabelBold);
  TLGroupBox->setVisible(s.TLGroupBoxVisible);

  RepGroupBox->setVisible(s.RepGroupBoxVisible);
  RepGroupBox->setToolTip(Lines(s.RepGroupBoxHint));
  RepCheckBox->setChecked(s.RepCheckBoxChecked);
  RepCheckBox->setEnabled(s.RepEnabled);
  RepLabel->setEnabled(s.RepEnabled);
  SetBold(RepLabel, s.RepLabelBold);
  SetTextColour(RepLabel, s.RepLabelColour);
  RepInfoLabel->setText(Lines(s.RepInfoLabel));

  PlaceSoundGroup(s);
  SoundGroupBox->setVisible(s.SoundGroupBoxVisible);
  SoundCheckBox->setChecked(s.SoundCheckBoxChecked);

  PreBottomPanel->setVisible(s.PreBottomPanelVisible);
  CancelBitBtn->Tag = s.CancelTag;
  CancelBitBtn->setText(s.CancelCaption);
  CancelBitBtn->setToolTip(s.CancelHint);
  PlaceCancelButton(s);
  CancelBitBtn->setVisible(s.CancelVisible);
  const bool wasShowLog = ShowLogBitBtn->isVisibleTo(this);
  ShowLogBitBtn->setVisible(s.ShowLogVisible);
  SpeakerPanel->move(skin::SpeakerPanel.x, s.SpeakerPanelTop);
  SpeakerBitBtn->setVisible(s.SpeakerBitBtnVisible);
  SpeakerAnimate->setVisible(s.SpeakerAnimateVisible);
  TaskListBitBtn->setVisible(s.TaskListVisible);
  TaskListBitBtn->setToolTip(s.TaskListHint);
  LiveUpdateBitBtn->setVisible(s.LiveUpdateVisible);

  if (s.FlashTimerOn != FlashTimer->isActive()) s.FlashTimerOn ? FlashTimer->start() : FlashTimer->stop();
  // A running countdown interval is left alone; an armed one starts its full second.
  if (!s.TLTimerOn)
    TLTimer->stop();
  else if (!TLTimer->isActive())
    TLTimer->start();
  setWindowTitle(s.WindowCaption.isEmpty() ? m_context.State.CyrillicName : s.WindowCaption);

  if (s.FocusRequest != m_appliedFocusRequest) {
    m_appliedFocusRequest = s.FocusRequest;
    if (s.Focus == FocusTarget::BitBtn1) BitBtns[0]->setFocus();
    if (s.Focus == FocusTarget::BitBtn5) BitBtns[4]->setFocus();
  }
  // Each start screen (BitBtn5 is the start button) takes the colours of the speaker and the
  // two bottom panels anew.
  const bool startScreen = s.Buttons[4].tag == kStartTag;
  if (startScreen && (!m_startScreenColoured || wasShowLog != s.ShowLogVisible)) {
    ColourFromSkinOnStartScreen();
    m_startScreenColoured = true;
  }
  if (!startScreen) m_startScreenColoured = false;
  m_refreshing = false;
}

// --- The view's other duties ----------------------------------------------------------------

void TZVMainForm::ShowCorrectAnswer(const CorrectAnswerRequest& request) {
  if (CorrectAnswerOverride) {
    CorrectAnswerOverride(request);
    return;
  }
  if (!m_hint) return;
  THintForm::Request r;
  r.windowColor = request.windowColour;
  r.fontColor = request.fontColour;
  r.blackButton = request.blackButtonVisible;
  r.caption = request.caption;
  r.interpretation = request.rightInterpretation;
  r.commentsOn = CommentsOn();
  r.preBottomPanelTop = skin::PreBottomPanel.y;
  m_hint->ShowModal(r);
}

void TZVMainForm::ShowMark(int mark) {
  if (MarkOverride) {
    MarkOverride(mark);
    return;
  }
  TMarkForm form(mark, CommentsOn(), *m_context.System.Random, m_sound, this);
  form.ShowModal();
}

void TZVMainForm::OpenProtocol() {
  if (ProtocolOverride) {
    ProtocolOverride();
    return;
  }
  if (!m_aid) return;
  QString saying;
  if (m_context.State.Sayings && m_catalogue.CountSayings() > 0)
    saying = cp1251::Decode(m_catalogue.DrawSaying(*m_context.State.Sayings));  // quoted, capitalised
  m_aid->ShowProtocol(m_protocol, saying);
}

void TZVMainForm::Schedule(int milliseconds, std::function<void()> continuation) {
  QTimer::singleShot(milliseconds, this, std::move(continuation));
}

void TZVMainForm::Beep() { QApplication::beep(); }

void TZVMainForm::CloseWindow() { close(); }

void TZVMainForm::MinimizeWindow() { showMinimized(); }

void TZVMainForm::ProcessPendingMessages() {
  // Paints and timers run; user input waits for the step in progress to end, so a click can
  // never start another step inside this one.
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

// --- Handlers -------------------------------------------------------------------------------

void TZVMainForm::BitBtnClick(int button) { m_flow->BitBtnClick(button); }

void TZVMainForm::CancelBitBtnClick() { m_flow->CancelBitBtnClick(); }

void TZVMainForm::ShowLogBitBtnClick() { m_flow->ShowLogBitBtnClick(); }

void TZVMainForm::SpeakerBitBtnClick() { m_flow->SpeakerBitBtnClick(); }

void TZVMainForm::TLCheckBoxClick() {
  m_flow->Screen().TLCheckBoxChecked = TLCheckBox->isChecked();
  m_flow->TLCheckBoxClick();
  Refresh(m_flow->Screen());
}

void TZVMainForm::TictacCheckBoxClick() {
  m_flow->Screen().TictacCheckBoxChecked = TictacCheckBox->isChecked();
  m_flow->TictacCheckBoxClick();
  Refresh(m_flow->Screen());
}

void TZVMainForm::RepCheckBoxClick() {
  m_flow->Screen().RepCheckBoxChecked = RepCheckBox->isChecked();
  m_flow->RepCheckBoxClick();
  Refresh(m_flow->Screen());
}

void TZVMainForm::SoundCheckBoxClick() {
  MainScreen& s = m_flow->Screen();
  s.SoundCheckBoxChecked = SoundCheckBox->isChecked();
  // "Ещё раз" on view goes when the comments are switched off.
  if (s.SpeakerBitBtnVisible) s.SpeakerBitBtnVisible = SoundCheckBox->isChecked();
  SetBold(SoundLabel, SoundCheckBox->isChecked());
  if (m_created) Refresh(m_flow->Screen());
}

void TZVMainForm::MainPopupMenuPopup(QWidget* on, QPoint globalPos) {
  const MainPopup popup = MainPopupFor(on == TaskLabel, m_flow->OnStartScreen());
  FontItem->setText(popup.FontItem);
  CopyItem->setVisible(popup.CopyItemVisible);
  MainPopupMenu->popup(globalPos);
}

void TZVMainForm::CopyItemClick() { QGuiApplication::clipboard()->setText(TaskLabel->text()); }

bool TZVMainForm::HandleMessages(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Left && key != Qt::Key_Up && key != Qt::Key_Right && key != Qt::Key_Down) return false;
  QWidget* focused = focusWidget();
  if (focused == nullptr || focused != watched) return false;
  const bool known = std::find(BitBtns.begin(), BitBtns.end(), focused) != BitBtns.end() ||
                     focused == CancelBitBtn || focused == TaskListBitBtn || focused == LiveUpdateBitBtn;
  if (!known) return false;
  focusNextPrevChild(key == Qt::Key_Right || key == Qt::Key_Down);
  return true;
}

bool TZVMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (HandleMessages(watched, event)) return true;
  return SkinnedForm::eventFilter(watched, event);
}

void TZVMainForm::keyPressEvent(QKeyEvent* event) {
  // F1 opens the about window, which comes with its own window; nothing to open yet.
  SkinnedForm::keyPressEvent(event);
}

// --- Closing --------------------------------------------------------------------------------

void TZVMainForm::CollectSettings() {
  const MainScreen& s = m_flow->Screen();
  m_settings.left = x();
  m_settings.top = y();
  m_settings.firstDate = m_statistics.FirstDate;
  m_settings.rCount = m_statistics.RCount;
  m_settings.ticTac = TictacCheckBox->isChecked();
  m_settings.sound = SoundCheckBox->isChecked();
  m_settings.toTL = TLCheckBox->isChecked();
  m_settings.timeLimit = m_flow->TimeLimit();
  m_settings.tasksIndex = GenComboBox->currentIndex();
  m_settings.viewIndex = s.DirComboBoxIndex;
  m_settings.askFont = ChoiceOf(TaskLabel->font());
  m_settings.ansFont = ChoiceOf(BitBtns[0]->font());
  m_settings.volume = VolumeTrackBar->value();
  m_settings.volumeShown = !VolumeTrackBar->isHidden();
}

void TZVMainForm::FormClose() {
  if (m_closed || !m_created) return;
  m_closed = true;
  TLTimer->stop();
  FlashTimer->stop();
  CollectSettings();
  TrainerState& state = m_context.State;
  state.FirstDate = m_statistics.FirstDate;
  state.RCount = m_statistics.RCount;
  WriteMainSettings(*m_context.System.SettingsRegistry, m_settings, *state.Tasks, *state.Sayings, *state.Remarks);
}

void TZVMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
  SkinnedForm::closeEvent(event);
}

}  // namespace zv
