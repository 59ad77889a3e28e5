#pragma once

#include "link/DecodedReply.h"

namespace travenor {

// Where the live readings go once decoded. The receiver decides how they are
// shown; the link only delivers them, one whole reading per call.
class LiveReadings {
  public:
    virtual ~LiveReadings() = default;
    virtual void showLiveReading(const DecodedReply& reading) = 0;
};

}  // namespace travenor
