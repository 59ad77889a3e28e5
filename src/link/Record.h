#pragma once

#include <cstdint>
#include <string>

namespace travenor {

// One stored record as the user reads it: six texts and the channel index.
struct Record {
    std::string Ih;
    std::string Ir;
    std::string Is;
    std::string It;
    std::string FEr;  // the "F.Er" column
    std::string Ratio;
    std::int16_t CH = 0;

    bool operator==(const Record&) const = default;
};

}  // namespace travenor
