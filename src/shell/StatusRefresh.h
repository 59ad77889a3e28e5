#pragma once

#include <functional>
#include <string>

namespace travenor {

class Controls;
class Download;
class LinkSupervisor;
class RecordTable;
class SerialLink;

// Start-up of the main window and the 70 ms status refresh: status boxes and
// bar, button states, the discovery and download timer periods, and the
// blanking of the readings while no instrument answers.
class StatusRefresh {
  public:
    static constexpr int SCANNING_PERIOD = 20;
    static constexpr int LINKED_PERIOD = 70;
    static constexpr int DOWNLOAD_PERIOD = 50;

    StatusRefresh(Controls& controls, SerialLink& link, LinkSupervisor& supervisor,
                  Download& download, RecordTable& table, std::function<std::string()> clock);

    void loadMainWindow();
    void refreshStatus();

  private:
    Controls& controls;
    SerialLink& link;
    LinkSupervisor& supervisor;
    Download& download;
    RecordTable& table;
    std::function<std::string()> clock;
};

}  // namespace travenor
