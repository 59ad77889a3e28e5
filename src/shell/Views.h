#pragma once

#include <string>

namespace travenor {

// The three phases, in the order the window lists them.
enum class Phase { R = 0, S = 1, T = 2 };
constexpr Phase PHASES[] = {Phase::R, Phase::S, Phase::T};

// The live readings: per phase the primary and secondary current and the
// ratio error, the set and measured ratio, and the two battery warnings.
class LiveView {
  public:
    virtual ~LiveView() = default;
    virtual void showPrimary(Phase phase, const std::string& text) = 0;
    virtual void showSecondary(Phase phase, const std::string& text) = 0;
    virtual void showRatioError(Phase phase, const std::string& text) = 0;
    virtual void showSetRatio(const std::string& text) = 0;
    virtual void showMeasuredRatio(const std::string& text) = 0;
    virtual void showLowBattery(bool highVoltageUnit, bool lowVoltageUnit) = 0;
};

// The status boxes, the status bar and what the user may do meanwhile.
class StatusView {
  public:
    virtual ~StatusView() = default;
    // Puts the window back to its fixed outer size, unless it is minimized or
    // maximized.
    virtual void holdWindowSize() = 0;
    // The status bar's three panels, left to right.
    virtual void showStatusBar(const std::string& connection, const std::string& maker,
                               const std::string& time) = 0;
    // The connection box as last shown.
    virtual std::string connectionText() const = 0;
    virtual void showConnection(const std::string& text) = 0;
    virtual void showPortName(const std::string& text) = 0;
    virtual void showPortState(const std::string& text) = 0;
    virtual void showActivity(const std::string& text) = 0;
    // Open, Read, Save and Clear.
    virtual void enableRecordCommands(bool enabled) = 0;
    virtual void enableProgress(bool enabled) = 0;
};

// The program's periodic ticks.
enum class Tick { Status, Discovery, Poll, Download, PrintRequest };

// Tick periods in milliseconds; 0 means stopped. Setting the period a tick
// already has leaves it running undisturbed.
class TickPeriods {
  public:
    virtual ~TickPeriods() = default;
    virtual int period(Tick tick) const = 0;
    virtual void setPeriod(Tick tick, int milliseconds) = 0;
};

}  // namespace travenor
