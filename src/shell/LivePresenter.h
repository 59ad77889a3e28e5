#pragma once

#include "link/LiveReadings.h"

namespace travenor {

class LiveView;

// Turns decoded live readings into the texts the window shows, and shows
// the blank readings while no instrument answers.
class LivePresenter : public LiveReadings {
  public:
    static constexpr const char* NO_READING = "- - - -";
    static constexpr const char* NO_ERROR = "0.0%";

    explicit LivePresenter(LiveView& view);

    // Only the phase the high-voltage unit measures has a primary current and
    // a ratio error; the others show none.
    void showLiveReading(const DecodedReply& reading) override;
    void showNoInstrument();

  private:
    LiveView& view;
};

}  // namespace travenor
