#pragma once

#include <array>
#include <map>
#include <string>

#include "link/PortSelection.h"
#include "records/RecordViews.h"
#include "shell/ShownReadings.h"
#include "shell/Views.h"

namespace travenor::test {

// Every view of the window as plain fields: remembers what was shown. The
// live readings are ShownReadings' fields.
class FakeViews : public PortSelection,
                  public ShownReadings,
                  public StatusView,
                  public ProgressView,
                  public TableView,
                  public TickPeriods {
  public:
    // Port box.
    std::string port = "1";
    // Status.
    int sizeHolds = 0;
    std::array<std::string, 3> statusBar;
    std::string connection;
    std::string portName, portState, activity;
    bool recordCommandsEnabled = true;
    bool progressEnabled = true;
    // Download progress and the record table.
    int progress = 0;
    bool progressShown = false;
    std::string table, print;
    std::map<Tick, int> periods;

    std::string portText() const override { return port; }
    void showPort(int number) override { port = std::to_string(number); }

    void holdWindowSize() override { ++sizeHolds; }
    void showStatusBar(const std::string& first, const std::string& second,
                       const std::string& third) override {
        statusBar = {first, second, third};
    }
    std::string connectionText() const override { return connection; }
    void showConnection(const std::string& text) override { connection = text; }
    void showPortName(const std::string& text) override { portName = text; }
    void showPortState(const std::string& text) override { portState = text; }
    void showActivity(const std::string& text) override { activity = text; }
    void enableRecordCommands(bool enabled) override { recordCommandsEnabled = enabled; }
    void enableProgress(bool enabled) override { progressEnabled = enabled; }

    void showProgress(int percent) override { progress = percent; }
    void setProgressShown(bool shown) override { progressShown = shown; }

    std::string tableText() const override { return table; }
    void showTableText(const std::string& text) override { table = text; }
    std::string printText() const override { return print; }
    void setPrintText(const std::string& text) override { print = text; }

    int period(Tick tick) const override {
        const auto it = periods.find(tick);
        return it == periods.end() ? 0 : it->second;
    }
    void setPeriod(Tick tick, int milliseconds) override { periods[tick] = milliseconds; }
};

}  // namespace travenor::test
