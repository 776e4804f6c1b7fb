#include "ui/SkinnedForm.h"

#include "ui/SkinCaptionButton.h"
#include "ui/SkinImage.h"

#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

namespace zv {
namespace {

SkinCaptionButton* MakeCaptionButton(QWidget* parent, CaptionGlyph glyph, const SkinRect& place, const char* name,
                                     const char* hint) {
  auto* button = new SkinCaptionButton(glyph, parent);
  button->setObjectName(QLatin1String(name));
  button->setGeometry(ToQRect(place));
  button->setToolTip(QString::fromUtf8(hint));
  return button;
}

QLabel* MakeTitleLabel(QWidget* parent, const char* name, const QColor& colour, QPoint offset) {
  auto* label = new QLabel(parent);
  label->setObjectName(QLatin1String(name));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(21);
  font.setBold(true);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, colour);
  label->setPalette(palette);
  label->setAlignment(Qt::AlignCenter);
  label->setGeometry(ToQRect(skin::TitleArea).translated(offset));
  return label;
}

}  // namespace

SkinnedForm::SkinnedForm(QWidget* parent, const std::function<void()>& regionStep)
    : SkinnedForm(BuiltinSkinImage(), parent, regionStep) {}

SkinnedForm::SkinnedForm(const QImage& skin, QWidget* parent, const std::function<void()>& regionStep)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint),
      m_skin(skin.isNull() ? QImage() : skin.convertToFormat(QImage::Format_RGB888)) {
  Build(regionStep);
}

SkinnedForm::~SkinnedForm() = default;

void SkinnedForm::Build(const std::function<void()>& regionStep) {
  setFixedSize(skin::kWidth, skin::kHeight);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, KeyColor());
  setPalette(palette);

  // No failure is reported: without a shape to give (no skin, or one that is all key colour)
  // the window stays rectangular rather than vanish.
  const QRegion region = SkinRegionOf(m_skin, kSkinKeyColor, regionStep);
  m_shaped = !region.isEmpty();
  if (m_shaped) setMask(region);

  // VersionLabel1 first, so it lies behind VersionLabel.
  VersionLabel1 = MakeTitleLabel(this, "VersionLabel1", QColor(0xC0, 0xC0, 0xC0), QPoint(1, 1));
  VersionLabel = MakeTitleLabel(this, "VersionLabel", QColor(57, 122, 242), QPoint(0, 0));
  SetTitle(QString::fromUtf8("Зорвик 1500"));

  TaskListBitBtn =
      MakeCaptionButton(this, CaptionGlyph::TaskList, skin::TaskListBitBtn, "TaskListBitBtn", "Список всех заданий");
  LiveUpdateBitBtn =
      MakeCaptionButton(this, CaptionGlyph::Update, skin::LiveUpdateBitBtn, "LiveUpdateBitBtn", "Интернет-обновление");
  InfoBitBtn = MakeCaptionButton(this, CaptionGlyph::About, skin::InfoBitBtn, "InfoBitBtn", "О программе");
  MinimizeBitBtn = MakeCaptionButton(this, CaptionGlyph::Minimise, skin::MinimizeBitBtn, "MinimizeBitBtn", "Свернуть");
  ExitBitBtn = MakeCaptionButton(this, CaptionGlyph::Close, skin::ExitBitBtn, "ExitBitBtn", "Закрыть");

  connect(ExitBitBtn, &QAbstractButton::clicked, this, &QWidget::close);
  connect(MinimizeBitBtn, &QAbstractButton::clicked, this, &QWidget::showMinimized);
}

void SkinnedForm::SetTitle(const QString& text) {
  VersionLabel->setText(text);
  VersionLabel1->setText(text);
}

QColor SkinnedForm::SkinColorAt(QPoint point) const {
  if (m_skin.isNull() || !m_skin.rect().contains(point)) return KeyColor();
  return m_skin.pixelColor(point);
}

QColor SkinnedForm::SkinColorFor(const QRect& rect, SkinSample rule) const {
  const SkinPoint p = SkinSamplePoint({rect.x(), rect.y(), rect.width(), rect.height()}, rule);
  return SkinColorAt({p.x, p.y});
}

void SkinnedForm::ColorFromSkin(QWidget* control, SkinSample rule) const {
  if (control == nullptr) return;
  const QRect place(control->mapTo(this, QPoint(0, 0)), control->size());
  SetBackgroundColor(control, SkinColorFor(place, rule));
}

void SkinnedForm::SetBackgroundColor(QWidget* control, const QColor& colour) {
  if (control == nullptr) return;
  QPalette palette = control->palette();
  palette.setColor(QPalette::Window, colour);
  control->setPalette(palette);
  control->setAutoFillBackground(true);
}

void SkinnedForm::paintEvent(QPaintEvent*) {
  if (m_skin.isNull()) return;  // the key-coloured background is all there is
  QPainter painter(this);
  painter.drawImage(QPoint(0, 0), m_skin);
}

namespace {

// A panel (a plain widget or frame) or a label: background to the learner, nothing to press.
bool IsBackground(const QWidget* w) {
  const QMetaObject* type = w->metaObject();
  return type == &QWidget::staticMetaObject || type == &QFrame::staticMetaObject ||
         qobject_cast<const QLabel*>(w) != nullptr;
}

}  // namespace

bool SkinnedForm::IsBareSkinAt(QPoint point) const {
  for (const QWidget* w = childAt(point); w != nullptr && w != this; w = w->parentWidget())
    if (!IsBackground(w)) return false;
  return true;
}

void SkinnedForm::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton || !IsBareSkinAt(event->position().toPoint())) {
    QWidget::mousePressEvent(event);
    return;
  }
  event->accept();
  QWindow* window = windowHandle();
  if (window != nullptr && window->startSystemMove()) return;
  // No system move loop here: follow the mouse until the button is released.
  m_dragging = true;
  m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
}

void SkinnedForm::mouseMoveEvent(QMouseEvent* event) {
  if (m_dragging && (event->buttons() & Qt::LeftButton)) {
    move(event->globalPosition().toPoint() - m_dragOffset);
    event->accept();
    return;
  }
  m_dragging = false;
  QWidget::mouseMoveEvent(event);
}

void SkinnedForm::mouseReleaseEvent(QMouseEvent* event) {
  if (m_dragging && event->button() == Qt::LeftButton) {
    m_dragging = false;
    event->accept();
    return;
  }
  QWidget::mouseReleaseEvent(event);
}

}  // namespace zv
