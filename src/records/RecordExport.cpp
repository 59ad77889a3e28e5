#include "records/RecordExport.h"

#include <cstdio>
#include <set>

#include "format/CurrentText.h"
#include "format/FillText.h"
#include "format/NumberText.h"
#include "format/RatioText.h"
#include "records/ClassReport.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"

namespace travenor {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::string jsonString(const std::string& text) {
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
            out += escaped;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

namespace {

constexpr const char* PHASE_NAMES[] = {"R", "S", "T"};
constexpr std::size_t COLUMNS = std::size(EXPORT_COLUMNS);

bool hasPhase(const Record& record) {
    return record.channel >= 0 && record.channel <= 2;
}

void addMarker(std::string& status, const std::string& reading, const Current& current) {
    const char* marker = current.isOverload()         ? " overload"
                         : current.isMeasuringError() ? " measuring error"
                                                      : nullptr;
    if (marker == nullptr) return;
    status += (status.empty() ? "" : "; ") + reading + marker;
}

}  // namespace

std::string recordStatus(const Record& record) {
    std::string status;
    addMarker(status, "primary", record.primary);
    for (std::size_t phase = 0; phase < 3; ++phase)
        addMarker(status, std::string("secondary ") + PHASE_NAMES[phase], record.secondary[phase]);
    const auto add = [&status](const char* reason) {
        status += (status.empty() ? "" : "; ") + std::string(reason);
    };
    if (!record.error.present()) add("no ratio error");
    if (!record.ratio.inRange) add("ratio out of range");
    if (!hasPhase(record)) add("no phase");
    return status;
}

std::vector<std::string> exportCells(int number, const Record& record) {
    std::vector<std::string> cells;
    cells.reserve(COLUMNS);
    cells.push_back(std::to_string(number));
    cells.push_back(hasPhase(record) ? PHASE_NAMES[record.channel] : "");
    cells.push_back(amperesText(record.primary));
    for (const Current& secondary : record.secondary) cells.push_back(amperesText(secondary));
    cells.push_back(percentText(record.error));
    cells.push_back(record.setPrimary ? std::to_string(*record.setPrimary) : "");
    cells.push_back(ratedAmperesText(record.rated()));
    cells.push_back(record.ratio.inRange ? std::to_string(record.ratio.primary) : "");
    cells.push_back(recordStatus(record));
    return cells;
}

std::string writeRows(const std::vector<std::string>& columns,
                      const std::vector<std::vector<std::string>>& rows, bool csv,
                      const std::set<std::string>& textColumns) {
    std::string out;
    if (csv) {
        for (std::size_t i = 0; i < columns.size(); ++i) out += (i > 0 ? "," : "") + columns[i];
        out += "\r\n";
        for (const auto& cells : rows) {
            for (std::size_t i = 0; i < cells.size(); ++i)
                out += (i > 0 ? "," : "") + csvField(cells[i]);
            out += "\r\n";
        }
        return out;
    }
    out = "[";
    for (std::size_t row = 0; row < rows.size(); ++row) {
        out += row == 0 ? "\n  {" : ",\n  {";
        const auto& cells = rows[row];
        for (std::size_t i = 0; i < cells.size(); ++i) {
            out += (i > 0 ? ", " : "") + jsonString(columns[i]) + ": ";
            // Numbers as JSON numbers, texts as strings, no value as null.
            if (cells[i].empty() && columns[i] != "status" && columns[i] != "reason")
                out += "null";
            else if (textColumns.count(columns[i]) != 0)
                out += jsonString(cells[i]);
            else
                out += cells[i];
        }
        out += "}";
    }
    return out + (rows.empty() ? "]\n" : "\n]\n");
}

std::vector<std::pair<int, const Record*>> filledRecords(const RecordStore& store) {
    std::vector<std::pair<int, const Record*>> filled;
    for (int n = RecordTable::DEFAULT_FIRST; n <= RecordStore::LAST_SLOT; ++n) {
        const Record* record = store.read(n);
        if (record != nullptr && record->slot == Record::Slot::Filled)
            filled.emplace_back(n, record);
    }
    return filled;
}

std::string exportRecords(const RecordStore& store, ExportFormat format) {
    if (format == ExportFormat::Table)
        return RecordTable::tableText(store, RecordTable::DEFAULT_FIRST, RecordStore::LAST_SLOT) +
               "\r\n";
    std::vector<std::vector<std::string>> rows;
    for (const auto& [n, record] : filledRecords(store)) rows.push_back(exportCells(n, *record));
    return writeRows({std::begin(EXPORT_COLUMNS), std::end(EXPORT_COLUMNS)}, rows,
                     format == ExportFormat::Csv, {"channel", "status"});
}

std::string exportVerdicts(const ClassReport& report, bool csv) {
    std::vector<std::string> columns(std::begin(EXPORT_COLUMNS), std::end(EXPORT_COLUMNS));
    for (const char* column : {"percent_of_rated", "limit_percent", "verdict", "reason"})
        columns.emplace_back(column);
    std::vector<std::vector<std::string>> rows;
    for (const ReportRow& row : report.rows) {
        const Judgement& j = row.judgement;
        std::vector<std::string> cells = exportCells(row.number, row.record);
        cells.push_back(j.percentOfRated ? decimalText(*j.percentOfRated, 4) : "");
        cells.push_back(j.limit ? j.limit->percentText() : "");
        cells.push_back(verdictName(j.verdict));
        cells.push_back(j.reason);
        rows.push_back(std::move(cells));
    }
    return writeRows(columns, rows, csv, {"channel", "status", "verdict", "reason"});
}

}  // namespace travenor
