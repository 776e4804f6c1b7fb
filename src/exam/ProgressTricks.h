#pragma once
// The two tricks with the progress that the task list offers: saving it to a file the
// registry editor imports, and forgetting it. Texts, the file name and the reset are decided
// here; the window asks the questions, writes the bytes and shows the messages.

#include "exam/ExamStatistics.h"

#include <QDateTime>
#include <QLocale>
#include <QString>

namespace zv {

class TSmartRand;

// "ZZ_" + the short date, a blank and the long time (without its zone) in the locale's
// formats, every blank made "_", every "/" "." and every ":" "-", + ".reg".
QString ProgressExportFileName(const QDateTime& now, const QLocale& locale = QLocale::system());

// The messages of saving: the file could not be created, a write failed, and done.
QString ExportCannotCreateText(const QString& fileName);
QString ExportWriteFailedText();
QString ExportDoneText(const QString& fileName);

// The question before forgetting.
QString ForgetQuestionText();

// Forgetting: no task passed (the started-over state, the done set and its count cleared), the
// consolidation remarks fresh, RCount 0. FirstDate and every other selector stay.
void ForgetProgress(TSmartRand& tasks, TSmartRand& remarks, ExamStatistics& statistics);

}  // namespace zv
