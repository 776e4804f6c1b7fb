#pragma once
// TAboutForm: the about window. It shows the version, the installed sound coverage, the hints
// and credits, and offers the links: the web site, the social-network page, the support page
// and a prepared mail whose subject reports the coverage. Every text and target is decided in
// core (shell/AboutContent.h); the window puts them on its controls.
//
// Client area 365 x 455, white, Arial, created for each opening and shown modally. A clicked
// link is pressed (2 pixels down, disabled) for kPressedMs while its target opens through the
// shell; a target that does not open changes nothing else. Escape closes the window.

#include "shell/AboutContent.h"
#include "sound/SoundService.h"

#include <QDialog>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTextEdit;

namespace zv {

// What the window is made from.
struct AboutFacts {
  QString programName;      // "Зорвик"
  QString versionLabel;     // "1500"
  SoundCoverage coverage;   // what the sound layer found at start-up
  QString escapedClientId;  // BuildClientId with the escape flag
  bool russianLocale = false;
  AboutAddresses addresses;
  AboutCredits credits;
};

class TAboutForm : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 365;
  static constexpr int kClientHeight = 455;
  static constexpr int kCoverageHeight = 75;
  static constexpr int kPressedMs = 2048;

  explicit TAboutForm(const AboutFacts& facts, QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;
  QLabel* VersionLabel = nullptr;
  QLabel* SndVerLabel = nullptr;
  QLabel* WareLabel = nullptr;
  QTextEdit* SrcRichEdit = nullptr;
  QGroupBox* GroupBox1 = nullptr;
  QLabel* WelcomeLabel = nullptr;
  QLabel* WebLabel = nullptr;
  QLabel* VKImage = nullptr;
  QLabel* GrantImage = nullptr;
  QLabel* GrantLabel = nullptr;
  QLabel* MailImage = nullptr;
  QLabel* MailLabel = nullptr;
  QLineEdit* AddressEdit = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void FormCreate();
  void WriteCredits();
  // The link's pressed state around opening its target.
  void OpenLink(QWidget* control, const QString& target);
  void WebLabelClick();
  void VKImageClick();
  void GrantLabelClick(QWidget* control);
  void MailLabelClick(QWidget* control);

  AboutFacts m_facts;
};

}  // namespace zv
