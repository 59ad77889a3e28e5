#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "link/Record.h"

namespace travenor {

// A line of a table that holds no record the program could have written.
struct UnreadLine {
    std::size_t line;  // from 1
    std::string reason;
};

// What a record table's text holds.
struct ReadTable {
    // Whether the text has the table's header line; a text without one is no
    // record table, and nothing else of it is read.
    bool isTable = false;
    // The records in the order of their lines, each with its number.
    std::vector<std::pair<int, Record>> records;
    std::vector<UnreadLine> unread;
};

// Reads the text of a record table as the program writes it (title, header,
// one fixed-width line per record), with CR LF or LF line ends, blank lines
// anywhere and any 8-bit text. A line is taken only when the record read
// from it makes exactly that line again; any other line is reported and
// left out, never guessed at. The set primary current, which the table does
// not show, is unknown in every record read.
ReadTable readRecordTable(std::string_view text);

// "line 7: ..." for the first few unread lines, "; " between them, and how
// many more there are.
std::string unreadSummary(const std::vector<UnreadLine>& unread, std::size_t most = 5);

}  // namespace travenor
