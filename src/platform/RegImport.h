#pragma once
// RegImport: adding a registration file (.reg) to the hives, the work of zvregedit.
//
// Accepted are the files registry editors write: REGEDIT4 in Windows-1251 (or UTF-8, as this
// program's hives and exports are) and "Windows Registry Editor Version 5.00" in UTF-16LE with
// its BOM (or UTF-8). A REGEDIT4 file without a BOM is read as UTF-8 when it is valid UTF-8 and
// as Windows-1251 otherwise: Russian text in Windows-1251 practically never forms valid UTF-8.
//
// All or nothing: the whole file is parsed and every step is tried on the store (one accessor
// per root, so nothing is written until every step has passed) before any hive is written.
// A refusal names the 1-based line at fault. The only way to a partial import is a file that
// touches several roots of which a later one cannot be written after an earlier one was; the
// folders are checked for writing beforehand, so that takes a failing disk.
//
// The dialogue (RunImport) asks before adding, and while the trainer runs it says that the
// trainer would overwrite the added values when it ends and waits for it to end: the values
// are added only after that, and only when the user confirms.

#include "platform/RegFile.h"
#include "platform/Registry.h"

#include <QByteArrayView>
#include <QString>

#include <functional>
#include <optional>
#include <vector>

namespace zv::regimport {

// Why a file was not added: the line at fault (0 when the fault is not one line's) and the
// reason in words.
struct ImportError {
  int line = 0;
  QString reason;
  bool hivesChanged = false;  // only when a later root could not be written after an earlier one
};

// One section of the file, its root known to the store.
struct ImportStep {
  RootKey root = RootKey::CurrentUser;
  QString path;  // below the root, backslashes; empty for the root itself
  bool remove = false;
  std::vector<regfile::ValueLine> values;
  regfile::SectionLines lines;
};

struct ImportPlan {
  std::vector<ImportStep> steps;
  std::optional<ImportError> error;
  bool ok() const { return !error; }
};

// The file's bytes as text the codec reads: a REGEDIT4 file without a BOM that is not valid
// UTF-8 is taken as Windows-1251 and re-encoded as UTF-8; anything else is returned as it is.
QByteArray EditorFileAsUtf8(QByteArrayView bytes);

// Parses the file and maps its sections onto the store's roots.
ImportPlan PlanImport(QByteArrayView bytes);

// Applies the plan to the hives of `paths`, all or nothing (see above).
std::optional<ImportError> ApplyImport(const ImportPlan& plan, const RegistryPaths& paths);

enum class ImportOutcome { Imported, Declined, Refused, Failed };

// Exit status of zvregedit: 0 when the file was added, non-zero otherwise.
int ExitStatusOf(ImportOutcome outcome);

struct ImportRequest {
  QString file;
  bool assumeYes = false;  // --yes: no question; a running trainer is waited for
  RegistryPaths paths;
  std::function<bool()> trainerRunning = [] { return false; };
  std::function<void(int milliseconds)> wait = [](int) {};  // between looks at a running trainer
};

// The whole run: read, check, ask, wait for the trainer, add, and say how it went (message
// boxes through ShowMessageBox).
ImportOutcome RunImport(const ImportRequest& request);

// The texts of the dialogue.
QString QuestionText(const QString& file);
QString TrainerRunningText();  // asked: wait for the user to end it, or give up
QString TrainerWaitText();     // --yes: waiting for it to end
QString ImportedText(const QString& file);
QString RefusedText(const QString& file, const ImportError& error);
inline const QString kCaption = QStringLiteral("Редактор реестра");

}  // namespace zv::regimport
