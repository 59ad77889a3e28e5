#pragma once

#include <string>

namespace travenor {

// The printer dialog and the print job.
class Printer {
  public:
    virtual ~Printer() = default;

    // Shows the modal printer dialog (no page-range choice); false when the
    // user cancelled it.
    virtual bool choosePrinter() = 0;
    // Prints the text on the chosen printer as plain lines (CR LF or LF
    // ends) in the table's fixed-pitch face, no header, no page numbers, as
    // many pages as it takes. Empty when printed, else why not.
    virtual std::string printText(const std::string& text) = 0;
};

}  // namespace travenor
