#include "link/LinkSupervisor.h"

#include <string>
#include <utility>

#include "link/CommandFrame.h"
#include "link/SerialLink.h"
#include "platform/Controls.h"
#include "platform/Log.h"

namespace travenor {

LinkSupervisor::LinkSupervisor(SerialLink& link, Controls& controls,
                               std::function<bool()> downloading)
    : link(link), controls(controls), downloading(std::move(downloading)) {}

void LinkSupervisor::discoveryTick() {
    if (linkUp == 0) {
        // A box that holds no number (the user typed into it) restarts the scan at port 1.
        const auto current = portNumberOf(controls.text("Combo1"));
        int next =
            current && *current < SerialLink::LAST_PORT ? *current + 1 : SerialLink::FIRST_PORT;
        if (next < SerialLink::FIRST_PORT) next = SerialLink::FIRST_PORT;
        controls.setText("Combo1", std::to_string(next));
        qCDebug(logScan) << "probing port" << next;
        link.openPort();
        link.sendCommand(PROBE_COMMAND_BASE + next);
    }
    if (silentTicks < SILENT_TICKS_CAP + 1) ++silentTicks;
    if (silentTicks > TOLERATED_SILENT_TICKS) {
        if (linkUp == 1)
            qCInfo(logLink) << "instrument lost: no answer for" << TOLERATED_SILENT_TICKS + 1
                            << "discovery ticks";
        linkUp = 0;
    }
    if (silentTicks > SILENT_TICKS_CAP) silentTicks = SILENT_TICKS_CAP;
}

void LinkSupervisor::pollTick() {
    if (linkUp == 1 && !downloading()) link.sendCommand(LIVE_READING_COMMAND);
}

void LinkSupervisor::markAlive() {
    if (linkUp != 1)
        qCInfo(logLink).noquote() << "instrument found on port"
                                  << QString::fromStdString(controls.text("Combo1"));
    linkUp = 1;
    silentTicks = 0;
}

}  // namespace travenor
