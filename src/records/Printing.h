#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace travenor {

class MessageBox;
class Printer;
class RecordTable;
class TableView;

// A print request carried from the print-range dialog to the print-request
// timer, and the printing of the table built for it.
class Printing {
  public:
    static constexpr const char* NOTHING_TO_PRINT =
        "There are no records to print: the file shown is not a record table.";

    Printing(RecordTable& table, const TableView& view, Printer& printer, MessageBox& messages);

    // OK of the print-range dialog. With printAll the range is the default
    // one; otherwise both texts must be record numbers. Returns the message
    // for an entry that is not one: no request is then pending.
    std::optional<std::string> acceptRange(bool printAll, const std::string& firstText,
                                           const std::string& lastText);
    // Cancel of the print-range dialog.
    void cancelRange();

    // Timer5, every 500 ms: carries out a pending request. A tick while a
    // request is being carried out (its printer dialog is open) does nothing.
    void printRequestCheck();
    // The printer dialog, then the print buffer to the chosen printer.
    void printRecords();

    bool isPrinting() const { return busy; }

    // The pending range (0 for a bound: its default) and whether a request waits.
    std::int16_t form2kai() const { return rangeFirst; }
    std::int16_t form2jie() const { return rangeLast; }
    bool form2dybiaozi() const { return pending; }

  private:
    RecordTable& table;
    const TableView& view;
    Printer& printer;
    MessageBox& messages;
    bool busy = false;
    std::int16_t rangeFirst = 0;
    std::int16_t rangeLast = 0;
    bool pending = false;
};

// A range entry as a record number: a decimal number, blanks around it
// allowed, a fraction rounded to the nearest whole number with a half going
// to the even one. Nothing for any other text or a number outside -32768 to
// 32767.
std::optional<std::int16_t> rangeNumber(const std::string& text);

}  // namespace travenor
