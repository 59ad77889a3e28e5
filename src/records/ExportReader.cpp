#include "records/ExportReader.h"

#include <algorithm>
#include <map>
#include <set>

#include "format/CurrentText.h"
#include "records/RecordExport.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"

namespace travenor {

namespace {

// One row of cells by column name, and the line it starts on.
struct Row {
    std::size_t line = 0;
    std::map<std::string, std::string> cells;
};

struct Rows {
    bool recognised = false;
    std::vector<Row> rows;
    std::vector<UnreadLine> unread;  // rows that could not even be split
};

// RFC 4180: fields split at commas, quoted fields with doubled quotes,
// CR LF or LF line ends.
std::vector<std::string> csvFields(std::string_view line, bool& ok) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    ok = true;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (quoted) {
            if (c != '"') {
                fields.back() += c;
            } else if (i + 1 < line.size() && line[i + 1] == '"') {
                fields.back() += '"';
                ++i;
            } else {
                quoted = false;
            }
        } else if (c == ',') {
            fields.emplace_back();
        } else if (c == '"' && fields.back().empty()) {
            quoted = true;
        } else {
            fields.back() += c;
        }
    }
    ok = !quoted;
    return fields;
}

Rows csvRows(std::string_view text) {
    Rows out;
    std::vector<std::string> header;
    std::size_t lineNumber = 0;
    for (std::size_t begin = 0; begin < text.size();) {
        std::size_t end = text.find('\n', begin);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(begin, end - begin);
        begin = end + 1;
        ++lineNumber;
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty()) continue;
        bool ok = false;
        std::vector<std::string> fields = csvFields(line, ok);
        if (header.empty()) {
            if (!ok || fields.empty() || fields.front() != EXPORT_COLUMNS[0]) return out;
            header = std::move(fields);
            out.recognised = true;
            continue;
        }
        if (!ok || fields.size() != header.size()) {
            out.unread.push_back({lineNumber, "it holds " + std::to_string(fields.size()) +
                                                  " fields, not " + std::to_string(header.size())});
            continue;
        }
        Row row{lineNumber, {}};
        for (std::size_t i = 0; i < header.size(); ++i) row.cells[header[i]] = fields[i];
        out.rows.push_back(std::move(row));
    }
    return out;
}

// The JSON this program writes: an array of flat objects whose values are
// strings, numbers, true, false or null.
class JsonRows {
  public:
    explicit JsonRows(std::string_view text) : text_(text) {}

    Rows read() {
        Rows out;
        skipBlanks();
        if (!take('[')) return out;
        skipBlanks();
        if (take(']')) {
            out.recognised = true;
            return out;
        }
        for (;;) {
            skipBlanks();
            Row row{line_, {}};
            if (!object(row)) return out;
            out.rows.push_back(std::move(row));
            skipBlanks();
            if (take(']')) break;
            if (!take(',')) return out;
        }
        // An array of objects that know a record number is an export of ours.
        out.recognised = !out.rows.empty() && out.rows.front().cells.count(EXPORT_COLUMNS[0]) != 0;
        return out;
    }

  private:
    bool object(Row& row) {
        if (!take('{')) return false;
        skipBlanks();
        if (take('}')) return true;
        for (;;) {
            skipBlanks();
            std::string key;
            std::string value;
            if (!string(key)) return false;
            skipBlanks();
            if (!take(':')) return false;
            skipBlanks();
            if (!scalar(value)) return false;
            row.cells[key] = value;
            skipBlanks();
            if (take('}')) return true;
            if (!take(',')) return false;
        }
    }

    bool scalar(std::string& value) {
        if (at_ < text_.size() && text_[at_] == '"') return string(value);
        const std::size_t begin = at_;
        while (at_ < text_.size() &&
               std::string_view("+-.0123456789eEtruefalsn").find(text_[at_]) !=
                   std::string_view::npos)
            ++at_;
        value = text_.substr(begin, at_ - begin);
        if (value == "null") value.clear();
        return at_ > begin;
    }

    bool string(std::string& value) {
        if (!take('"')) return false;
        while (at_ < text_.size() && text_[at_] != '"') {
            char c = text_[at_++];
            if (c == '\\' && at_ < text_.size()) {
                c = text_[at_++];
                if (c == 'u') {
                    unsigned code = 0;
                    for (int i = 0; i < 4 && at_ < text_.size(); ++i) {
                        const char h = text_[at_++];
                        code = code * 16 +
                               static_cast<unsigned>(h <= '9' ? h - '0' : (h | 0x20) - 'a' + 10);
                    }
                    // Only the control characters are escaped this way.
                    if (code >= 0x80) return false;
                    c = static_cast<char>(code);
                } else if (c == 'n') {
                    c = '\n';
                } else if (c == 'r') {
                    c = '\r';
                } else if (c == 't') {
                    c = '\t';
                }
            }
            value += c;
        }
        return take('"');
    }

    bool take(char c) {
        if (at_ >= text_.size() || text_[at_] != c) return false;
        ++at_;
        return true;
    }

    void skipBlanks() {
        while (at_ < text_.size() &&
               std::string_view(" \t\r\n").find(text_[at_]) != std::string_view::npos) {
            if (text_[at_] == '\n') ++line_;
            ++at_;
        }
    }

    std::string_view text_;
    std::size_t at_ = 0;
    std::size_t line_ = 1;
};

// Digits with an optional point: the value and its decimals.
bool decimalOf(std::string_view text, std::int64_t& value, unsigned& decimals) {
    value = 0;
    decimals = 0;
    bool point = false;
    std::size_t digits = 0;
    for (const char c : text) {
        if (c == '.' && !point) {
            point = true;
        } else if (c >= '0' && c <= '9' && digits < 9) {
            value = value * 10 + (c - '0');
            decimals += point ? 1 : 0;
            ++digits;
        } else {
            return false;
        }
    }
    return digits > 0;
}

// A reading in amperes; the marker its status names where the cell is empty.
Current currentOf(const std::string& cell, const std::string& status, const std::string& reading) {
    if (cell.empty())
        return status.find(reading + " overload") != std::string::npos
                   ? Current{Current::OVERLOAD, 0x30}
                   : Current{Current::MEASURING_ERROR, 0x30};
    std::int64_t count = 0;
    unsigned decimals = 0;
    if (!decimalOf(cell, count, decimals) || decimals > 6 || count >= 65536) return {};
    // Up to three decimals in amperes, more in milliamperes.
    const auto code =
        static_cast<std::uint8_t>(decimals <= 3 ? 0x30 + decimals : 0x40 + decimals - 3);
    return {static_cast<std::uint16_t>(count), code};
}

std::optional<std::pair<int, Record>> recordOf(const Row& row, std::string& reason) {
    for (const char* column : EXPORT_COLUMNS)
        if (row.cells.count(column) == 0) {
            reason = std::string("it has no ") + column;
            return std::nullopt;
        }
    const auto cell = [&row](const char* column) -> const std::string& {
        return row.cells.at(column);
    };
    std::int64_t number = 0;
    unsigned decimals = 0;
    if (!decimalOf(cell("number"), number, decimals) || decimals > 0 ||
        number < RecordTable::DEFAULT_FIRST || number > RecordStore::LAST_SLOT) {
        reason = "\"" + cell("number") + "\" is not a record number from 1 to 4000";
        return std::nullopt;
    }
    const std::string& status = cell("status");
    Record record;
    record.slot = Record::Slot::Filled;
    record.primary = currentOf(cell("primary_A"), status, "primary");
    static constexpr const char* SECONDARIES[][2] = {{"secondary_R_A", "secondary R"},
                                                     {"secondary_S_A", "secondary S"},
                                                     {"secondary_T_A", "secondary T"}};
    for (std::size_t phase = 0; phase < 3; ++phase)
        record.secondary[phase] =
            currentOf(cell(SECONDARIES[phase][0]), status, SECONDARIES[phase][1]);
    const std::string& channel = cell("channel");
    record.channel = static_cast<std::int16_t>(channel == "R"   ? 0
                                               : channel == "S" ? 1
                                               : channel == "T" ? 2
                                                                : 3);
    std::int64_t value = 0;
    record.error = RatioError{RatioError::NONE};
    if (const std::string& error = cell("ratio_error_percent"); !error.empty()) {
        const bool negative = error.starts_with('-');
        if (decimalOf(std::string_view(error).substr(negative ? 1 : 0), value, decimals) &&
            decimals == 1 && value <= 127)
            record.error.byte = static_cast<std::uint8_t>(value | (negative ? 0 : 0x80));
    }
    if (decimalOf(cell("set_primary_A"), value, decimals) && decimals == 0 && value <= 32767)
        record.setPrimary = static_cast<std::int16_t>(value);
    if (decimalOf(cell("rated_secondary_A"), value, decimals) && decimals == 1 && value <= 255)
        record.ratio.rated = static_cast<std::uint8_t>(value);
    // The measured ratio as the row has it: worked out by the instrument's
    // range codes, which a reading in amperes no longer shows.
    record.ratio.inRange =
        decimalOf(cell("measured_ratio_primary_A"), value, decimals) && decimals == 0;
    record.ratio.primary = record.ratio.inRange ? value : 0;
    // Whatever was guessed above stands only if it writes the row again.
    const std::vector<std::string> again = exportCells(static_cast<int>(number), record);
    for (std::size_t i = 0; i < again.size(); ++i)
        if (again[i] != cell(EXPORT_COLUMNS[i])) {
            reason = std::string(EXPORT_COLUMNS[i]) + " \"" + cell(EXPORT_COLUMNS[i]) +
                     "\" is not a value the program writes there";
            return std::nullopt;
        }
    return std::pair<int, Record>{static_cast<int>(number), record};
}

}  // namespace

ReadTable readRecordExport(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    const std::size_t first = text.find_first_not_of(" \t\r\n");
    Rows rows = first != std::string_view::npos && text[first] == '[' ? JsonRows(text).read()
                                                                      : csvRows(text);
    ReadTable table;
    if (!rows.recognised) return table;
    table.isTable = true;
    table.unread = std::move(rows.unread);
    std::set<int> seen;
    for (const Row& row : rows.rows) {
        std::string reason;
        auto numbered = recordOf(row, reason);
        if (numbered && !seen.insert(numbered->first).second)
            reason = "record " + std::to_string(numbered->first) + " came before";
        if (!reason.empty())
            table.unread.push_back({row.line, reason});
        else
            table.records.push_back(std::move(*numbered));
    }
    std::sort(table.unread.begin(), table.unread.end(),
              [](const UnreadLine& a, const UnreadLine& b) { return a.line < b.line; });
    return table;
}

ReadTable readRecordFile(std::string_view text) {
    ReadTable table = readRecordTable(text);
    return table.isTable ? table : readRecordExport(text);
}

}  // namespace travenor
