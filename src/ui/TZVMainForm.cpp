// The main window: creation (continuing the start-up), the arrow-key hook and closing.

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

using namespace mainform;

std::uint32_t SystemExamClock::TickCount() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

QDateTime SystemExamClock::Now() { return QDateTime::currentDateTime(); }

TZVMainForm::TZVMainForm(TrainerContext& context, SoundService& sound, QWidget* parent)
    : SkinnedForm(parent,
                  [&windows = context.Windows] {
                    // Start-up goes on while the window's shape is built.
                    if (windows.Progress) windows.Progress->Step();
                  }),
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
                      context.State.Statistics,
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

void TZVMainForm::FormCreate() {
  setWindowTitle(m_context.State.CyrillicName);
  SetTitle(m_context.State.CyrillicName + QLatin1Char(' ') + m_context.State.VersionLabel);
  CreateControls();
  ColourFromSkinAtCreation();

  ApplySettings();
  StartUpdateCheckup();

  // The sound packages step the bar between these two steps when they are read.
  if (TProgressForm* progress = m_context.Windows.Progress.get()) {
    progress->SetCaption(S("Загрузка звуков:"));
    progress->Step();
  }
  // The engine starts and the packages are scanned, stepping the bar once per package.
  m_sound.Load(*m_context.System.SettingsRegistry, [this] {
    if (TProgressForm* progress = m_context.Windows.Progress.get()) progress->Step();
  });
  ApplySoundOutcome();
  if (TProgressForm* progress = m_context.Windows.Progress.get()) {
    progress->Step();
    QThread::msleep(64);
  }
  m_context.Windows.Free();

  qApp->installEventFilter(this);
  m_created = true;
  m_flow->ShowStartScreen();
}

void TZVMainForm::FormClose() {
  if (m_closed || !m_created) return;
  m_closed = true;
  TLTimer->stop();
  FlashTimer->stop();
  UpdateCheckupTimer->stop();
  CollectSettings();
  TrainerState& state = m_context.State;
  WriteMainSettings(*m_context.System.SettingsRegistry, m_settings, *state.Tasks, *state.Sayings, *state.Remarks);
  // The sound layer frees the engine and stores its comment selectors in a group of its own.
  m_sound.Stop();
  m_sound.Finish(*m_context.System.SettingsRegistry);
}

void TZVMainForm::closeEvent(QCloseEvent* event) {
  FormClose();
  event->accept();
  SkinnedForm::closeEvent(event);
}

void TZVMainForm::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
    InfoBitBtnClick();
    return;
  }
  SkinnedForm::keyPressEvent(event);
}

bool TZVMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (HandleMessages(watched, event)) return true;
  return SkinnedForm::eventFilter(watched, event);
}

bool TZVMainForm::HandleMessages(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return false;
  const int key = static_cast<QKeyEvent*>(event)->key();
  if (key != Qt::Key_Left && key != Qt::Key_Up && key != Qt::Key_Right && key != Qt::Key_Down) return false;
  QWidget* focused = focusWidget();
  if (focused == nullptr || focused != watched) return false;
  const bool known = std::find(BitBtns.begin(), BitBtns.end(), focused) != BitBtns.end() || focused == CancelBitBtn ||
                     focused == TaskListBitBtn || focused == LiveUpdateBitBtn;
  if (!known) return false;
  focusNextPrevChild(key == Qt::Key_Right || key == Qt::Key_Down);
  return true;
}

}  // namespace zv
