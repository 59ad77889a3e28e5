#pragma once

#include <string>

#include "link/PortSelection.h"
#include "records/RecordViews.h"
#include "shell/ShownReadings.h"

namespace travenor {

// The views the core and the live presenter write, kept in memory where no
// window shows them.
class HeadlessViews : public PortSelection,
                      public ShownReadings,
                      public ProgressView,
                      public TableView {
  public:
    std::string portText() const override { return port; }
    void showPort(int number) override { port = std::to_string(number); }

    void showProgress(int) override {}
    void setProgressShown(bool) override {}

    std::string tableText() const override { return table; }
    void showTableText(const std::string& text) override { table = text; }
    std::string printText() const override { return print; }
    void setPrintText(const std::string& text) override { print = text; }

    std::string port = "1";

  private:
    std::string table, print;
};

}  // namespace travenor
