#pragma once
// The automatic update check: when the main window's timer (every 59.5 s) should open the
// update window by itself, and what the update window's automatic-check controls change.
//
// A tick opens the window when checking is on, the window is not open already (opened by the
// user or by an earlier tick), the machine is online, and the whole hours since the last check
// exceed the interval. Hours are counted from the stored day fractions rounded to the
// millisecond, so a moment exactly 164 hours later is 164 hours, not 163.99… . A completed
// check also becomes the last check in memory, so a long run waits a full interval again
// instead of opening the window at every tick once the interval has passed.

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>

#include <optional>

namespace zv {

class Registry;

inline constexpr int kUpdateCheckupTimerMs = 59500;
inline constexpr int kAutoCheckupCloseMs = 512;  // a quiet automatic check closes its window after this

class WallClock {
 public:
  virtual ~WallClock() = default;
  virtual QDateTime Now() const = 0;  // local time
};

class SystemWallClock final : public WallClock {
 public:
  QDateTime Now() const override { return QDateTime::currentDateTime(); }
};

// The interval choices in the order of the window's list.
QStringList AutoCheckupChoices();

// Whole hours between two stored date-times (days, any order), rounded to the millisecond first.
qint64 WholeHoursBetween(double from, double to);

class AutoCheckup {
 public:
  explicit AutoCheckup(const WallClock& clock) : m_clock(clock) {}

  // At start: the stored choice (the main settings read it only while checking is on).
  void Start(bool enabled, int intervalHours, double lastCheckup);

  // The window's check box: the timer runs exactly while checking is on.
  void SetEnabled(bool enabled) { m_enabled = enabled; }
  bool Enabled() const { return m_enabled; }
  // The window's list: an index outside the choices changes nothing.
  void ChooseInterval(int index);
  int IntervalHours() const { return m_intervalHours; }

  void SetWindowOpen(bool open) { m_windowOpen = open; }

  // A timer tick: true when the update window is to open in automatic mode.
  bool Tick(bool connected) const;

  // A check completed now: the value to store as "LastCheckup", also kept for the next ticks.
  double CheckCompleted();

 private:
  const WallClock& m_clock;
  bool m_enabled = false;
  int m_intervalHours = 0;
  double m_lastCheckup = 0.0;
  bool m_windowOpen = false;
};

// The update window's stored values; each is absent when not stored (or not readable).
struct UpdateWindowSettings {
  std::optional<bool> autoCheckup;
  std::optional<int> autoCheckupTime;
  std::optional<double> lastCheckup;
  std::optional<double> lastDownload;
};

UpdateWindowSettings ReadUpdateWindowSettings(Registry& registry);
// On closing the window: the check box and the interval choice.
void WriteAutoCheckupChoice(Registry& registry, bool autoCheckup, int autoCheckupTime);
void WriteLastCheckup(Registry& registry, double when);
void WriteLastDownload(Registry& registry, double when);

// "Последняя проверка была выполнена" and, on the next line, the date and time; "Последняя
// загрузка - " and the date and time. Dates in the locale's short format, times in its long
// format (without a zone name).
QString LastCheckupText(const QDateTime& when, const QLocale& locale);
QString LastDownloadText(const QDateTime& when, const QLocale& locale);

}  // namespace zv
