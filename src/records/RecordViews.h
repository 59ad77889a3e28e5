#pragma once

#include <string>

namespace travenor {

// The download's progress bar.
class ProgressView {
  public:
    virtual ~ProgressView() = default;
    // The bar's value, 0 to 100; shown or not, it keeps it.
    virtual void showProgress(int percent) = 0;
    virtual void setProgressShown(bool shown) = 0;
};

// The record table as the user sees it (the table box) and as it goes to the
// printer (the print buffer, never shown). Texts come and go with CR LF line
// ends.
class TableView {
  public:
    virtual ~TableView() = default;
    virtual std::string tableText() const = 0;
    virtual void showTableText(const std::string& text) = 0;
    virtual std::string printText() const = 0;
    virtual void setPrintText(const std::string& text) = 0;
};

}  // namespace travenor
