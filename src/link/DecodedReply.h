#pragma once

#include <cstdint>
#include <string>

#include "link/ReplyFrame.h"
#include "link/Record.h"

namespace travenor {

// Everything made from one valid reply frame, whatever its kind.
struct DecodedReply {
    std::string primary;
    std::string secondaryR;
    std::string secondaryS;
    std::string secondaryT;
    std::int32_t recordNumber = 0;
    std::string errorText;
    std::int16_t setPrimary = 0;
    std::uint8_t rated = 0;  // tenths of an ampere
    bool highVoltageBatteryLow = false;
    bool lowVoltageBatteryLow = false;
    int channel = 0;  // 3 when the primary reading is the error marker
    std::string ratio;
    std::uint8_t kind = 0;

    static DecodedReply from(const ReplyFrame& frame);
    // The record a Record frame files: the six texts and the channel.
    Record record() const {
        return {primary,
                secondaryR,
                secondaryS,
                secondaryT,
                errorText,
                ratio,
                static_cast<std::int16_t>(channel)};
    }
};

}  // namespace travenor
