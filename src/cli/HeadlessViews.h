#pragma once

#include <array>
#include <string>

#include "link/PortSelection.h"
#include "records/RecordViews.h"
#include "shell/Views.h"

namespace travenor {

// The views the core and the live presenter write, kept in memory where no
// window shows them.
class HeadlessViews : public PortSelection, public LiveView, public ProgressView, public TableView {
  public:
    std::string portText() const override { return port; }
    void showPort(int number) override { port = std::to_string(number); }

    void showPrimary(Phase phase, const std::string& text) override { primary[at(phase)] = text; }
    void showSecondary(Phase phase, const std::string& text) override {
        secondary[at(phase)] = text;
    }
    void showRatioError(Phase phase, const std::string& text) override {
        ratioError[at(phase)] = text;
    }
    void showSetRatio(const std::string& text) override { setRatio = text; }
    void showMeasuredRatio(const std::string& text) override { measuredRatio = text; }
    void showLowBattery(bool highVoltageUnit, bool lowVoltageUnit) override {
        highVoltageBatteryLow = highVoltageUnit;
        lowVoltageBatteryLow = lowVoltageUnit;
    }

    void showProgress(int) override {}
    void setProgressShown(bool) override {}

    std::string tableText() const override { return table; }
    void showTableText(const std::string& text) override { table = text; }
    std::string printText() const override { return print; }
    void setPrintText(const std::string& text) override { print = text; }

    std::string port = "1";
    std::array<std::string, 3> primary, secondary, ratioError;
    std::string setRatio, measuredRatio;
    bool highVoltageBatteryLow = false;
    bool lowVoltageBatteryLow = false;

  private:
    static std::size_t at(Phase phase) { return static_cast<std::size_t>(phase); }
    std::string table, print;
};

}  // namespace travenor
