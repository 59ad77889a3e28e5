#pragma once

#include <set>
#include <string>
#include <utility>
#include <vector>

#include "link/Record.h"

namespace travenor {

class RecordStore;

// The records as a script takes them. `table` is the table Save writes, with
// every stored record (1 to 4000); csv and json carry the same records as
// numbers: one row (object) per record with the columns of EXPORT_COLUMNS.
enum class ExportFormat { Table, Csv, Json };

// number, channel (R, S, T; empty for no phase), the currents in amperes,
// the ratio error in percent, the set ratio's primary and rated secondary
// current, the measured ratio's primary current, and the status: why a value
// is missing, "; " between the reasons, empty when every value is there.
inline constexpr const char* EXPORT_COLUMNS[] = {"number",
                                                 "channel",
                                                 "primary_A",
                                                 "secondary_R_A",
                                                 "secondary_S_A",
                                                 "secondary_T_A",
                                                 "ratio_error_percent",
                                                 "set_primary_A",
                                                 "rated_secondary_A",
                                                 "measured_ratio_primary_A",
                                                 "status"};

// One record's cells in the order of EXPORT_COLUMNS: plain decimals with "."
// in SI units, exactly the instrument's value; empty where there is none.
std::vector<std::string> exportCells(int number, const Record& record);

// Why values of the record are missing: "primary overload", "secondary S
// measuring error", "no ratio error", "ratio out of range", "no phase".
std::string recordStatus(const Record& record);

std::string exportRecords(const RecordStore& store, ExportFormat format);

// Rows of cells under their columns as CSV (a header line, CR LF ends) or a
// JSON array of objects: the columns named in textColumns as strings, the
// others as numbers, an empty cell as null (status and reason stay "").
std::string writeRows(const std::vector<std::string>& columns,
                      const std::vector<std::vector<std::string>>& rows, bool csv,
                      const std::set<std::string>& textColumns);

struct ClassReport;

// A report's verdicts as CSV or JSON, a row per record: the record export's
// columns, then percent_of_rated, limit_percent, verdict ("pass", "fail",
// "not evaluated") and reason.
std::string exportVerdicts(const ClassReport& report, bool csv);

// The filled slots 1 to 4000, by number.
std::vector<std::pair<int, const Record*>> filledRecords(const RecordStore& store);

// One CSV field, quoted as RFC 4180 asks when it holds a comma, a quote or a
// line end.
std::string csvField(const std::string& text);
// A JSON string literal.
std::string jsonString(const std::string& text);

}  // namespace travenor
