#include "shell/StatusRefresh.h"

#include <utility>

#include "link/LinkSupervisor.h"
#include "link/PortSelection.h"
#include "link/SerialLink.h"
#include "records/Download.h"
#include "records/RecordTable.h"
#include "records/RecordViews.h"
#include "shell/LivePresenter.h"
#include "shell/Views.h"

namespace travenor {

StatusShown statusFor(const StatusState& state) {
    StatusShown shown{};
    if (state.linked) {
        shown.connection = "Connected";
        shown.blankReadings = false;
        shown.discoveryPeriod = state.discoveryPeriod == StatusRefresh::SCANNING_PERIOD
                                    ? StatusRefresh::LINKED_PERIOD
                                    : state.discoveryPeriod;
    } else {
        shown.connection = "Unconnect";
        shown.blankReadings = true;
        shown.discoveryPeriod = StatusRefresh::SCANNING_PERIOD;
    }
    if (state.downloading) {
        shown.activity = "Reading...";
        shown.recordCommandsEnabled = false;
        shown.progressEnabled = true;
        shown.downloadPeriod =
            state.downloadPeriod == 0 ? StatusRefresh::DOWNLOAD_PERIOD : state.downloadPeriod;
    } else {
        shown.activity = state.linked ? "" : "Device Finding...";
        shown.recordCommandsEnabled = true;
        shown.progressEnabled = false;
        shown.downloadPeriod =
            state.downloadPeriod == StatusRefresh::DOWNLOAD_PERIOD ? 0 : state.downloadPeriod;
    }
    return shown;
}

StatusRefresh::StatusRefresh(Parts parts, std::function<std::string()> clock)
    : parts(parts), clock(std::move(clock)) {}

void StatusRefresh::loadMainWindow() {
    parts.download.reset();
    parts.link.reset();
    parts.link.openPort();
    parts.table.clearRecords();
    parts.progress.showProgress(0);
    parts.table.showTable();
}

void StatusRefresh::refreshStatus() {
    StatusView& view = parts.view;
    view.holdWindowSize();
    // The first panel shows the connection as the last refresh left it.
    view.showStatusBar(view.connectionText(), MAKER, clock());
    view.showPortName("COM" + parts.selection.portText());
    view.showPortState(parts.link.portOpen() ? "ComOpen" : "ComClose");

    const bool linked = parts.supervisor.isLinked();
    // A download cannot go on without the instrument.
    if (!linked) parts.download.linkLost(parts.supervisor.everLinked());
    const StatusShown shown =
        statusFor({linked, parts.download.isDownloading(), parts.ticks.period(Tick::Discovery),
                   parts.ticks.period(Tick::Download)});

    view.showConnection(shown.connection);
    parts.ticks.setPeriod(Tick::Discovery, shown.discoveryPeriod);
    if (shown.blankReadings) parts.live.showNoInstrument();
    view.showActivity(shown.activity);
    view.enableRecordCommands(shown.recordCommandsEnabled);
    view.enableProgress(shown.progressEnabled);
    parts.ticks.setPeriod(Tick::Download, shown.downloadPeriod);
}

}  // namespace travenor
