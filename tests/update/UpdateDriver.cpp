// The trainer exactly as the program entry builds it (the sound engine, the sound packages of the
// user's data folder and of its own folder, the update window on the network), with a driver
// that goes through the update window the way a learner does, and reports what it sees. The
// real program cannot be clicked without a display.
//
//   ZV_DRIVE=update   on the start screen: "Интернет-обновление", then "Далее" (the check),
//                     then "Далее" again for every offered item (the download and the hand-off)
//   ZV_DRIVE=report   nothing is clicked
//   ZV_DRIVE_REPORT   the file the report lines are appended to, each "<stage>: <what>":
//     PID <pid>                    at start
//     HIVE <name> ...              the values of the program key as this copy found it, sorted
//     BOX <text>                   every message box (answered with its first button)
//     PACKAGES <file>=<count> ...  each package's count field as the update reads it (0: absent)
//     OFFER <file name>            each item the window lists
//     WINDOW <text>                the window's headline when it can only be closed (then closed)
//     READY                        the start screen is on view and nothing more will be clicked
//     ENDED <exit code>            the windows are gone: everything is written
//
// Before the download is started the driver sets ZV_DRIVE=report in its own environment: the
// hand-off script inherits it, so the copy the installers start again only reports.

#include "app/RunTrainer.h"
#include "app/TrainerWindows.h"
#include "common/ProgramKey.h"
#include "common/SystemInfo.h"
#include "platform/MessageBox.h"
#include "platform/Registry.h"
#include "platform/SdlSoundEngine.h"
#include "shell/TrainerContext.h"
#include "shell/TrainerState.h"
#include "sound/PackageFormat.h"
#include "sound/PackageSoundService.h"
#include "ui/SkinCaptionButton.h"
#include "ui/TBitBtn.h"
#include "ui/TZVMainForm.h"
#include "update/TUpdateForm.h"
#include "update/TUpdateFormLink.h"
#include "update/UpdateSession.h"

#include <QApplication>
#include <QFile>
#include <QListWidget>
#include <QTimer>

#include <unistd.h>

namespace zv {
namespace {

using namespace Qt::StringLiterals;

QString Stage() { return qEnvironmentVariable("ZV_DRIVE"); }

// Written at once (append, then closed), so a reader sees every line even if the process dies.
void Report(const QString& stage, const QString& line) {
  QFile file(qEnvironmentVariable("ZV_DRIVE_REPORT"));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return;
  QString text = line;
  text.replace(u"\r\n"_s, u" | "_s).replace(u'\n', u" | "_s);
  file.write((stage + u": "_s + text + u'\n').toUtf8());
}

class UpdateDriver : public QObject {
 public:
  UpdateDriver(TrainerWindows& windows, QObject* parent) : QObject(parent), m_windows(windows), m_stage(Stage()) {
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &UpdateDriver::Tick);
    timer->start(30);
  }

 private:
  // Each click runs from a timer of its own and nothing else is clicked until it returns. The
  // update button's click returns only when the update window has closed, so that one is not
  // waited for.
  template <typename Action>
  void Later(Action action) {
    m_busy = true;
    QTimer::singleShot(0, this, [this, action] {
      action();
      m_busy = false;
    });
  }

  void Tick() {
    if (m_busy || m_ready) return;
    TZVMainForm& main = m_windows.Main();
    if (auto* form = qobject_cast<TUpdateForm*>(QApplication::activeModalWidget())) return Drive(*form);
    if (!main.Flow().OnStartScreen() || !main.isVisible()) return;
    if (m_stage == u"update"_s && !m_opened) {
      m_opened = true;
      QTimer::singleShot(0, &main, [&main] { main.LiveUpdateBitBtn->click(); });
      return;
    }
    m_ready = true;
    Report(m_stage, u"READY"_s);
  }

  void Drive(TUpdateForm& form) {
    TBitBtn* ok = form.OKBitBtn;
    TBitBtn* cancel = form.CancelBitBtn;
    const bool okUsable = ok->isVisible() && ok->isEnabled();
    if (form.UpdateText() == QString::fromUtf16(kDownloadFailedText)) {
      // A failed check leaves only Cancel; a failed download brings OK back.
      TBitBtn* close = okUsable ? ok : cancel;
      if (!close->isVisible() || !close->isEnabled()) return;
      Report(m_stage, u"WINDOW "_s + form.UpdateText());
      Later([close] { close->click(); });
    } else if (!okUsable) {
      return;
    } else if (ok->Tag == 0) {
      Later([ok] { ok->click(); });
    } else if (ok->Tag == 1) {
      for (const UpdateItem& item : form.Items()) Report(m_stage, u"OFFER "_s + item.fileName);
      qputenv("ZV_DRIVE", "report");
      Later([ok] { ok->click(); });
    } else {
      Report(m_stage, u"WINDOW "_s + form.UpdateText());
      Later([ok] { ok->click(); });
    }
  }

  TrainerWindows& m_windows;
  const QString m_stage;
  bool m_busy = false;
  bool m_opened = false;
  bool m_ready = false;
};

QString PackageLine(const TZVMainForm& main, int build) {
  const InstalledVersions installed = InstalledVersionsOf(main.Sound().Coverage(), build);
  QString line = u"PACKAGES"_s;
  for (int p = 0; p < kPackageCount; ++p)
    line += u' ' + PackageFileName(p) + u'=' + QString::number(installed.packageCounts[std::size_t(p)]);
  return line;
}

// Read before the main window reads (and tidies) the key.
QString HiveLine(Registry& registry) {
  QStringList names;
  try {
    registry.SetRootKey(RootKey::CurrentUser);
    if (registry.OpenKeyReadOnly(ProgramKeyPath())) {
      names = registry.GetValueNames();
      registry.CloseKey();
    }
  } catch (const RegistryError&) {
  }
  names.sort();
  return (u"HIVE "_s + names.join(u' ')).trimmed();
}

struct TrainerSound {
  explicit TrainerSound(RandomSource& random) : service(engine, random, PackageSoundService::DefaultFolders()) {}
  SdlSoundEngine engine;
  PackageSoundService service;
};

}  // namespace
}  // namespace zv

int main(int argc, char** argv) {
  const QString stage = zv::Stage();
  zv::Report(stage, QStringLiteral("PID ") + QString::number(::getpid()));
  zv::SdlSoundEngine::PreloadLibraries();
  std::unique_ptr<zv::TrainerSound> sound;
  const int code = zv::RunTrainer(argc, argv, [&](zv::TrainerContext& context) -> std::unique_ptr<QObject> {
    zv::SetMessagePresenter([stage](const zv::MessageRequest& request) {
      zv::Report(stage, QStringLiteral("BOX ") + request.text);
      return request.buttons == zv::MsgButtons::YesNo || request.buttons == zv::MsgButtons::YesNoCancel
                 ? zv::MsgResult::Yes
                 : zv::MsgResult::Ok;
    });
    zv::Report(stage, zv::HiveLine(*context.System.SettingsRegistry));
    sound = std::make_unique<zv::TrainerSound>(*context.System.Random);
    auto windows = std::make_unique<zv::TrainerWindows>(context, sound->service);
    windows->Main().SetUpdateWindowLink(std::make_unique<zv::TUpdateFormLink>());
    zv::Report(stage, zv::PackageLine(windows->Main(), context.State.BuildNumber));
    new zv::UpdateDriver(*windows, windows.get());
    return windows;
  });
  sound.reset();
  zv::Report(stage, QStringLiteral("ENDED ") + QString::number(code));
  return code;
}
