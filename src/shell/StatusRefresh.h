#pragma once

#include <functional>
#include <string>

#include "shell/Ticks.h"

namespace travenor {

class Download;
class LinkSupervisor;
class LivePresenter;
class PortSelection;
class ProgressView;
class RecordTable;
class SerialLink;
class StatusView;
class TickPeriods;

// What the refresh needs to know of the program's state.
struct StatusState {
    bool linked = false;
    bool downloading = false;
    int discoveryPeriod = 0;
    int downloadPeriod = 0;
};

// What the status shows and allows for that state.
struct StatusShown {
    const char* connection;
    const char* activity;
    bool recordCommandsEnabled;
    bool progressEnabled;
    bool blankReadings;
    int discoveryPeriod;
    int downloadPeriod;
};

// The status policy: scanning fast while unlinked and slower once linked,
// the download tick running only while a download runs, the record commands
// held while it runs. A period nobody set keeps its value.
StatusShown statusFor(const StatusState& state);

// Start-up of the main window and the 70 ms status refresh: status boxes and
// bar, button states, the discovery and download tick periods, and the
// blanking of the readings while no instrument answers.
class StatusRefresh {
  public:
    static constexpr int SCANNING_PERIOD = travenor::SCANNING_PERIOD;
    static constexpr int LINKED_PERIOD = travenor::LINKED_PERIOD;
    static constexpr int DOWNLOAD_PERIOD = travenor::DOWNLOAD_PERIOD;
    static constexpr const char* MAKER = "Travenor's Software";

    struct Parts {
        StatusView& view;
        TickPeriods& ticks;
        const PortSelection& selection;
        LivePresenter& live;
        ProgressView& progress;
        SerialLink& link;
        LinkSupervisor& supervisor;
        Download& download;
        RecordTable& table;
    };

    StatusRefresh(Parts parts, std::function<std::string()> clock);

    void loadMainWindow();
    void refreshStatus();

  private:
    Parts parts;
    std::function<std::string()> clock;
};

}  // namespace travenor
