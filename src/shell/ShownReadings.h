#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "shell/Views.h"

namespace travenor {

// The live readings as the window would show them, kept in memory: for the
// command line, which prints them, and for tests.
class ShownReadings : public LiveView {
  public:
    // Per phase R, S, T.
    std::array<std::string, 3> primary, secondary, ratioError;
    std::string setRatio, measuredRatio;
    bool highVoltageBatteryLow = false;
    bool lowVoltageBatteryLow = false;

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

  private:
    static std::size_t at(Phase phase) { return static_cast<std::size_t>(phase); }
};

}  // namespace travenor
