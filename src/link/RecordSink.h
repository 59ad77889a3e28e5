#pragma once

#include <cstdint>

#include "link/Record.h"

namespace travenor {

// Where the download replies go: the record download implements it.
class RecordSink {
  public:
    virtual ~RecordSink() = default;
    virtual void acceptRecordCount(std::int32_t count) = 0;
    virtual void acceptRecord(std::int32_t number, const Record& record) = 0;
    virtual void endOfRecords() = 0;
};

}  // namespace travenor
