#pragma once

#include <string>

namespace travenor {

// Which refused ports get a message box. Every refusal is told without
// blocking (the port box's tooltip, the status bar); a box interrupts the
// user at most once a run, and only for a port that is likely the
// instrument's: a USB serial adapter, or the port the user typed in.
class PortNotices {
  public:
    // Whether the refusal of `device` gets the run's one box.
    bool boxFor(const std::string& device, bool chosenByUser);

    // A USB serial adapter's device on Linux (ttyUSB, ttyACM, a by-id link
    // of one). COM names on Windows do not tell.
    static bool isUsbAdapter(const std::string& device);

  private:
    bool boxShown = false;
};

}  // namespace travenor
