#pragma once
// TUpdateForm: the update window. Its step is OKBitBtn's tag: 0 nothing checked yet ("Далее"
// asks the servers), 1 offers listed ("Далее" downloads the ticked ones), 2 finished (the
// button closes the window). The check and the download are UpdateSession's; the window puts
// their progress on its labels, the list and the bar, and keeps the automatic-check controls
// and the update's values in the program key.
//
// Opened by the automatic check, the first step starts as soon as the window shows; a check
// that then finds nothing or fails minimises the window, and AutoCheckupTimer closes it half a
// second later. Once the installers are started the window ends with kUpdateHandedOff and the
// main window ends the program.
//
// Everything runs on the UI thread: the transfers block, and the window processes its messages
// after each log line and each chunk, so a Cancel during the download is seen between two
// chunks (it stops the download; otherwise Cancel closes the window).

#include "platform/Registry.h"
#include "ui/UpdateWindowLink.h"
#include "update/AutoCheckup.h"
#include "update/UpdateSession.h"

#include <QDialog>
#include <QLocale>

#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QTimer;

namespace zv {

class TBitBtn;

struct UpdateFormSetup {
  QString programName;  // the caption's first part: "Зорвик"
  UpdateOpening opening = UpdateOpening::ByUser;
  Registry& registry;
  AutoCheckup& checkup;
  std::function<void(bool)> setCheckupEnabled;  // the main window's flag and its timer
  const WallClock& clock;
  QLocale locale;
  // The unreadable-version message (English, Russian), shown the program's way.
  std::function<void(const QString&, const QString&)> infoMessage;
  // Starts the hand-off script detached; false when it could not be started.
  std::function<bool(const QString&)> startDetached;
  // Waits this many milliseconds with the window's messages processed.
  std::function<void(int)> pause;
  std::function<void()> beep;
};

class TUpdateForm : public QDialog, private UpdateLog, private DownloadProgress {
  Q_OBJECT
 public:
  static constexpr int kClientWidth = 400;
  static constexpr int kItemHeight = 16;
  static constexpr int kAnimationSteps = 9;
  static constexpr int kAnimationStepMs = 128;
  static constexpr int kHandOffPauseMs = 1024;
  static constexpr int kMaxListRows = 30;                       // beyond this the list scrolls
  static constexpr std::uint32_t kDownloadedColour = 0xC0DCC0;  // light green (RGB)

  TUpdateForm(UpdateFormSetup setup, UpdateSources sources, QWidget* parent = nullptr);
  ~TUpdateForm() override;

  QGroupBox* UpdateGroupBox = nullptr;
  QLabel* UpdateLabel = nullptr;
  QLabel* NewsLabel = nullptr;
  QLabel* LastCheckupLabel = nullptr;
  QLabel* LastDownloadLabel = nullptr;
  QGroupBox* AutoCheckupGroupBox = nullptr;
  QCheckBox* AutoCheckupCheckBox = nullptr;
  QComboBox* AutoCheckupComboBox = nullptr;
  QListWidget* UpdateCheckListBox = nullptr;
  QCheckBox* SelectAllCheckBox = nullptr;
  QProgressBar* DownloadProgressBar = nullptr;
  TBitBtn* CancelBitBtn = nullptr;
  TBitBtn* OKBitBtn = nullptr;
  QTimer* AutoCheckupTimer = nullptr;

  // The texts as the window keeps them (lines end in "\r\n").
  const QString& UpdateText() const { return m_updateText; }
  const QString& NewsText() const { return m_newsText; }
  const std::vector<UpdateItem>& Items() const { return m_items; }
  bool IsDownloaded(int position) const { return m_session.Marks().IsSet(position); }
  bool Downloading() const { return m_downloading; }

  void OKBitBtnClick();
  void CancelBitBtnClick();

 public slots:
  void reject() override;

 protected:
  void showEvent(QShowEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateControls();
  void FormCreate();
  void CheckStep();
  void DownloadStep();
  void FailCheck();
  void Present(const UpdateOffer& offer);
  void CloseQuietly();  // automatic mode: minimise, AutoCheckupTimer closes
  void ClosingAnimation();
  void PlaceButtons();
  void SetUpdateText(const QString& text);
  void SetNewsText(const QString& text);
  void ProcessMessages();
  void AutoCheckupCheckBoxClick();
  void AutoCheckupComboBoxChange();
  void UpdateCheckListBoxClick(int row);
  void SelectAllCheckBoxClick();
  void AfterTicking();
  std::vector<int> CheckedPositions() const;

  // UpdateLog.
  void Log(const QString& line) override;
  // DownloadProgress.
  void ItemStarting(int position, const UpdateItem& item) override;
  void Chunk() override;
  void ItemFinished(int position, bool failed) override;

  UpdateFormSetup m_setup;
  UpdateSession m_session;
  std::vector<UpdateItem> m_items;
  QString m_updateText;
  QString m_newsText;
  bool m_downloading = false;
  bool m_started = false;        // the automatic first step was started
  bool m_downloadStyle = false;  // the list is drawn as the download step draws it
};

}  // namespace zv
