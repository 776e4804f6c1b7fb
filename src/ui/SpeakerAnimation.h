#pragma once
// SpeakerAnimation: the main window's "speaker" animation — a loudspeaker sending out sound
// waves while a comment or a voiced task plays. Four frames drawn in code (no wave, then one,
// two and three waves), cycled on the label it is given while that label is shown.

#include <QObject>
#include <QPixmap>

class QLabel;
class QTimer;

namespace zv {

inline constexpr int kSpeakerFrames = 4;
inline constexpr int kSpeakerFrameMs = 160;

// Frame `frame` (0..3) of the animation, `size` pixels square.
QPixmap SpeakerAnimationFrame(int frame, int size, qreal dpr);

class SpeakerAnimation : public QObject {
  Q_OBJECT

 public:
  // Runs on `label` (which it does not own) while the label is shown.
  explicit SpeakerAnimation(QLabel* label, int size = 30);

  int Frame() const { return m_frame; }
  bool Running() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Show(int frame);

  QLabel* m_label;
  QTimer* m_timer;
  int m_size;
  int m_frame = 0;
};

}  // namespace zv
