#include "shell/LivePresenter.h"

#include <string>

#include "format/CurrentText.h"
#include "format/RatioText.h"
#include "link/DecodedReply.h"
#include "shell/Views.h"

namespace travenor {

LivePresenter::LivePresenter(LiveView& view) : view(view) {}

void LivePresenter::showLiveReading(const DecodedReply& reading) {
    for (const Phase phase : PHASES)
        view.showSecondary(phase, currentText(reading.secondary[static_cast<std::size_t>(phase)]));
    for (const Phase phase : PHASES) view.showPrimary(phase, NO_READING);
    // Channel 3 is the error marker: the ratio errors then stay as they were.
    if (reading.channel >= 0 && reading.channel <= 2) {
        for (const Phase phase : PHASES) {
            if (static_cast<int>(phase) == reading.channel) {
                view.showPrimary(phase, currentText(reading.primary));
                view.showRatioError(phase, ratioErrorText(reading.error));
            } else {
                view.showRatioError(phase, NO_ERROR);
            }
        }
    }
    view.showSetRatio("Set:" + setRatioText(reading.setPrimary, reading.rated));
    view.showMeasuredRatio("Rat:" + ratioText(reading.ratio));
    view.showLowBattery(reading.highVoltageBatteryLow, reading.lowVoltageBatteryLow);
}

void LivePresenter::showNoInstrument() {
    for (const Phase phase : PHASES) view.showPrimary(phase, NO_READING);
    for (const Phase phase : PHASES) view.showSecondary(phase, NO_READING);
    view.showSetRatio("Set:---/-.-A");
    view.showMeasuredRatio("Rat:---/-.-A");
}

}  // namespace travenor
