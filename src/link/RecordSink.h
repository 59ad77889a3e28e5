#pragma once

#include <cstdint>

#include "link/Record.h"

namespace travenor {

// Where the download replies go, in the order they come off the line; the
// record download implements it. Nothing here is checked against a request:
// a reply may answer an older one, or come when no download runs.
class RecordSink {
  public:
    virtual ~RecordSink() = default;
    // The instrument holds `count` records.
    virtual void acceptRecordCount(std::int32_t count) = 0;
    // Record `number`, as the instrument stores it.
    virtual void acceptRecord(std::int32_t number, const Record& record) = 0;
    // The instrument has no record under the number asked for.
    virtual void endOfRecords() = 0;
};

}  // namespace travenor
