#include "link/DecodedReply.h"

#include "format/CurrentText.h"
#include "format/RatioText.h"

namespace travenor {

namespace {

std::string currentAt(const ReplyFrame& frame, std::size_t offset) {
    const auto& b = frame.bytes;
    return currentText(b[offset], b[offset + 1], b[offset + 2]);
}

}  // namespace

DecodedReply DecodedReply::from(const ReplyFrame& frame) {
    const auto& b = frame.bytes;
    DecodedReply reply;
    reply.primary = currentAt(frame, ReplyFrame::PRIMARY);
    reply.secondaryR = currentAt(frame, ReplyFrame::SECONDARY_R);
    reply.secondaryS = currentAt(frame, ReplyFrame::SECONDARY_S);
    reply.secondaryT = currentAt(frame, ReplyFrame::SECONDARY_T);
    reply.recordNumber = frame.recordNumber();
    reply.errorText = ratioErrorText(frame.ratioError());
    reply.setPrimary = frame.setPrimary();
    reply.rated = frame.ratedSecondary();
    reply.highVoltageBatteryLow = frame.highVoltageBatteryLow();
    reply.lowVoltageBatteryLow = frame.lowVoltageBatteryLow();
    reply.channel = reply.primary == MEASURING_ERROR_TEXT ? 3 : frame.channel();
    if (reply.channel <= 2) {
        const std::size_t s = ReplyFrame::SECONDARY_R + 3 * static_cast<std::size_t>(reply.channel);
        reply.ratio = ratioText(b[0], b[1], b[2], b[s], b[s + 1], b[s + 2], reply.rated);
    } else {
        // No phase, so no secondary reading to divide by: the out-of-range form,
        // which is also what an "err" primary gives.
        reply.ratio = outOfRangeRatioText(reply.rated);
    }
    reply.kind = frame.kindValue();
    return reply;
}

}  // namespace travenor
