#pragma once
// The main window's settings as they are kept in the program key: read in one protected group
// when the window is created and written in one when it closes. A failure inside a group (a
// value of the wrong type, a refused write) ends the group at once: values not yet handled
// keep their defaults on reading and their stored values on writing. Nothing is reported.

#include "common/ProgramKey.h"
#include "exam/MainScreen.h"

#include <QRect>
#include <QSize>
#include <QString>

#include <optional>
#include <vector>

namespace zv {

class Registry;
class TSmartRand;

inline const QString kProgramKey = ProgramKeyPath();

struct FontChoice {
  QString name;
  int size = 10;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
};

struct MainSettings {
  std::optional<int> left;  // set only when the stored edge keeps the window on screen
  std::optional<int> top;
  int viewIndex = 0;       // 0 "текст и звук", 1 "только текст", 2 "только звук"
  double firstDate = 0.0;  // the caller's default: the moment of the current start
  int rCount = 0;
  bool toTL = false;
  bool sound = true;
  bool ticTac = true;
  int timeLimitIndex = 10;  // entry of the 5..45 list
  int timeLimit = 15;       // the limit in force, written back as TimeLimit
  int tasksIndex = 0;       // exam length = index + 5
  int volume = 72;
  FontChoice askFont{QStringLiteral("Arial"), 14, true, false};
  FontChoice ansFont{QStringLiteral("Arial"), 10, false, false};
  bool autoCheckup = false;
  int autoCheckupTime = 2;
  double lastCheckup = 0.0;
  int autoCheckupHours = 0;  // 164, 332, 500 or 716 when armed
  bool volumeShown = false;  // the volume bar is shown (sound works): only then Volume is written
};

// Interval of the automatic update check for AutoCheckupTime 0..3, in hours; 0 for others.
int AutoCheckupHours(int time);

// Where the window is placed. A stored edge is taken when the primary screen's width (height)
// less the edge is greater than 32, and when the frameless window would still show at least
// 32 pixels of itself on some screen along that axis; otherwise it is ignored.
struct ScreenSpace {
  QSize primary{1024, 768};
  std::vector<QRect> screens;  // every screen's rectangle; empty: the primary one at the origin
  QSize window;                // the main window's size
};

// Whether a stored left (horizontal) or top edge keeps the window reachable.
bool StoredEdgeFits(const ScreenSpace& space, Qt::Orientation axis, int edge);

// The start screen's options in and out of the settings: applied at creation, collected at
// closing.
ExamOptions ExamOptionsOf(const MainSettings& settings);
void StoreExamOptions(const ExamOptions& options, MainSettings& settings);

// Reads the values the main window reads at creation, in their order.
void ReadMainSettings(Registry& registry, MainSettings& settings, const ScreenSpace& space);

// Writes the values and the three start-up selectors' states (Heart, DoneHeart, HeartP,
// HeartRC) in their order.
void WriteMainSettings(Registry& registry, const MainSettings& settings, TSmartRand& tasks, TSmartRand& sayings,
                       TSmartRand& remarks);

}  // namespace zv
