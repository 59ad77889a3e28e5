#pragma once

#include <functional>
#include <string>

#include "link/PortSelection.h"
#include "platform/Printer.h"
#include "records/RecordViews.h"
#include "shell/ShownReadings.h"
#include "shell/Views.h"

namespace travenor {

// The views the core writes, kept in memory where no window shows them.
class HeadlessViews : public PortSelection,
                      public ShownReadings,
                      public StatusView,
                      public ProgressView,
                      public TableView {
  public:
    std::string portText() const override { return port; }
    void showPort(int number) override { port = std::to_string(number); }

    void holdWindowSize() override {}
    void showStatusBar(const std::string&, const std::string&, const std::string&) override {}
    std::string connectionText() const override { return connection; }
    void showConnection(const std::string& text) override { connection = text; }
    void showPortName(const std::string&) override {}
    void showPortState(const std::string&) override {}
    void showActivity(const std::string&) override {}
    void enableRecordCommands(bool) override {}
    void enableProgress(bool) override {}

    void showProgress(int) override {
        if (progressed) progressed();
    }
    void setProgressShown(bool) override {}

    std::string tableText() const override { return table; }
    void showTableText(const std::string& text) override { table = text; }
    std::string printText() const override { return print; }
    void setPrintText(const std::string& text) override { print = text; }

    std::string port = "1";
    // Called whenever the download moves its progress bar.
    std::function<void()> progressed;

  private:
    std::string connection, table, print;
};

// No printer: the command line writes files, it does not print.
struct NoPrinter : Printer {
    bool choosePrinter() override { return false; }
    std::string printText(const std::string&) override { return "no printer"; }
};

}  // namespace travenor
