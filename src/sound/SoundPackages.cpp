#include "sound/SoundPackages.h"

#include "common/ProgramKey.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "sound/PackageFile.h"
#include "tasks/SelectorStore.h"
#include "tasks/TSmartRand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace zv {

namespace {

constexpr int kStart = 10;  // "s": the comments-complete test is made when it is read

QString Caption() { return QString::fromUtf8("Зорвик"); }

void ShowPlain(const QString& text, const QString& caption) {
  ShowMessageBox({text, caption, MsgIcon::None, MsgButtons::Ok, true, true, true});
}

void CannotOpen(const QString& name) { ShowPlain(QString::fromUtf8("Не удаётся открыть файл ") + name, Caption()); }

QString Locate(const QStringList& folders, const QString& name) {
  for (const QString& folder : folders) {
    if (folder.isEmpty()) continue;
    const QString path = QDir(folder).filePath(name);
    if (QFileInfo(path).isFile()) return path;
  }
  return {};
}

}  // namespace

SoundPackages::SoundPackages() = default;
SoundPackages::~SoundPackages() = default;

const std::array<int, kCommentPackageCount>& SoundPackages::StoreOrder() {
  // f, m0..m5, n, s, t, y as load indices.
  static const std::array<int, kCommentPackageCount> order = {1, 2, 3, 4, 5, 6, 7, 8, 10, 9, 0};
  return order;
}

QString SoundPackages::StateName(int category) {
  return QStringLiteral("Heart") + PackageCategoryName(category).toUpper();
}

void SoundPackages::Load(const SoundScanInput& input) {
  const auto step = [&input] {
    if (input.step) input.step();
  };
  m_results = SoundLoadResults{};
  m_results.engineFailed = !input.engineStarted;

  for (int category = 0; category < kPackageCount; ++category) {
    const QString name = PackageFileName(category);
    const QString path = Locate(input.folders, name);
    if (path.isEmpty()) {
      step();
      continue;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
      CannotOpen(name);
      continue;
    }
    const bool voiced = IsVoicedPackage(category);
    const PackageInspection inspection = InspectPackage(file, voiced);
    if (inspection.status == PackageStatus::BadVersion) {
      ShowPlain(QString::fromUtf8("Неверная версия файла ") + name +
                    QString::fromUtf8("!\r\nПожалуйста, переустановите программу."),
                Caption());
      continue;
    }
    m_paths[static_cast<std::size_t>(category)] = path;
    const std::uint16_t count = inspection.head.count;
    if (voiced) {
      const auto q = static_cast<std::size_t>(category - kCommentPackageCount);
      m_results.revision[q] = count;
      m_results.voicedPresent[q] = true;  // a corrupt voiced package stays present
    } else {
      m_results.count[static_cast<std::size_t>(category)] = count;
      m_results.totalCommentSounds += count;
      if (category == kStart) {
        bool others = true;
        for (int c = 0; c < kStart; ++c) others = others && m_results.loaded[static_cast<std::size_t>(c)];
        m_results.commentsComplete = others;
      }
    }
    if (inspection.status == PackageStatus::Corrupt) {
      ShowPlain(QString::fromUtf8("Файл ") + name + QString::fromUtf8(" искажён!\r\nПереустановите программу."),
                QStringLiteral("ZVSound"));
      continue;
    }
    if (!voiced) m_results.loaded[static_cast<std::size_t>(category)] = true;
    step();
  }

  m_results.noComments = std::none_of(m_results.loaded.begin(), m_results.loaded.end(), [](bool b) { return b; });
  m_results.voicedPresentCount =
      static_cast<int>(std::count(m_results.voicedPresent.begin(), m_results.voicedPresent.end(), true));
  m_results.allVoicedPresent = m_results.voicedPresentCount == SoundLoadResults::kVoiced;
  m_results.noVoicedPresent = m_results.voicedPresentCount == 0;
  if (!input.engineStarted) return;

  QString missing;
  if (!m_results.allVoicedPresent) {
    missing = QString::fromUtf8("Программе недостаёт файлов озвученных заданий!\r\n");
    if (input.registry != nullptr) {
      try {
        input.registry->SetRootKey(RootKey::CurrentUser);
        input.registry->OpenKey(ProgramKeyPath(), true);
        input.registry->WriteBool(QStringLiteral("NoSoundFiles"), true);
        input.registry->CloseKey();
      } catch (const RegistryError&) {
      }
    }
  }
  if (!m_results.commentsComplete)
    missing += QString::fromUtf8("Программе недостаёт файлов звуковых комментариев!\r\n");
  if (!missing.isEmpty()) {
    missing += QString::fromUtf8(
        "\r\nДля поэтапной установки недостающего\r\n"
        "воспользуйтесь кнопкой \"Интернет-обновление\"\r\n"
        "или установите полнозвуковую версию программы.");
    ShowMessageBox({missing, Caption(), MsgIcon::Information, MsgButtons::Ok, true, true, true});
  }

  if (input.random != nullptr) {
    try {
      if (input.registry != nullptr) {
        input.registry->SetRootKey(RootKey::CurrentUser);
        input.registry->OpenKey(ProgramKeyPath(), true);
      }
      for (const int category : StoreOrder()) {
        const auto c = static_cast<std::size_t>(category);
        if (!m_results.loaded[c] || m_results.count[c] == 0) continue;
        m_selectors[c] = std::make_unique<TSmartRand>(m_results.count[c], false, 3, *input.random);
        if (input.registry != nullptr) LoadUsedState(*input.registry, StateName(category), *m_selectors[c]);
      }
      if (input.registry != nullptr) input.registry->CloseKey();
    } catch (const RegistryError&) {
    }
  }
  step();
}

TSmartRand* SoundPackages::Selector(int category) const {
  if (category < 0 || category >= kCommentPackageCount) return nullptr;
  return m_selectors[static_cast<std::size_t>(category)].get();
}

void SoundPackages::StoreSelectors(Registry& registry) {
  try {
    registry.SetRootKey(RootKey::CurrentUser);
    registry.OpenKey(ProgramKeyPath(), true);
    for (const int category : StoreOrder()) {
      TSmartRand* selector = Selector(category);
      if (selector != nullptr) SaveUsedState(registry, StateName(category), *selector);
    }
  } catch (const RegistryError&) {
  }
  try {
    registry.CloseKey();
  } catch (const RegistryError&) {
  }
}

QByteArray SoundPackages::ReadSound(int category, int index) const {
  if (category < 0 || category >= kPackageCount) return {};
  const QString& path = m_paths[static_cast<std::size_t>(category)];
  if (path.isEmpty()) return {};
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    CannotOpen(PackageFileName(category));
    return {};
  }
  return ReadPackageSound(file, IsVoicedPackage(category), index);
}

}  // namespace zv
