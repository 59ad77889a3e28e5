#include "link/DecodedReply.h"

namespace travenor {

namespace {

Current currentAt(const ReplyFrame& frame, std::size_t offset) {
    const auto& b = frame.bytes;
    return Current::fromBytes(b[offset], b[offset + 1], b[offset + 2]);
}

}  // namespace

DecodedReply DecodedReply::from(const ReplyFrame& frame) {
    DecodedReply reply;
    reply.primary = currentAt(frame, ReplyFrame::PRIMARY);
    reply.secondary = {currentAt(frame, ReplyFrame::SECONDARY_R),
                       currentAt(frame, ReplyFrame::SECONDARY_S),
                       currentAt(frame, ReplyFrame::SECONDARY_T)};
    reply.recordNumber = frame.recordNumber();
    reply.error = RatioError{frame.ratioError()};
    reply.setPrimary = frame.setPrimary();
    reply.rated = frame.ratedSecondary();
    reply.highVoltageBatteryLow = frame.highVoltageBatteryLow();
    reply.lowVoltageBatteryLow = frame.lowVoltageBatteryLow();
    reply.channel = reply.primary.isMeasuringError() ? 3 : frame.channel();
    // No phase, no secondary reading to divide by: the out-of-range form,
    // which is also what an error primary gives.
    reply.ratio =
        reply.channel <= 2
            ? measuredRatio(reply.primary, reply.secondary[static_cast<std::size_t>(reply.channel)],
                            reply.rated)
            : MeasuredRatio{false, 0, reply.rated};
    reply.kind = frame.kindValue();
    return reply;
}

}  // namespace travenor
