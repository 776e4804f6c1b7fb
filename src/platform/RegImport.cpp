#include "platform/RegImport.h"

#include "platform/Cp1251.h"
#include "platform/MessageBox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <array>
#include <memory>

namespace zv::regimport {

using namespace Qt::StringLiterals;

namespace {

constexpr int kTrainerPollMs = 250;

bool startsWithRegedit4Line(QByteArrayView bytes) {
  if (!bytes.startsWith("REGEDIT4")) return false;
  const QByteArrayView rest = bytes.sliced(8);
  for (char c : rest) {
    if (c == '\r' || c == '\n') return true;
    if (c != ' ' && c != '\t') return false;
  }
  return true;
}

std::optional<ImportError> refuse(int line, QString reason) { return ImportError{line, std::move(reason)}; }

// Every step tried on one accessor per root; nothing reaches a hive until Commit.
class Trial {
 public:
  explicit Trial(const RegistryPaths& paths) {
    for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users}) {
      auto& r = m_registries[index(root)];
      r = std::make_unique<Registry>(paths);
      r->SetRootKey(root);  // nothing pending yet, so nothing is written
    }
  }
  ~Trial() { Discard(); }

  std::optional<ImportError> Apply(const ImportStep& step) {
    Registry& r = *m_registries[index(step.root)];
    m_touched[index(step.root)] = true;
    int line = step.lines.line;
    try {
      if (step.remove) {
        if (step.path.isEmpty()) return refuse(line, u"корневой раздел реестра удалить нельзя"_s);
        r.DeleteKey(u'\\' + step.path);
        return std::nullopt;
      }
      r.OpenKey(u'\\' + step.path, true);
      for (std::size_t i = 0; i < step.values.size(); ++i) {
        const regfile::ValueLine& v = step.values[i];
        line = i < step.lines.values.size() ? step.lines.values[i] : step.lines.line;
        if (!v.value) {
          if (r.ValueExists(v.name)) r.DeleteValue(v.name);
        } else {
          r.WriteRaw(v.name, static_cast<RegType>(v.value->type), v.value->data);
        }
      }
      return std::nullopt;
    } catch (const RegistryError& e) {
      return refuse(line, u"реестр не принимает эту запись (%1)"_s.arg(QString::fromStdString(e.what())));
    }
  }

  // The folders of the roots the file touches must take a new hive file.
  std::optional<ImportError> CheckFolders(const RegistryPaths& paths) const {
    for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users}) {
      if (!m_touched[index(root)]) continue;
      const QString dir = QFileInfo(paths.hiveFile(root)).absolutePath();
      if (!QDir().mkpath(dir) || !QFileInfo(dir).isWritable())
        return refuse(0, u"нет права записи в папку реестра «%1» (%2)"_s.arg(dir, RootKeyName(root)));
    }
    return std::nullopt;
  }

  std::optional<ImportError> Commit() {
    QStringList written;
    for (RootKey root : {RootKey::CurrentUser, RootKey::LocalMachine, RootKey::Users}) {
      try {
        m_registries[index(root)]->CloseKey();
        if (m_touched[index(root)]) written << RootKeyName(root);
      } catch (const RegistryError& e) {
        Discard();
        QString reason =
            u"не удалось записать раздел %1 (%2)"_s.arg(RootKeyName(root), QString::fromStdString(e.what()));
        if (!written.isEmpty()) reason += u"; раздел %1 уже записан"_s.arg(written.join(u", "_s));
        return ImportError{0, reason, !written.isEmpty()};
      }
    }
    return std::nullopt;
  }

  void Discard() {
    for (auto& r : m_registries)
      if (r) r->DiscardChanges();
  }

 private:
  static std::size_t index(RootKey root) { return static_cast<std::size_t>(root); }

  std::array<std::unique_ptr<Registry>, 3> m_registries;
  std::array<bool, 3> m_touched{};
};

}  // namespace

QByteArray EditorFileAsUtf8(QByteArrayView bytes) {
  if (!startsWithRegedit4Line(bytes) || bytes.isValidUtf8()) return bytes.toByteArray();
  return cp1251::Decode(bytes).toUtf8();
}

ImportPlan PlanImport(QByteArrayView bytes) {
  ImportPlan plan;
  const regfile::ReadResult read = regfile::Read(EditorFileAsUtf8(bytes), regfile::Regedit4Text::Windows1251);
  if (!read.ok()) {
    plan.error = ImportError{read.error->line, read.error->message};
    return plan;
  }
  for (std::size_t i = 0; i < read.document.sections.size(); ++i) {
    const regfile::Section& s = read.document.sections[i];
    const regfile::SectionLines& lines = read.lines[i];
    const QString rootName = s.path.section(u'\\', 0, 0);
    const std::optional<RootKey> root = RootKeyFromName(rootName);
    if (!root) {
      plan.steps.clear();
      plan.error = ImportError{lines.line, u"раздел %1 не поддерживается"_s.arg(rootName)};
      return plan;
    }
    plan.steps.push_back(ImportStep{*root, s.path.section(u'\\', 1), s.remove, s.values, lines});
  }
  return plan;
}

std::optional<ImportError> ApplyImport(const ImportPlan& plan, const RegistryPaths& paths) {
  if (plan.error) return plan.error;
  Trial trial(paths);
  for (const ImportStep& step : plan.steps)
    if (auto error = trial.Apply(step)) return error;
  if (auto error = trial.CheckFolders(paths)) return error;
  return trial.Commit();
}

int ExitStatusOf(ImportOutcome outcome) {
  switch (outcome) {
    case ImportOutcome::Imported:
      return 0;
    case ImportOutcome::Declined:
      return 1;
    case ImportOutcome::Refused:
      return 2;
    case ImportOutcome::Failed:
      return 3;
  }
  return 3;
}

QString QuestionText(const QString& file) { return u"Добавить сведения из «%1» в реестр?"_s.arg(file); }

QString TrainerRunningText() {
  return u"Зорвик сейчас работает. При завершении он записывает в реестр своё состояние и затёр бы "
         u"добавленные сведения, поэтому они будут добавлены только после завершения Зорвика.\n\n"
         u"Завершите Зорвик и нажмите «ОК». Чтобы ничего не добавлять, нажмите «Отмена»."_s;
}

QString TrainerWaitText() {
  return u"Зорвик сейчас работает. При завершении он записывает в реестр своё состояние и затёр бы "
         u"добавленные сведения, поэтому они будут добавлены, как только Зорвик завершится."_s;
}

QString ImportedText(const QString& file) { return u"Сведения из «%1» успешно внесены в реестр."_s.arg(file); }

QString RefusedText(const QString& file, const ImportError& error) {
  const QString where = error.line > 0 ? u"Строка %1: %2."_s.arg(error.line).arg(error.reason) : error.reason + u'.';
  const QString unchanged = error.hivesChanged ? QString() : u"\nРеестр не изменён."_s;
  return u"Не удалось добавить сведения из «%1» в реестр.\n\n%2%3"_s.arg(file, where, unchanged);
}

namespace {

MsgResult show(const QString& text, MsgIcon icon, MsgButtons buttons) {
  MessageRequest r;
  r.text = text;
  r.caption = kCaption;
  r.icon = icon;
  r.buttons = buttons;
  return ShowMessageBox(r);
}

std::optional<QByteArray> readFile(const QString& path, ImportError& error) {
  const QFileInfo info(path);
  if (!info.exists()) {
    error = {0, u"файл не найден"_s};
    return std::nullopt;
  }
  if (!info.isFile()) {
    error = {0, u"это не обычный файл"_s};
    return std::nullopt;
  }
  if (info.size() > regfile::kMaxFileBytes) {
    error = {0, u"файл больше %1 байт"_s.arg(regfile::kMaxFileBytes)};
    return std::nullopt;
  }
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    error = {0, u"файл не открывается (%1)"_s.arg(f.errorString())};
    return std::nullopt;
  }
  // One byte over the limit is enough to know the file grew past it since the look above.
  QByteArray bytes = f.read(regfile::kMaxFileBytes + 1);
  if (f.error() != QFileDevice::NoError) {
    error = {0, u"файл не читается (%1)"_s.arg(f.errorString())};
    return std::nullopt;
  }
  return bytes;
}

}  // namespace

ImportOutcome RunImport(const ImportRequest& request) {
  const QString shown = QDir::toNativeSeparators(request.file);
  ImportError error;
  const std::optional<QByteArray> bytes = readFile(request.file, error);
  if (!bytes) {
    show(RefusedText(shown, error), MsgIcon::Error, MsgButtons::Ok);
    return ImportOutcome::Refused;
  }
  const ImportPlan plan = PlanImport(*bytes);
  if (!plan.ok()) {
    show(RefusedText(shown, *plan.error), MsgIcon::Error, MsgButtons::Ok);
    return ImportOutcome::Refused;
  }
  if (!request.assumeYes && show(QuestionText(shown), MsgIcon::Question, MsgButtons::YesNo) != MsgResult::Yes)
    return ImportOutcome::Declined;

  bool told = false;
  while (request.trainerRunning()) {
    if (request.assumeYes) {
      if (!told) show(TrainerWaitText(), MsgIcon::Information, MsgButtons::Ok);
      told = true;
      request.wait(kTrainerPollMs);
    } else if (show(TrainerRunningText(), MsgIcon::Warning, MsgButtons::OkCancel) != MsgResult::Ok) {
      return ImportOutcome::Declined;
    }
  }

  if (auto failed = ApplyImport(plan, request.paths)) {
    show(RefusedText(shown, *failed), MsgIcon::Error, MsgButtons::Ok);
    return failed->line > 0 ? ImportOutcome::Refused : ImportOutcome::Failed;
  }
  show(ImportedText(shown), MsgIcon::Information, MsgButtons::Ok);
  return ImportOutcome::Imported;
}

}  // namespace zv::regimport
