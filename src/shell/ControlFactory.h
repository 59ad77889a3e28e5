#pragma once

#include <QRect>

#include "shell/MainWindowLayout.h"

class QWidget;

namespace travenor {

// Makes one control of a layout table inside parent: its kind, objectName,
// caption, place, face and visibility. Buttons are not connected here.
QWidget* makeControl(const layout::Control& control, QWidget* parent);

QRect pixelRect(const layout::Control& control);

}  // namespace travenor
