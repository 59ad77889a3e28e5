#pragma once

#include <cstdint>
#include <cstdlib>
#include <optional>

#include "link/Record.h"

namespace travenor::test {

// A record as the instrument files it: a primary current in tenths of an
// ampere on one phase (3: none), 5.000 A on every secondary, the ratio error
// in signed tenths of a percent (none for nullopt), set to setPrimary/5A.
inline Record fieldRecord(int channel, unsigned primaryTenths, std::optional<int> errorTenths,
                          std::optional<std::int16_t> setPrimary = 600) {
    Record r;
    r.slot = Record::Slot::Filled;
    r.channel = static_cast<std::int16_t>(channel);
    r.primary = {static_cast<std::uint16_t>(primaryTenths), 0x31};
    r.secondary.fill({5000, 0x33});
    r.error.byte =
        !errorTenths
            ? RatioError::NONE
            : static_cast<std::uint8_t>(std::abs(*errorTenths) | (*errorTenths > 0 ? 0x80 : 0));
    r.ratio =
        channel <= 2 ? measuredRatio(r.primary, r.secondary[0], 50) : MeasuredRatio{false, 0, 50};
    r.setPrimary = setPrimary;
    return r;
}

}  // namespace travenor::test
