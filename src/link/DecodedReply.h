#pragma once

#include <cstdint>

#include "link/Record.h"
#include "link/ReplyFrame.h"

namespace travenor {

// Everything made from one valid reply frame, whatever its kind, as values.
struct DecodedReply {
    Current primary;
    std::array<Current, 3> secondary{};  // phases R, S, T
    std::int32_t recordNumber = 0;
    RatioError error;
    std::int16_t setPrimary = 0;
    std::uint8_t rated = 0;  // tenths of an ampere
    bool highVoltageBatteryLow = false;
    bool lowVoltageBatteryLow = false;
    int channel = 0;  // 3 when the primary reading is the error marker
    MeasuredRatio ratio;
    std::uint8_t kind = 0;

    static DecodedReply from(const ReplyFrame& frame);
    // The record a Record frame files.
    Record record() const {
        return {Record::Slot::Filled,
                primary,
                secondary,
                error,
                ratio,
                static_cast<std::int16_t>(channel),
                setPrimary};
    }
};

}  // namespace travenor
