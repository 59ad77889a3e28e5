#include "records/RecordStore.h"

#include <utility>

namespace travenor {

RecordStore::RecordStore() : records(LAST_SLOT + 1) {}

bool RecordStore::store(int n, Record record) {
    if (!hasSlot(n)) return false;
    records[static_cast<std::size_t>(n)] = std::move(record);
    return true;
}

bool RecordStore::markEmpty(int n) {
    if (!hasSlot(n)) return false;
    // The Ratio column is left as it was: an empty slot is known by Ih alone.
    Record& slot = records[static_cast<std::size_t>(n)];
    slot.Ih = EMPTY_SLOT;
    slot.Ir = EMPTY_SLOT;
    slot.Is = EMPTY_SLOT;
    slot.It = EMPTY_SLOT;
    slot.FEr = "0";
    slot.CH = 0;
    return true;
}

const Record* RecordStore::read(int n) const {
    return hasSlot(n) ? &records[static_cast<std::size_t>(n)] : nullptr;
}

bool RecordStore::isEmpty(int n) const {
    const Record* slot = read(n);
    return slot != nullptr && slot->Ih == EMPTY_SLOT;
}

}  // namespace travenor
