#pragma once

#include <QFont>

namespace travenor {

// The Song-style face of the readings, or the nearest the machine has.
QFont songFont(double pointSize, bool bold);
// A face in which every character of the record table has one width.
QFont tableFont();

}  // namespace travenor
