#include "shell/MainSettings.h"

#include "platform/Registry.h"
#include "platform/RegistryGroup.h"
#include "tasks/SelectorStore.h"
#include "tasks/TSmartRand.h"

#include <algorithm>
#include <exception>

namespace zv {
namespace {

QString N(const char* name) { return QString::fromLatin1(name); }

// Font name and size, then the style code Bold + 2 x Italic when both flags are stored.
void ReadFont(Registry& r, const char* prefix, FontChoice& font) {
  const QString p = N(prefix);
  if (r.ValueExists(p)) font.name = r.ReadString(p);
  if (r.ValueExists(p + N("Size"))) font.size = r.ReadInteger(p + N("Size"));
  if (r.ValueExists(p + N("Bold")) && r.ValueExists(p + N("Italic"))) {
    // A hostile pair (INT_MAX, INT_MAX) must fall outside 0..3, not overflow into it.
    const qint64 code = qint64{r.ReadInteger(p + N("Bold"))} + 2 * qint64{r.ReadInteger(p + N("Italic"))};
    if (code >= 0 && code <= 3) {
      font.bold = (code & 1) != 0;
      font.italic = (code & 2) != 0;
      font.underline = false;
      font.strikeOut = false;
    }
  }
}

void WriteFont(Registry& r, const char* prefix, const FontChoice& font) {
  const QString p = N(prefix);
  r.WriteString(p, font.name);
  r.WriteInteger(p + N("Size"), font.size);
  // A style holding underline or strike-out has no code: the stored pair stays as it was.
  if (font.underline || font.strikeOut) return;
  r.WriteBool(p + N("Bold"), font.bold);
  r.WriteBool(p + N("Italic"), font.italic);
}

// The stretch of [start, start + length) that lies within [from, from + extent), in 64 bits so
// that edges near the ends of int cannot overflow.
qint64 Overlap(qint64 start, qint64 length, qint64 from, qint64 extent) {
  return std::min(start + length, from + extent) - std::max(start, from);
}

}  // namespace

bool StoredEdgeFits(const ScreenSpace& space, Qt::Orientation axis, int edge) {
  const bool horizontal = axis == Qt::Horizontal;
  const qint64 primary = horizontal ? space.primary.width() : space.primary.height();
  if (primary - qint64{edge} <= 32) return false;
  const qint64 length = horizontal ? space.window.width() : space.window.height();
  const std::vector<QRect> screens =
      space.screens.empty() ? std::vector<QRect>{QRect(QPoint(0, 0), space.primary)} : space.screens;
  for (const QRect& screen : screens) {
    const qint64 overlap = horizontal ? Overlap(edge, length, screen.x(), screen.width())
                                      : Overlap(edge, length, screen.y(), screen.height());
    if (overlap >= 32) return true;
  }
  return false;
}

int AutoCheckupHours(int time) {
  switch (time) {
    case 0:
      return 164;
    case 1:
      return 332;
    case 2:
      return 500;
    case 3:
      return 716;
    default:
      return 0;
  }
}

ExamOptions ExamOptionsOf(const MainSettings& s) {
  ExamOptions o;
  o.viewIndex = s.viewIndex;
  o.timeLimitOn = s.toTL;
  o.comments = s.sound;
  o.ticTac = s.ticTac;
  o.timeLimitIndex = s.timeLimitIndex;
  o.timeLimit = s.timeLimit;
  o.tasksIndex = s.tasksIndex;
  return o;
}

void StoreExamOptions(const ExamOptions& o, MainSettings& s) {
  s.viewIndex = o.viewIndex;
  s.toTL = o.timeLimitOn;
  s.sound = o.comments;
  s.ticTac = o.ticTac;
  s.timeLimitIndex = o.timeLimitIndex;
  s.timeLimit = o.timeLimit;
  s.tasksIndex = o.tasksIndex;
}

void ReadMainSettings(Registry& r, MainSettings& s, const ScreenSpace& space) {
  // A failure ends the group: the values not yet read keep their defaults.
  InKeyGroup(r, kProgramKey, KeyOpening::CreateIfMissing, [&] {
    if (r.ValueExists(N("MainFormLeft"))) {
      const int v = r.ReadInteger(N("MainFormLeft"));
      if (StoredEdgeFits(space, Qt::Horizontal, v)) s.left = v;
    }
    if (r.ValueExists(N("MainFormTop"))) {
      const int v = r.ReadInteger(N("MainFormTop"));
      if (StoredEdgeFits(space, Qt::Vertical, v)) s.top = v;
    }
    if (r.ValueExists(N("ViewIndex"))) {
      int v = r.ReadInteger(N("ViewIndex"));
      // The marker says the last run forced "только текст": the stored choice is not trusted.
      if (r.ValueExists(N("NoSoundFiles"))) {
        v = 0;
        r.DeleteValue(N("NoSoundFiles"));
      }
      if (static_cast<unsigned>(v) < 3) s.viewIndex = v;
    }
    if (r.ValueExists(N("FirstDate"))) s.firstDate = r.ReadDateTime(N("FirstDate"));
    if (r.ValueExists(N("RCount"))) s.rCount = r.ReadInteger(N("RCount"));
    if (r.ValueExists(N("ToTL"))) s.toTL = r.ReadBool(N("ToTL"));
    if (r.ValueExists(N("Sound"))) s.sound = r.ReadBool(N("Sound"));
    if (r.ValueExists(N("TicTac"))) s.ticTac = r.ReadBool(N("TicTac"));
    if (r.ValueExists(N("TimeLimit"))) {
      const int v = r.ReadInteger(N("TimeLimit"));
      if (v >= 5 && v <= 45) {
        s.timeLimitIndex = v - 5;
        s.timeLimit = v;
      }
    }
    if (r.ValueExists(N("Tasks"))) {
      const int v = r.ReadInteger(N("Tasks"));
      if (v >= 5 && v <= 50) s.tasksIndex = v - 5;  // the list has no entry for other values
    }
    if (r.ValueExists(N("Volume"))) s.volume = std::clamp(r.ReadInteger(N("Volume")), 21, 100);
    ReadFont(r, "AskFont", s.askFont);
    ReadFont(r, "AnsFont", s.ansFont);
    if (r.ValueExists(N("AutoCheckup")) && r.ReadBool(N("AutoCheckup"))) {
      s.autoCheckup = true;
      s.autoCheckupTime = r.ValueExists(N("AutoCheckupTime")) ? r.ReadInteger(N("AutoCheckupTime")) : 2;
      s.lastCheckup = r.ValueExists(N("LastCheckup")) ? r.ReadDateTime(N("LastCheckup")) : 0.0;
      s.autoCheckupHours = AutoCheckupHours(s.autoCheckupTime);
      if (s.autoCheckupHours == 0) throw RegistryError("AutoCheckupTime out of range");
    }
  });
}

void WriteMainSettings(Registry& r, const MainSettings& s, TSmartRand& tasks, TSmartRand& sayings,
                       TSmartRand& remarks) {
  // A failure ends the group: the values not yet written keep their stored values.
  InKeyGroup(r, kProgramKey, KeyOpening::CreateIfMissing, [&] {
    if (s.left) r.WriteInteger(N("MainFormLeft"), *s.left);
    if (s.top) r.WriteInteger(N("MainFormTop"), *s.top);
    r.WriteDateTime(N("FirstDate"), s.firstDate);
    r.WriteInteger(N("RCount"), s.rCount);
    SaveUsedState(r, N("Heart"), tasks);
    SaveDoneState(r, N("DoneHeart"), tasks);
    SaveUsedState(r, N("HeartP"), sayings);
    SaveUsedState(r, N("HeartRC"), remarks);
    r.WriteBool(N("TicTac"), s.ticTac);
    r.WriteBool(N("Sound"), s.sound);
    r.WriteBool(N("ToTL"), s.toTL);
    r.WriteInteger(N("TimeLimit"), s.timeLimit);
    r.WriteInteger(N("Tasks"), s.tasksIndex + 5);
    r.WriteInteger(N("ViewIndex"), s.viewIndex);
    WriteFont(r, "AskFont", s.askFont);
    WriteFont(r, "AnsFont", s.ansFont);
    if (s.volumeShown) r.WriteInteger(N("Volume"), s.volume);
  });
}

}  // namespace zv
