#include "link/Record.h"

#include "format/CurrentText.h"
#include "format/RatioText.h"

namespace travenor {

RecordTexts Record::texts() const {
    switch (slot) {
        case Slot::Blank:
            return {};
        case Slot::Emptied:
            // The Ratio column keeps what the slot held: an empty slot is
            // known by Ih alone.
            return {EMPTY_SLOT, EMPTY_SLOT,
                    EMPTY_SLOT, EMPTY_SLOT,
                    "0",        ratio == MeasuredRatio{} ? std::string() : ratioText(ratio),
                    0};
        case Slot::Filled:
            break;
    }
    return {currentText(primary),
            currentText(secondary[0]),
            currentText(secondary[1]),
            currentText(secondary[2]),
            ratioErrorText(error),
            ratioText(ratio),
            channel};
}

}  // namespace travenor
