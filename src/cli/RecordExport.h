#pragma once

#include <string>

namespace travenor {

class RecordStore;

// The downloaded records as a script takes them. `table` is the table Save
// writes, with every stored record (1 to 4000); csv and json list the same
// records with the table's columns as the table shows them.
enum class ExportFormat { Table, Csv, Json };

std::string exportRecords(const RecordStore& store, ExportFormat format);

// One CSV field, quoted as RFC 4180 asks when it holds a comma, a quote or a
// line end.
std::string csvField(const std::string& text);
// A JSON string literal.
std::string jsonString(const std::string& text);

}  // namespace travenor
