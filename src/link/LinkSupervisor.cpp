#include "link/LinkSupervisor.h"

#include <utility>

#include "link/CommandFrame.h"
#include "link/PortSelection.h"
#include "link/SerialLink.h"
#include "platform/Log.h"

namespace travenor {

LinkSupervisor::LinkSupervisor(SerialLink& link, PortSelection& selection,
                               std::function<bool()> downloading)
    : link(link),
      selection(selection),
      downloading(std::move(downloading)),
      firstPort(SerialLink::FIRST_PORT),
      lastPort(SerialLink::LAST_PORT) {}

void LinkSupervisor::discoveryTick() {
    if (!linked) {
        // A box that holds no number (the user typed into it) restarts the scan at port 1.
        const auto current = portNumberOf(selection.portText());
        int next = current && *current < lastPort ? *current + 1 : firstPort;
        if (next < firstPort) next = firstPort;
        selection.showPort(next);
        qCDebug(logScan) << "probing port" << next;
        link.openPort();
        link.sendCommand(PROBE_COMMAND_BASE + next);
    }
    if (silent < SILENT_TICKS_CAP + 1) ++silent;
    if (silent > TOLERATED_SILENT_TICKS) {
        if (linked)
            qCInfo(logLink) << "instrument lost: no answer for" << TOLERATED_SILENT_TICKS + 1
                            << "discovery ticks";
        linked = false;
    }
    if (silent > SILENT_TICKS_CAP) silent = SILENT_TICKS_CAP;
}

void LinkSupervisor::pollTick() {
    if (linked && !downloading()) link.sendCommand(LIVE_READING_COMMAND);
}

void LinkSupervisor::markAlive() {
    if (!linked)
        qCInfo(logLink).noquote() << "instrument found on port"
                                  << QString::fromStdString(selection.portText());
    linked = true;
    answered = true;
    silent = 0;
}

}  // namespace travenor
