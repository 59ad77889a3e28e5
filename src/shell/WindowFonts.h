#pragma once

#include <QFont>

namespace travenor {

// The window's own face for buttons, boxes and frames: a small sans serif.
QFont windowFont();
// The Song-style face of the readings, or the nearest the machine has.
QFont songFont(double pointSize, bool bold);
// A face in which every character of the record table has one width.
QFont tableFont();

}  // namespace travenor
