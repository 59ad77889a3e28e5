#include "cli/RecordExport.h"

#include <cstdio>

#include "format/FillText.h"
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

std::string exportRecords(const RecordStore& store, ExportFormat format) {
    if (format == ExportFormat::Table)
        return RecordTable::tableText(store, RecordTable::DEFAULT_FIRST, RecordStore::LAST_SLOT) +
               "\r\n";
    std::string out = format == ExportFormat::Csv ? "NO,Ih,Ir,Is,It,F.Er,Ratio,CH\r\n" : "[";
    bool first = true;
    for (int n = 1; n <= RecordStore::LAST_SLOT; ++n) {
        if (store.isEmpty(n)) continue;
        const Record* r = store.read(n);
        if (r == nullptr || (r->Ih.empty() && n > RecordTable::DEFAULT_LAST)) continue;
        const std::string channel = channelLetter(r->CH);
        if (format == ExportFormat::Csv) {
            out += std::to_string(n);
            for (const std::string* field :
                 {&r->Ih, &r->Ir, &r->Is, &r->It, &r->FEr, &r->Ratio, &channel})
                out += "," + csvField(*field);
            out += "\r\n";
        } else {
            out += first ? "\n" : ",\n";
            out += "  {\"number\": " + std::to_string(n) + ", \"Ih\": " + jsonString(r->Ih) +
                   ", \"Ir\": " + jsonString(r->Ir) + ", \"Is\": " + jsonString(r->Is) +
                   ", \"It\": " + jsonString(r->It) + ", \"F.Er\": " + jsonString(r->FEr) +
                   ", \"Ratio\": " + jsonString(r->Ratio) + ", \"CH\": " + jsonString(channel) +
                   "}";
        }
        first = false;
    }
    if (format == ExportFormat::Json) out += first ? "]\n" : "\n]\n";
    return out;
}

}  // namespace travenor
