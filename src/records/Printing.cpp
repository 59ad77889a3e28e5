#include "records/Printing.h"

#include <cctype>

#include "platform/MessageBox.h"
#include "platform/Printer.h"
#include "records/RecordTable.h"
#include "records/RecordViews.h"

namespace travenor {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::string rangeMessage(const char* which, const std::string& text) {
    return std::string("The ") + which + " record number \"" + text +
           "\" is not valid.\r\nEnter a whole number from -32768 to 32767.";
}

}  // namespace

std::optional<std::int16_t> rangeNumber(const std::string& text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;

    std::size_t i = begin;
    bool negative = false;
    if (i < end && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    long whole = 0;
    std::size_t digits = 0;
    for (; i < end && isDigit(text[i]); ++i, ++digits) {
        whole = whole * 10 + (text[i] - '0');
        if (whole > 100000) return std::nullopt;  // far outside the range already
    }
    // The fraction decides the rounding: above, below or exactly one half.
    int half = -1;
    if (i < end && text[i] == '.') {
        ++i;
        const std::size_t first = i;
        for (; i < end && isDigit(text[i]); ++i, ++digits) {
            if (i == first) {
                half = text[i] > '5' ? 1 : (text[i] == '5' ? 0 : -1);
            } else if (half == 0 && text[i] != '0') {
                half = 1;
            }
        }
    }
    if (digits == 0 || i != end) return std::nullopt;
    if (half > 0 || (half == 0 && whole % 2 == 1)) ++whole;
    const long value = negative ? -whole : whole;
    if (value < INT16_MIN || value > INT16_MAX) return std::nullopt;
    return static_cast<std::int16_t>(value);
}

Printing::Printing(RecordTable& table, const TableView& view, Printer& printer,
                   MessageBox& messages)
    : table(table), view(view), printer(printer), messages(messages) {}

std::optional<std::string> Printing::acceptRange(bool printAll, const std::string& firstText,
                                                 const std::string& lastText) {
    if (printAll) {
        rangeFirst = 0;
        rangeLast = 0;
    } else {
        // Nothing is left pending on a bad entry, and no old range is used.
        const auto first = rangeNumber(firstText);
        const auto last = rangeNumber(lastText);
        if (!first || !last) {
            pending = false;
            return !first ? rangeMessage("first", firstText) : rangeMessage("last", lastText);
        }
        rangeFirst = *first;
        rangeLast = *last;
    }
    pending = true;
    return std::nullopt;
}

void Printing::cancelRange() {
    pending = false;
}

void Printing::printRequestCheck() {
    if (!pending || busy) return;
    if (table.showsTextWithoutRecords()) {
        // The box shows no table, and rebuilding one would wipe what it shows.
        pending = false;
        messages.show(NOTHING_TO_PRINT, "Print");
        return;
    }
    busy = true;
    table.printBuffer(rangeFirst, rangeLast);
    printRecords();
    table.showTable();
    pending = false;
    busy = false;
}

void Printing::printRecords() {
    if (!printer.choosePrinter()) return;
    const std::string failure = printer.printText(view.printText());
    if (!failure.empty()) messages.show("The table was not printed:\r\n" + failure, "Print");
}

}  // namespace travenor
