#include "update/AutoCheckup.h"

#include "platform/Registry.h"
#include "platform/RegistryGroup.h"
#include "shell/MainSettings.h"
#include "shell/OleDate.h"

#include <cmath>
#include <limits>

namespace zv {

using namespace Qt::StringLiterals;

namespace {

QString DateAndTime(const QDateTime& when, const QLocale& locale) {
  QString timeFormat = locale.timeFormat(QLocale::LongFormat);
  timeFormat.remove(u't');  // the zone name is no part of a clock time
  return locale.toString(when.date(), QLocale::ShortFormat) + u' ' + locale.toString(when.time(), timeFormat.trimmed());
}

}  // namespace

QStringList AutoCheckupChoices() {
  return {u"Каждую неделю"_s, u"Каждые две недели"_s, u"Каждые три недели"_s, u"Каждый месяц"_s};
}

qint64 WholeHoursBetween(double from, double to) {
  const double ms = std::round(std::fabs(to - from) * 86400000.0);
  if (!std::isfinite(ms) || ms >= 9.0e18) return std::numeric_limits<qint64>::max();
  return static_cast<qint64>(ms) / 3600000;
}

void AutoCheckup::Start(bool enabled, int intervalHours, double lastCheckup) {
  m_enabled = enabled;
  m_intervalHours = intervalHours;
  m_lastCheckup = lastCheckup;
}

void AutoCheckup::ChooseInterval(int index) {
  if (const int hours = AutoCheckupHours(index); hours > 0) m_intervalHours = hours;
}

bool AutoCheckup::Tick(bool connected) const {
  if (!m_enabled || m_windowOpen || !connected) return false;
  return WholeHoursBetween(m_lastCheckup, ToOleDate(m_clock.Now())) > m_intervalHours;
}

double AutoCheckup::CheckCompleted() {
  m_lastCheckup = ToOleDate(m_clock.Now());
  return m_lastCheckup;
}

UpdateWindowSettings ReadUpdateWindowSettings(Registry& r) {
  UpdateWindowSettings s;
  // Each value on its own: one of the wrong type leaves only itself unread.
  const auto read = [&](auto&& work) { InKeyGroup(r, kProgramKey, KeyOpening::Existing, work); };
  read([&] {
    if (r.ValueExists(u"AutoCheckup"_s)) s.autoCheckup = r.ReadBool(u"AutoCheckup"_s);
  });
  read([&] {
    if (r.ValueExists(u"AutoCheckupTime"_s)) s.autoCheckupTime = r.ReadInteger(u"AutoCheckupTime"_s);
  });
  read([&] {
    if (r.ValueExists(u"LastCheckup"_s)) s.lastCheckup = r.ReadDateTime(u"LastCheckup"_s);
  });
  read([&] {
    if (r.ValueExists(u"LastDownload"_s)) s.lastDownload = r.ReadDateTime(u"LastDownload"_s);
  });
  return s;
}

void WriteAutoCheckupChoice(Registry& r, bool autoCheckup, int autoCheckupTime) {
  InKeyGroup(r, kProgramKey, KeyOpening::CreateIfMissing, [&] {
    r.WriteBool(u"AutoCheckup"_s, autoCheckup);
    r.WriteInteger(u"AutoCheckupTime"_s, autoCheckupTime);
  });
}

void WriteLastCheckup(Registry& r, double when) {
  InKeyGroup(r, kProgramKey, KeyOpening::CreateIfMissing, [&] { r.WriteDateTime(u"LastCheckup"_s, when); });
}

void WriteLastDownload(Registry& r, double when) {
  InKeyGroup(r, kProgramKey, KeyOpening::CreateIfMissing, [&] { r.WriteDateTime(u"LastDownload"_s, when); });
}

QString LastCheckupText(const QDateTime& when, const QLocale& locale) {
  return u"Последняя проверка была выполнена\r\n"_s + DateAndTime(when, locale);
}

QString LastDownloadText(const QDateTime& when, const QLocale& locale) {
  return u"Последняя загрузка - "_s + DateAndTime(when, locale);
}

}  // namespace zv
