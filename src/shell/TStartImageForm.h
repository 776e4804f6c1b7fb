#pragma once
// TStartImageForm: the splash shown while the program starts. Only its letters show: the
// program's initial "Z " four times in one large bold font, two light-coloured copies each
// over a grey shadow, on a transparent window that stays on top in the middle of the screen.
// It is freed at the end of start-up without being closed.

#include <QWidget>

class QLabel;

namespace zv {

class RandomSource;

class TStartImageForm : public QWidget {
  Q_OBJECT

 public:
  static constexpr int kFontPixels = 341;
  static constexpr int kShadowOffset = 8;

  // FormCreate runs here, drawing the font and the two colours from `random`.
  explicit TStartImageForm(RandomSource& random, QWidget* parent = nullptr);

  // The families the splash chooses from: installed, scalable fonts that write Latin (a
  // symbol font would show no letter at all).
  static QStringList CandidateFamilies();

  QLabel* ShLabel1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* ShLabel2 = nullptr;
  QLabel* Label2 = nullptr;

 private:
  void FormCreate(RandomSource& random);
};

}  // namespace zv
