#include "records/TableReader.h"

#include <set>

#include "format/CurrentText.h"
#include "format/RatioText.h"
#include "records/RecordLine.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"

namespace travenor {

namespace {

std::string_view trimmedRight(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\r' || line.back() == '\t'))
        line.remove_suffix(1);
    return line;
}

bool isBlank(std::string_view line) {
    return trimmedRight(line).empty();
}

std::vector<std::string_view> words(std::string_view line) {
    std::vector<std::string_view> found;
    std::size_t at = 0;
    while (at < line.size()) {
        while (at < line.size() && line[at] == ' ') ++at;
        const std::size_t begin = at;
        while (at < line.size() && line[at] != ' ') ++at;
        if (at > begin) found.push_back(line.substr(begin, at - begin));
    }
    return found;
}

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

// The record of one line, or why there is none.
std::pair<int, Record> recordOf(std::string_view line, std::string& reason) {
    const std::vector<std::string_view> w = words(line);
    const std::string_view number = w.empty() ? std::string_view() : w[0];
    int n = -1;
    if (number.size() == 7 && number.starts_with("NO.")) {
        n = 0;
        for (const char c : number.substr(3))
            n = c >= '0' && c <= '9' ? n * 10 + (c - '0') : -1000000;
    }
    if (n < 0) {
        reason = "it is not a record line";
        return {};
    }
    if (n < RecordTable::DEFAULT_FIRST || n > RecordStore::LAST_SLOT) {
        reason = "record number " + std::to_string(n) + " is outside 1 to 4000";
        return {};
    }
    // Seven values after the number; a record of no phase ends in "- -".
    const bool noPhase = w.size() == 9 && w[7] == "-" && w[8] == "-";
    if (w.size() != 8 && !noPhase) {
        reason = "it holds " + std::to_string(w.size() - 1) +
                 (w.size() == 2 ? " field" : " fields") + ", not 7";
        return {};
    }
    Record record;
    record.slot = Record::Slot::Filled;
    for (std::size_t i = 0; i < 4; ++i) {
        const std::string_view text = w[i + 1] == "OL" ? std::string_view(OVERLOAD_TEXT) : w[i + 1];
        const auto current = currentFromText(text);
        if (!current) {
            reason = quoted(w[i + 1]) + " is not a current";
            return {};
        }
        (i == 0 ? record.primary : record.secondary[i - 1]) = *current;
    }
    const auto error = ratioErrorFromText(w[5]);
    if (!error) {
        reason = quoted(w[5]) + " is not a ratio error";
        return {};
    }
    record.error = *error;
    const auto ratio = ratioFromText(w[6]);
    if (!ratio) {
        reason = quoted(w[6]) + " is not a ratio";
        return {};
    }
    record.ratio = *ratio;
    if (noPhase) {
        record.channel = 3;
    } else if (w[7] == "R" || w[7] == "S" || w[7] == "T") {
        record.channel = static_cast<std::int16_t>(w[7] == "R" ? 0 : w[7] == "S" ? 1 : 2);
    } else {
        reason = quoted(w[7]) + " is not a phase";
        return {};
    }
    if (recordLine(n, record) != line) {
        reason = "its columns are not where the table puts them";
        return {};
    }
    return {n, record};
}

}  // namespace

ReadTable readRecordTable(std::string_view text) {
    ReadTable table;
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const std::string_view header = trimmedRight(RecordTable::HEADER_LINE);
    const std::string_view title = trimmedRight(RecordTable::TITLE_LINE);
    std::set<int> seen;
    std::size_t lineNumber = 0;
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = trimmedRight(text.substr(begin, end - begin));
        begin = end + 1;
        ++lineNumber;
        if (line == header) {
            table.isTable = true;
            continue;
        }
        // Before the header comes the title; blank lines may come anywhere.
        if (!table.isTable || isBlank(line) || line == title) continue;
        std::string reason;
        auto numbered = recordOf(line, reason);
        if (reason.empty() && !seen.insert(numbered.first).second)
            reason = "record " + std::to_string(numbered.first) + " came before";
        if (!reason.empty()) {
            table.unread.push_back({lineNumber, reason});
            continue;
        }
        table.records.push_back(std::move(numbered));
    }
    if (!table.isTable) {
        table.records.clear();
        table.unread.clear();
    }
    return table;
}

std::string unreadSummary(const std::vector<UnreadLine>& unread, std::size_t most) {
    std::string text;
    for (std::size_t i = 0; i < unread.size() && i < most; ++i) {
        if (i > 0) text += "; ";
        text += "line " + std::to_string(unread[i].line) + ": " + unread[i].reason;
    }
    if (unread.size() > most) text += "; and " + std::to_string(unread.size() - most) + " more";
    return text;
}

}  // namespace travenor
