#pragma once

#include <functional>

#include "link/PortSelection.h"
#include "records/RecordViews.h"
#include "shell/Views.h"

namespace travenor {

class MainWindow;

// The main window in the roles the program speaks to: the port box, the live
// readings, the status, the download's progress and the record table.
class WindowViews : public PortSelection,
                    public LiveView,
                    public StatusView,
                    public ProgressView,
                    public TableView {
  public:
    explicit WindowViews(MainWindow& window);

    // The port box and the port status tell, as their tooltip, the device a
    // port number stands for.
    void tellPortDevices(std::function<std::string(int)> deviceFor);

    std::string portText() const override;
    void showPort(int number) override;

    void showPrimary(Phase phase, const std::string& text) override;
    void showSecondary(Phase phase, const std::string& text) override;
    void showRatioError(Phase phase, const std::string& text) override;
    void showSetRatio(const std::string& text) override;
    void showMeasuredRatio(const std::string& text) override;
    void showLowBattery(bool highVoltageUnit, bool lowVoltageUnit) override;

    void holdWindowSize() override;
    void showStatusBar(const std::string& connection, const std::string& maker,
                       const std::string& time) override;
    std::string connectionText() const override;
    void showConnection(const std::string& text) override;
    void showPortName(const std::string& text) override;
    void showPortState(const std::string& text) override;
    void showActivity(const std::string& text) override;
    void enableRecordCommands(bool enabled) override;
    void enableProgress(bool enabled) override;

    void showProgress(int percent) override;
    void setProgressShown(bool shown) override;

    std::string tableText() const override;
    void showTableText(const std::string& text) override;
    std::string printText() const override;
    void setPrintText(const std::string& text) override;

  private:
    MainWindow& window;
};

}  // namespace travenor
