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
    // The ratio is left as it was: an empty slot is known by its mark alone.
    const MeasuredRatio ratio = records[static_cast<std::size_t>(n)].ratio;
    Record& slot = records[static_cast<std::size_t>(n)];
    slot = Record{};
    slot.slot = Record::Slot::Emptied;
    slot.ratio = ratio;
    return true;
}

void RecordStore::markAllEmpty() {
    for (int n = FIRST_SLOT; n <= LAST_SLOT; ++n) markEmpty(n);
}

const Record* RecordStore::read(int n) const {
    return hasSlot(n) ? &records[static_cast<std::size_t>(n)] : nullptr;
}

bool RecordStore::isEmpty(int n) const {
    const Record* slot = read(n);
    return slot != nullptr && slot->slot == Record::Slot::Emptied;
}

}  // namespace travenor
