#include "shell/LivePresenter.h"

#include <string>

#include "format/NumberText.h"
#include "shell/Views.h"

namespace travenor {

LivePresenter::LivePresenter(LiveView& view) : view(view) {}

void LivePresenter::showLiveReading(const DecodedReply& reading) {
    view.showSecondary(Phase::R, reading.secondaryR);
    view.showSecondary(Phase::S, reading.secondaryS);
    view.showSecondary(Phase::T, reading.secondaryT);
    for (const Phase phase : PHASES) view.showPrimary(phase, NO_READING);
    // Channel 3 is the error marker: the ratio errors then stay as they were.
    if (reading.channel >= 0 && reading.channel <= 2) {
        for (const Phase phase : PHASES) {
            if (static_cast<int>(phase) == reading.channel) {
                view.showPrimary(phase, reading.primary);
                view.showRatioError(phase, reading.errorText);
            } else {
                view.showRatioError(phase, NO_ERROR);
            }
        }
    }
    view.showSetRatio("Set:" + std::to_string(reading.setPrimary) + "/" +
                      tenthsText(reading.rated) + "A");
    view.showMeasuredRatio("Rat:" + reading.ratio);
    view.showLowBattery(reading.highVoltageBatteryLow, reading.lowVoltageBatteryLow);
}

void LivePresenter::showNoInstrument() {
    for (const Phase phase : PHASES) view.showPrimary(phase, NO_READING);
    for (const Phase phase : PHASES) view.showSecondary(phase, NO_READING);
    view.showSetRatio("Set:---/-.-A");
    view.showMeasuredRatio("Rat:---/-.-A");
}

}  // namespace travenor
