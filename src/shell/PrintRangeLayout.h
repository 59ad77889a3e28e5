#pragma once

#include <span>

#include "shell/MainWindowLayout.h"

namespace travenor::layout::printRange {

// Form2, the print-range dialog, as data: twips relative to its client area.
inline constexpr const char* CAPTION = "打印选项";
inline constexpr int CLIENT_WIDTH = 6135;
inline constexpr int CLIENT_HEIGHT = 3120;

// Every control, in keyboard focus order.
std::span<const Control> controls();

}  // namespace travenor::layout::printRange
