#include "records/RecordExport.h"

#include <cstdio>

#include "format/CurrentText.h"
#include "format/FillText.h"
#include "format/RatioText.h"
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
constexpr std::size_t CHANNEL = 1;
constexpr std::size_t STATUS = COLUMNS - 1;

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

std::string exportRecords(const RecordStore& store, ExportFormat format) {
    if (format == ExportFormat::Table)
        return RecordTable::tableText(store, RecordTable::DEFAULT_FIRST, RecordStore::LAST_SLOT) +
               "\r\n";
    const bool csv = format == ExportFormat::Csv;
    std::string out;
    if (csv) {
        for (std::size_t i = 0; i < COLUMNS; ++i)
            out += (i > 0 ? "," : "") + std::string(EXPORT_COLUMNS[i]);
        out += "\r\n";
    } else {
        out = "[";
    }
    bool first = true;
    for (int n = RecordTable::DEFAULT_FIRST; n <= RecordStore::LAST_SLOT; ++n) {
        const Record* record = store.read(n);
        if (record == nullptr || record->slot != Record::Slot::Filled) continue;
        const std::vector<std::string> cells = exportCells(n, *record);
        if (csv) {
            for (std::size_t i = 0; i < COLUMNS; ++i)
                out += (i > 0 ? "," : "") + csvField(cells[i]);
            out += "\r\n";
        } else {
            out += first ? "\n  {" : ",\n  {";
            for (std::size_t i = 0; i < COLUMNS; ++i) {
                out += (i > 0 ? ", " : "") + jsonString(EXPORT_COLUMNS[i]) + ": ";
                // Numbers as JSON numbers, texts as strings, no value as null.
                if (i == STATUS || (i == CHANNEL && !cells[i].empty()))
                    out += jsonString(cells[i]);
                else
                    out += cells[i].empty() ? "null" : cells[i];
            }
            out += "}";
        }
        first = false;
    }
    if (!csv) out += first ? "]\n" : "\n]\n";
    return out;
}

}  // namespace travenor
