#pragma once

#include <functional>
#include <string>

#include "link/LinkSupervisor.h"
#include "link/LiveReadings.h"
#include "link/ReplyDecoder.h"
#include "link/SerialLink.h"
#include "records/Download.h"
#include "records/Printing.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "shell/LivePresenter.h"
#include "shell/StatusRefresh.h"
#include "shell/Ticks.h"

namespace travenor {

class FileSystem;
class MessageBox;
class Printer;
class PortSelection;
class ProgressView;
class SerialPort;
class StatusView;
class TableView;
class TickPeriods;

// What a front end gives the core: the port, the views it shows, the services
// it has. The window gives its own; the command line and the tests give
// views kept in memory.
struct CoreParts {
    SerialPort& port;
    PortSelection& selection;
    LiveView& live;
    StatusView& status;
    ProgressView& progress;
    TableView& table;
    TickPeriods& ticks;
    FileSystem& files;
    MessageBox& messages;
    Printer& printer;
    // Where the table's scratch file goes; none when empty.
    std::string scratchFolder;
    // What "let pending events run once" does during a download.
    std::function<void()> processPendingEvents;
    // The status bar's time of day.
    std::function<std::string()> clock;
};

// The program's core, wired once: the serial link and its supervisor, the
// reply decoder, the record store, table and download, the status refresh and
// printing. The port's notification goes to the decoder; each tick of TICKS
// goes to tick().
class Core : private LiveReadings {
  public:
    explicit Core(CoreParts parts);
    ~Core() override;
    Core(const Core&) = delete;
    Core& operator=(const Core&) = delete;

    // Runs the handler of one tick.
    void tick(Tick tick);

    // Each live reading as values, after the live view has shown it.
    std::function<void(const DecodedReply&)> liveReadingTaken;

    RecordStore store;
    SerialLink link;
    RecordTable table;
    Download download;
    LinkSupervisor supervisor;
    LivePresenter presenter;
    ReplyDecoder decoder;
    StatusRefresh status;
    Printing printing;

  private:
    void showLiveReading(const DecodedReply& reading) override;

    SerialPort& port;
};

}  // namespace travenor
