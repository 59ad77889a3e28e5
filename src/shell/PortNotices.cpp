#include "shell/PortNotices.h"

namespace travenor {

bool PortNotices::isUsbAdapter(const std::string& device) {
    const std::size_t slash = device.rfind('/');
    const std::string name = slash == std::string::npos ? device : device.substr(slash + 1);
    return name.rfind("ttyUSB", 0) == 0 || name.rfind("ttyACM", 0) == 0 ||
           device.rfind("/dev/serial/by-id/usb-", 0) == 0;
}

bool PortNotices::boxFor(const std::string& device, bool chosenByUser) {
    if (boxShown || !(chosenByUser || isUsbAdapter(device))) return false;
    boxShown = true;
    return true;
}

}  // namespace travenor
