#pragma once

#include <string>
#include <string_view>

namespace travenor {

// The controls of the main window as the program's logic sees them, reached by
// their names ("Label8", "Combo1", "Text3", "ProgressBar1", "Timer2" ...).
// The window implements it; tests use a fake that remembers what was set.
class Controls {
  public:
    virtual ~Controls() = default;

    virtual std::string text(std::string_view name) const = 0;
    virtual void setText(std::string_view name, const std::string& text) = 0;
    virtual bool isVisible(std::string_view name) const = 0;
    virtual void setVisible(std::string_view name, bool visible) = 0;
    virtual bool isEnabled(std::string_view name) const = 0;
    virtual void setEnabled(std::string_view name, bool enabled) = 0;
    virtual int value(std::string_view name) const = 0;
    virtual void setValue(std::string_view name, int value) = 0;

    // Timer periods in milliseconds; 0 means stopped. Setting the period a
    // timer already has leaves it running undisturbed.
    virtual int interval(std::string_view timer) const = 0;
    virtual void setInterval(std::string_view timer, int milliseconds) = 0;

    // Puts the window back to its fixed outer size, unless it is minimized or
    // maximized.
    virtual void holdWindowSize() = 0;
};

}  // namespace travenor
