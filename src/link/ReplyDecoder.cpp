#include "link/ReplyDecoder.h"

#include "link/DecodedReply.h"
#include "link/LinkSupervisor.h"
#include "link/LiveReadings.h"
#include "link/PortSelection.h"
#include "link/RecordSink.h"
#include "link/SerialLink.h"

namespace travenor {

ReplyDecoder::ReplyDecoder(SerialLink& link, LinkSupervisor& supervisor, PortSelection& selection,
                           LiveReadings& live, RecordSink& records)
    : link(link), supervisor(supervisor), selection(selection), live(live), records(records) {}

void ReplyDecoder::receive() {
    if (const auto frame = link.receiveStep()) decodeReply(*frame);
}

void ReplyDecoder::decodeReply(const ReplyFrame& frame) {
    supervisor.markAlive();
    const DecodedReply reply = DecodedReply::from(frame);
    switch (static_cast<FrameKind>(reply.kind)) {
        case FrameKind::Record:
            records.acceptRecord(reply.recordNumber, reply.record());
            break;
        case FrameKind::RecordsEnd:
            records.endOfRecords();
            break;
        case FrameKind::RecordCount:
            records.acceptRecordCount(static_cast<std::int32_t>(frame.countAt(0)));
            break;
        case FrameKind::Live:
            live.showLiveReading(reply);
            break;
        case FrameKind::PortFound:
            acceptPort(frame.bytes[1]);
            break;
        default:
            break;  // other kinds only show that the instrument is there
    }
}

void ReplyDecoder::acceptPort(std::uint8_t port) {
    selection.showPort(port);
    link.openPort();
}

}  // namespace travenor
