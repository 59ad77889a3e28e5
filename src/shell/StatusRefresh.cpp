#include "shell/StatusRefresh.h"

#include <utility>

#include "link/LinkSupervisor.h"
#include "link/SerialLink.h"
#include "platform/Controls.h"
#include "records/Download.h"
#include "records/RecordTable.h"

namespace travenor {

namespace {
constexpr const char* READINGS[] = {"Label8", "Label9", "Label10", "Label2", "Label4", "Label5"};
}

StatusRefresh::StatusRefresh(Controls& controls, SerialLink& link, LinkSupervisor& supervisor,
                             Download& download, RecordTable& table,
                             std::function<std::string()> clock)
    : controls(controls),
      link(link),
      supervisor(supervisor),
      download(download),
      table(table),
      clock(std::move(clock)) {}

void StatusRefresh::loadMainWindow() {
    download.downloading = 0;
    download.recordCount = 0;
    download.resendCount = 0;
    link.sendBusy = 0;
    link.openPort();
    table.clearRecords();
    controls.setValue("ProgressBar1", 0);
    table.buildRecordTable(0, 0);
}

void StatusRefresh::refreshStatus() {
    controls.holdWindowSize();
    controls.setText("Panel3", clock());
    controls.setText("Panel2", "Travenor's Software");
    controls.setText("Panel1", controls.text("Text3"));
    controls.setText("Text1", "COM" + controls.text("Combo1"));
    controls.setText("Text2", link.portOpen() ? "ComOpen" : "ComClose");

    if (supervisor.linkUp == 1) {
        controls.setText("Text3", "Connected");
        if (controls.interval("Timer2") == SCANNING_PERIOD)
            controls.setInterval("Timer2", LINKED_PERIOD);
    } else {
        controls.setText("Text3", "Unconnect");
        download.linkLost();
        controls.setInterval("Timer2", SCANNING_PERIOD);
        for (const char* label : READINGS) controls.setText(label, "- - - -");
        controls.setText("Label14", "Set:---/-.-A");
        controls.setText("Label17", "Rat:---/-.-A");
    }

    if (download.downloading == 1) {
        controls.setText("Text4", "Reading...");
        controls.setEnabled("Command2", false);
        controls.setEnabled("ProgressBar1", true);
        controls.setEnabled("Command4", false);
        controls.setEnabled("Command1", false);
        controls.setEnabled("Command3", false);
        if (controls.interval("Timer4") == 0) controls.setInterval("Timer4", DOWNLOAD_PERIOD);
    } else {
        if (controls.interval("Timer4") == DOWNLOAD_PERIOD) controls.setInterval("Timer4", 0);
        controls.setEnabled("Command1", true);
        controls.setEnabled("Command3", true);
        // Emptied, then "Device Finding..." while no instrument answers: one
        // write of what the box ends up with, so it is not repainted twice a tick.
        controls.setText("Text4", supervisor.linkUp == 0 ? "Device Finding..." : "");
        controls.setEnabled("ProgressBar1", false);
        controls.setEnabled("Command2", true);
        controls.setEnabled("Command4", true);
    }
}

}  // namespace travenor
