#pragma once

#include <QString>
#include <string>

class QLocale;
class QTime;

namespace travenor {

// The locale's long time format without its time-zone part, and without what
// that leaves behind (empty brackets, a dangling comma, blanks). A day-period
// mark Qt does not know becomes Qt's AM/PM; a format without seconds gives
// way to "HH:mm:ss".
QString timeOfDayFormat(const QLocale& locale);
std::string timeOfDayText(const QLocale& locale, const QTime& time);
// The time now, in the system's form.
std::string timeOfDayText();

}  // namespace travenor
