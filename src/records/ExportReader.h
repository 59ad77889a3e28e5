#pragma once

#include <string_view>

#include "records/TableReader.h"

namespace travenor {

// Reads the records of a CSV or JSON export this program wrote (download,
// convert or report with --format csv or json): the columns of the record
// export, in any order, further columns ignored. A row is taken only when
// the record read from it gives exactly that row's cells again; any other
// row is reported with its line and left out. `isTable` says whether the
// text is such an export at all. The set primary current is known where
// the row has it.
ReadTable readRecordExport(std::string_view text);

// A saved record table, else an export of ours.
ReadTable readRecordFile(std::string_view text);

}  // namespace travenor
