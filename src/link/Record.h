#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "format/Values.h"

namespace travenor {

// The texts of one stored record, as the table shows them: the six value
// texts and the channel index.
struct RecordTexts {
    std::string Ih;
    std::string Ir;
    std::string Is;
    std::string It;
    std::string FEr;  // the "F.Er" column
    std::string Ratio;
    std::int16_t CH = 0;

    bool operator==(const RecordTexts&) const = default;
};

// The mark of an empty slot, in the Ih column.
inline constexpr const char* EMPTY_SLOT = "30000";

// One stored record as values: what the instrument measured, and the set
// ratio it measured against.
struct Record {
    // A slot never written holds empty texts; an emptied one holds the
    // empty-slot mark; a filled one a record.
    enum class Slot : std::uint8_t { Blank, Emptied, Filled };

    Slot slot = Slot::Blank;
    Current primary;
    std::array<Current, 3> secondary{};  // phases R, S, T
    RatioError error;
    MeasuredRatio ratio;
    std::int16_t channel = 0;
    // The set primary current in amperes; unknown for a record read from a
    // table, which does not show it.
    std::optional<std::int16_t> setPrimary;

    // The texts of the table's columns.
    RecordTexts texts() const;
    // The rated secondary current of the set ratio, in tenths of an ampere.
    std::uint8_t rated() const { return ratio.rated; }

    bool operator==(const Record&) const = default;
};

}  // namespace travenor
