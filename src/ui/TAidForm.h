#pragma once
// TAidForm: the task list window, which also shows the exam protocol.
//
// The rich text view AidRichEdit fills the window. Above it sits TopPanel (the list font and,
// at the right, the link "Проделки с пройденным" with its combo); below it the search panel
// AidPanel. For the protocol the search panel and the tricks are hidden and ProvPanel, a saying
// over the protocol with the closing button OKBitBtn, stands at the bottom instead.
//
// This class so far carries the protocol view: building the list, the search, the font choice
// and the tricks come on top of the same controls, which already exist (inert) under their
// system names.
//
// Protocol view (the main window's "Просмотр протокола"): ShowProtocol renders the document
// the exam wrote, puts the saying the caller drew (already decoded) into ProvLabel, raises
// KeyEditTag to 1 (protocol mode: text may be selected and copied) and runs the window
// modally, centred on its parent. Closing it (OKBitBtn, Esc, the title bar) returns the tag to
// 0, hides ProvPanel and shows AidPanel again. OpenProtocol does the same preparation without
// blocking (tests, screenshots); the restoration then happens when the window is closed.
//
// In protocol mode a right-button release over a selection opens PopupMenu ("Копировать в
// буфер"), which copies the selection as rich and plain text.
//
// Lifetime: created once at start-up with the main window as parent, kept until the end.

#include "exam/Protocol.h"
#include "platform/ModalWindow.h"

#include <QDialog>
#include <QFont>
#include <QString>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QComboBox;
class QSpinBox;
class QTextEdit;

namespace zv {

class TAidForm : public QDialog {
  Q_OBJECT

 public:
  static constexpr int kDesignWidth = 594;
  static constexpr int kDesignHeight = 459;
  static constexpr int kMinWidth = 594;
  static constexpr int kMinHeight = 200;
  static constexpr int kMaxUserNameLength = 254;

  explicit TAidForm(QWidget* parent);
  ~TAidForm() override;

  // "Зорвик. Пользователь: " + the user name, or "неизвестен" when there is none; the name is
  // cut to 254 characters.
  static QString Caption(const QString& userName);
  // The login name from the environment (USER, else LOGNAME); empty when neither is set.
  static QString CurrentUserName();
  // What ProvLabel shows for a saying: the saying in double quotes, its first letter in upper
  // case. A saying that already comes quoted is not quoted twice; an empty one shows nothing.
  static QString ProvLabelText(const QString& saying);

  // The protocol view, run modally; returns when the user closes the window.
  int ShowProtocol(const ProtocolDocument& protocol, const QString& saying);
  // The same preparation, shown without blocking.
  void OpenProtocol(const ProtocolDocument& protocol, const QString& saying);
  // Runs the prepared window modally, centred on its parent (through RunModal, asking for
  // `window`: the protocol or the list).
  int RunModal(ModalWindow window);
  bool InProtocolView() const { return m_protocolView; }

  // The font of the view (the list font, "Arial" 8 pt until the settings are read).
  void SetViewFont(const QFont& font);
  const QFont& ViewFont() const { return m_viewFont; }

  void done(int result) override;

  // The controls, under the names the system gives them.
  QTextEdit* AidRichEdit = nullptr;
  QFrame* TopPanel = nullptr;
  QLabel* FontLabel = nullptr;
  QSpinBox* FontUpDown = nullptr;
  QLabel* TricksLabel = nullptr;
  QComboBox* TricksComboBox = nullptr;
  QFrame* AidPanel = nullptr;
  QLabel* ShowLabel = nullptr;
  QLineEdit* KeyEdit = nullptr;
  QCheckBox* WholeCheckBox = nullptr;
  QLabel* WholeCheckLabel = nullptr;
  QPushButton* FilterBitBtn = nullptr;
  QLabel* FoundNumLabel = nullptr;
  QPushButton* WholeListBitBtn = nullptr;
  QPushButton* ExitBitBtn = nullptr;
  QFrame* ProvPanel = nullptr;
  QLabel* ProvLabel = nullptr;
  QPushButton* OKBitBtn = nullptr;
  QMenu* PopupMenu = nullptr;
  QAction* CopyToBuf = nullptr;

  // The selection guard: 0 in the list view, 1 during a search, a font change and in the
  // protocol view.
  int KeyEditTag = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void FormCreate();
  void PrepareProtocol(const ProtocolDocument& protocol, const QString& saying);
  void EndProtocolView();
  void CentreOnParent();
  void OKBitBtnClick();
  void CopyToBufClick();
  void ApplyViewFont();

  QFont m_viewFont;
  bool m_protocolView = false;
};

}  // namespace zv
