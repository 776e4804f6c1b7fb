#pragma once
// TAidForm: the task list window, which also shows the exam protocol.
//
// The rich text view AidRichEdit fills the window. Above it sits TopPanel (the list font and,
// at the right, the link "Проделки с пройденным" with its combo); below it the search panel
// AidPanel. For the protocol the search panel and the tricks are hidden and ProvPanel, a saying
// over the protocol with the closing button OKBitBtn, stands at the bottom instead.
//
// List view (the main window's list button): ShowList reads the list settings, builds the list
// (core BuildTaskList, stepping the caller's progress window every 16 lines; "Отмена" there
// ends it with nothing shown), renders it, keeps it as the full list and runs the window
// modally. The search (core SearchTaskList) renders its result into a second document, so
// "Список" and an emptied key only put the full list's document back. Closing stores the list
// settings and clears the text; the full list is kept until the next building.
//
// The tricks "Проделки с пройденным": saving the progress as a registry-editor file on the
// desktop, and forgetting it (after a question; the window then closes and the caller's
// Forgotten runs). Both act on what TaskListContext gives.
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

#include "exam/ExamStatistics.h"
#include "exam/Protocol.h"
#include "platform/ModalWindow.h"
#include "shell/ListSettings.h"
#include "tasks/ProgressExport.h"

#include <QDialog>
#include <QFont>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

class QAction;
class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QComboBox;
class QSpinBox;
class QTextDocument;
class QTextEdit;

namespace zv {

class ProgressSteps;
class Registry;
class TaskCatalogue;
class TSmartRand;

// What the list is built from and what its tricks change; everything outlives the showing.
struct TaskListContext {
  const TaskCatalogue& catalogue;
  std::span<const std::uint16_t> displayOrder;
  TSmartRand& tasks;
  TSmartRand& remarks;
  ExamStatistics& statistics;
  int lastMark = 0;
  bool lastWasConsolidation = false;
  int taskCount = 1500;
  QString caption;               // message boxes, "Зорвик"
  QString keyPath;               // the program key the export names
  Registry* registry = nullptr;  // the list settings; none: defaults, nothing stored
  QString desktopFolder;         // ends in "/"; empty when unknown
  // The stored states of every selector that exists in this run.
  std::function<std::vector<SelectorState>()> selectorStates;
  // Runs after a confirmed forgetting (the main window unticks consolidation).
  std::function<void()> forgotten;
  // Every 16 lines of the building: steps the progress; false when the user cancelled.
  std::function<bool()> step;
  // The building has ended, done or cancelled (the progress window goes).
  std::function<void()> built;
};

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

  // The list view, run modally; false when the building was cancelled (nothing was shown).
  bool ShowList(const TaskListContext& context);
  // The same without blocking (tests, screenshots): false when cancelled.
  bool OpenList(const TaskListContext& context);
  bool InListView() const { return m_listContext.has_value(); }
  // The full list as built, and its flag (false while a search result is shown).
  const ProtocolDocument& FullList() const { return m_fullList; }
  bool FullListShown() const { return m_fullListShown; }
  int FoundCount() const { return m_found; }

  // Handlers, public for the tests that drive them.
  void FilterBitBtnClick();
  void WholeListBitBtnClick();
  void KeyEditChange();
  void WholeCheckBoxClick();
  void TricksComboBoxSelect(int index);
  void FontSizeChange(int size);
  void FontChosen(const QString& family);

  // The font of the view (the list font, "Arial" 8 pt until the settings are read).
  void SetViewFont(const QFont& font);
  const QFont& ViewFont() const { return m_viewFont; }

  void done(int result) override;

  // The controls, under the names the system gives them.
  QTextEdit* AidRichEdit = nullptr;
  QFrame* TopPanel = nullptr;
  QLabel* FontLabel = nullptr;
  QComboBox* FontComboBox = nullptr;  // a TXFontComboBox, hidden until FontLabel is clicked
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
  bool PrepareList(const TaskListContext& context);
  void EndListView();
  void ShowDocument(QTextDocument* document);
  void RenderInto(QTextDocument*& slot, const ProtocolDocument& content);
  void Discard(QTextDocument*& slot);
  void RestoreFullList();
  void FontLabelClick();
  void FontComboCloseUp();
  void TricksLabelClick();
  void TricksComboCloseUp();
  void SaveProgress();
  void ForgetProgressClick();
  void WholeCheckLabelColour();
  void SetRedraw(bool on);

  QFont m_viewFont;
  bool m_protocolView = false;
  QTextDocument* m_protocolDocument = nullptr;
  QTextDocument* m_listDocument = nullptr;
  QTextDocument* m_resultDocument = nullptr;
  std::optional<TaskListContext> m_listContext;
  ProtocolDocument m_fullList;
  bool m_fullListShown = false;
  int m_found = 0;
  QString m_lastKey;
  ListSettings m_listSettings;
};

}  // namespace zv
