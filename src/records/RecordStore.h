#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "link/Record.h"

namespace travenor {

// The records read from the instrument, by record number: records 0 to 4000.
// Every operation checks the slot number; a number outside the records is
// refused (false / nullptr) and nothing changes.
class RecordStore {
  public:
    static constexpr int FIRST_SLOT = 0;
    static constexpr int LAST_SLOT = 4000;

    RecordStore();

    static bool hasSlot(int n) { return n >= FIRST_SLOT && n <= LAST_SLOT; }

    bool store(int n, Record record);
    bool markEmpty(int n);
    // Marks every slot, 0 to 4000, empty.
    void markAllEmpty();
    const Record* read(int n) const;
    bool isEmpty(int n) const;

  private:
    std::vector<Record> records;
};

}  // namespace travenor
