#pragma once
// ProgramLook: what every window of the program shares in its look.
//
// One typeface: the design's "Arial" (Liberation Sans answers for it where Arial is not
// installed), set application-wide at start-up, also for the classes a desktop theme may give
// fonts of their own (menus, message boxes, buttons, tooltips), so no window, popup or box
// falls back to the desktop's sans.
//
// Drop-down lists show as many lines as the combo box's maxVisibleItems allows: styles that
// open a list as a popup over the box (and then size it to the screen) are told not to.

#include <QFont>

class QComboBox;

namespace zv {

// "Arial" at 9 points.
QFont ProgramFont();
// Makes ProgramFont the application's font (after the QApplication exists).
void ApplyProgramFont();
// The drop-down list of `box` keeps to box->maxVisibleItems() lines.
void KeepListHeight(QComboBox* box);

}  // namespace zv
