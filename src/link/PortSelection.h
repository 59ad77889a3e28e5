#pragma once

#include <string>

namespace travenor {

// The port box: which port number the link opens next. The user may type
// into it, so its text need not hold a number; the scan and a port
// confirmation from the instrument put numbers in it.
class PortSelection {
  public:
    virtual ~PortSelection() = default;

    // The box's text as the program last set it or the user typed it.
    virtual std::string portText() const = 0;
    // Puts port `number` in the box.
    virtual void showPort(int number) = 0;
};

}  // namespace travenor
