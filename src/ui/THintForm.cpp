#include "ui/THintForm.h"

#include "ui/HintGlyphs.h"
#include "ui/ModalRun.h"
#include "ui/TBitBtn.h"
#include "ui/WidgetColours.h"

#include <QFontMetrics>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>

namespace zv {
namespace {

constexpr int kTrueLabelLeft = 2;
constexpr int kTrueLabelPixels = 11;
constexpr int kTrueLabelMinPixels = 8;
constexpr int kHintLabelHeight = 73;
constexpr int kHintLabelMinPixels = 12;
// Between the texts and "Ещё раз" while it shows.
constexpr int kSpeakerGap = 3;

// Whether `text` fits `label`'s width and height in `font`, wrapped at blanks only.
bool RemarkFits(const QLabel* label, const QFont& font, const QString& text, int width) {
  const QFontMetrics metrics(font);
  for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts))
    if (metrics.horizontalAdvance(word) > width) return false;
  const QRect needed = metrics.boundingRect(QRect(0, 0, width, 10000), Qt::AlignCenter | Qt::TextWordWrap, text);
  return needed.height() <= label->height();
}

// A closing button: bold italic lettering of its colour, the "go on" glyph.
QPushButton* MakeCloseButton(QWidget* parent, const char* name, std::uint32_t lettering, ButtonGlyph glyph) {
  auto* b = new TBitBtn(parent);
  b->setObjectName(QLatin1String(name));
  b->SetCentred(true);
  b->setGeometry(2, 77, 351, 32);
  b->setFont(ArialFont(15, true, true));
  b->setIcon(ButtonGlyphIcon(glyph));
  b->setIconSize(QSize(kButtonGlyphSize, kButtonGlyphSize));
  // Its own face colours, not the window's case colour.
  QPalette pal = QPalette(QColor(0xEC, 0xEC, 0xE8));
  pal.setColor(QPalette::ButtonText, ColourOf(lettering));
  b->setPalette(pal);
  return b;
}

}  // namespace

THintForm::THintForm(Registry& registry, RandomSource& random, SoundService& sound, QWidget* parent)
    : TCommentForm(sound, kSoundEndEvent, parent), m_registry(registry), m_phrases(random) {
  setObjectName(QStringLiteral("HintForm"));
  setFixedSize(kClientWidth, kClientHeight);
  setAutoFillBackground(true);
  setFont(ArialFont(21, true, false));
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ColourOf(0xC0C0C0));
  setPalette(pal);

  HintLabel = new QLabel(this);
  HintLabel->setObjectName(QStringLiteral("HintLabel"));
  HintLabel->setGeometry(0, 0, kClientWidth, 73);
  HintLabel->setAlignment(Qt::AlignCenter);
  HintLabel->setWordWrap(true);

  TrueLabel = new QLabel(this);
  TrueLabel->setObjectName(QStringLiteral("TrueLabel"));
  TrueLabel->move(kTrueLabelLeft, TrueLabelJerk::kTop);
  TrueLabel->setFont(ArialFont(kTrueLabelPixels, false, false));
  SetTextColor(TrueLabel, QPalette::WindowText, ColourOf(kTrueLabelColor));
  TrueLabel->setToolTip(QStringLiteral("Вот правильный ответ"));
  TrueLabel->hide();

  HintBitBtn = MakeCloseButton(this, "HintBitBtn", kGreenLettering, ButtonGlyph::Green);
  HintBitBtn0 = MakeCloseButton(this, "HintBitBtn0", kBlackLettering, ButtonGlyph::Black);
  HintBitBtn0->hide();
  connect(HintBitBtn, &QPushButton::clicked, this, &THintForm::HintBitBtn0Click);
  connect(HintBitBtn0, &QPushButton::clicked, this, &THintForm::HintBitBtn0Click);

  CreateSpeakerBitBtn(QPoint(305, 25));
  SpeakerBitBtn->installEventFilter(this);

  JerkTimer = new QTimer(this);
  JerkTimer->setObjectName(QStringLiteral("JerkTimer"));
  JerkTimer->setInterval(kJerkIntervalMs);
  connect(JerkTimer, &QTimer::timeout, this, &THintForm::JerkTimerTimer);

  SetBlackButtonVisible(false);
  FormCreate();
}

THintForm::~THintForm() { FormDestroy(); }

void THintForm::FormCreate() { m_phrases.Load(m_registry); }

void THintForm::FormDestroy() { m_phrases.Save(m_registry); }

void THintForm::SetBlackButtonVisible(bool visible) {
  HintBitBtn0->setVisible(visible);
  HintBitBtn->setVisible(!visible);
  QPushButton* shown = visible ? HintBitBtn0 : HintBitBtn;
  shown->setDefault(true);
  shown->raise();
}

void THintForm::Apply(const Request& request) {
  m_verdict = request.verdict;
  const HintColours colours = ColoursOf(m_verdict);
  QPalette pal = palette();
  pal.setColor(QPalette::Window, ColourOf(colours.window));
  pal.setColor(QPalette::WindowText, ColourOf(colours.font));
  setPalette(pal);
  SetTextColor(HintLabel, QPalette::WindowText, ColourOf(colours.font));
  SetTextColor(TrueLabel, QPalette::WindowText, ColourOf(kTrueLabelColor));
  setWindowTitle(request.caption);
  SetBlackButtonVisible(request.blackButton);
  m_commentsOn = request.commentsOn;
  m_preBottomPanelTop = request.preBottomPanelTop;
  m_interpretation = request.interpretation;
  FormShow();
}

int THintForm::ShowModal(const Request& request, std::any details) {
  Apply(request);
  const int result = RunModal(this, {ModalWindow::CorrectAnswer, {}, {}, std::move(details)}).result;
  SetBlackButtonVisible(false);
  hide();
  return result;
}

void THintForm::Open(const Request& request) {
  Apply(request);
  show();
}

void THintForm::FormShow() {
  if (m_firstShowing) {
    m_firstShowing = false;
    if (QWidget* main = parentWidget() ? parentWidget()->window() : nullptr) {
      const QScreen* screen = main->screen();
      const int screenBottom = screen ? screen->geometry().bottom() + 1 : 0;
      move(FirstHintPosition(main->frameGeometry(), frameGeometry().width(), screenBottom, m_preBottomPanelTop));
    }
  }

  m_showing = m_phrases.Draw(m_verdict);
  HintBitBtn->setText(m_showing.buttonCaption);
  HintBitBtn0->setText(m_showing.buttonCaption);

  HintLabel->setText(m_showing.remark);
  SpeakerBitBtn->hide();
  LayOutTexts();
  TrueLabel->setVisible(m_showing.showsInterpretation);
  if (m_showing.showsInterpretation) {
    TrueLabel->raise();
    JerkTimer->start();
  }
  PlayCaseComment(m_showing.comment);
  (HintBitBtn0->isVisibleTo(this) ? HintBitBtn0 : HintBitBtn)->setFocus();
}

bool THintForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == SpeakerBitBtn && (event->type() == QEvent::Show || event->type() == QEvent::Hide)) LayOutTexts();
  return TCommentForm::eventFilter(watched, event);
}

// The remark and the interpretation take the window's width, or, while "Ещё раз" shows, the
// room left of it.
void THintForm::LayOutTexts() {
  const int room = SpeakerBitBtn->isVisibleTo(this) ? SpeakerBitBtn->x() - kSpeakerGap : kClientWidth;
  HintLabel->setGeometry(0, 0, room, kHintLabelHeight);
  SetRemark(HintLabel->text(), room);
  SetInterpretation(m_interpretation, room);
}

// The remark in the window's lettering; a remark too long for the room is set smaller (down
// to 12 pixels) rather than run off the label.
void THintForm::SetRemark(const QString& text, int room) {
  QFont font = this->font();
  int pixels = font.pixelSize();
  while (pixels > kHintLabelMinPixels && !RemarkFits(HintLabel, font, text, room)) font.setPixelSize(--pixels);
  HintLabel->setFont(font);
}

// The right interpretation at 11 pixels, centred in the room. A text too wide for it is set in
// a smaller size (down to 8 pixels) and, should even that not fit, shortened with an ellipsis
// and given in full as the tooltip: the right answer is never silently cut. The label keeps a
// pixel either side for its jerks.
void THintForm::SetInterpretation(const QString& text, int room) {
  const int width = room - 4;
  QFont font = TrueLabel->font();
  int pixels = kTrueLabelPixels;
  font.setPixelSize(pixels);
  while (pixels > kTrueLabelMinPixels && QFontMetrics(font).horizontalAdvance(text) > width)
    font.setPixelSize(--pixels);
  TrueLabel->setFont(font);
  const QFontMetrics metrics(font);
  if (metrics.horizontalAdvance(text) > width) {
    TrueLabel->setText(metrics.elidedText(text, Qt::ElideRight, width));
    TrueLabel->setToolTip(text);
  } else {
    TrueLabel->setText(text);
    TrueLabel->setToolTip(QStringLiteral("Вот правильный ответ"));
  }
  TrueLabel->adjustSize();
  TrueLabel->move(TrueLabelLeft(room, TrueLabel->width(), kTrueLabelLeft), TrueLabel->y());
}

void THintForm::JerkTimerTimer() {
  JerkTimer->stop();
  TrueLabel->move(m_jerk.Step(TrueLabel->pos()));
  JerkTimer->start();
}

void THintForm::HintBitBtn0Click() {
  StopComment();
  done(QDialog::Accepted);
}

void THintForm::reject() { HintBitBtn0Click(); }

void THintForm::done(int result) {
  FormClose();
  QDialog::done(result);
}

void THintForm::FormClose() { JerkTimer->stop(); }

}  // namespace zv
