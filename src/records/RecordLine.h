#pragma once

#include <optional>
#include <string>

#include "records/RecordStore.h"

namespace travenor {

// The fixed-width table line of record n, or nothing when n has no slot.
// A text that fills its field, or is longer than it, is written whole after
// one blank and moves the rest of the line right.
std::optional<std::string> recordLine(const RecordStore& store, int n);
// The line of record n as it stands, whatever its number.
std::string recordLine(int n, const Record& record);

}  // namespace travenor
