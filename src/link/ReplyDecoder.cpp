#include "link/ReplyDecoder.h"

#include "format/NumberText.h"
#include "link/LinkSupervisor.h"
#include "link/RecordSink.h"
#include "link/SerialLink.h"
#include "platform/Controls.h"

namespace travenor {

namespace {

constexpr const char* NO_READING = "- - - -";
constexpr const char* NO_ERROR = "0.0%";

struct PhaseLabels {
    const char* primary;
    const char* error;
};
constexpr PhaseLabels PHASES[] = {
    {"Label8", "Label13"}, {"Label9", "Label19"}, {"Label10", "Label20"}};

}  // namespace

ReplyDecoder::ReplyDecoder(SerialLink& link, LinkSupervisor& supervisor, Controls& controls,
                           RecordSink& records)
    : link(link), supervisor(supervisor), controls(controls), records(records) {}

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
            showLiveReading(reply);
            break;
        case FrameKind::PortFound:
            acceptPort(frame.bytes[1]);
            break;
        default:
            break;  // other kinds only show that the instrument is there
    }
}

void ReplyDecoder::showLiveReading(const DecodedReply& reply) {
    controls.setText("Label2", reply.secondaryR);
    controls.setText("Label4", reply.secondaryS);
    controls.setText("Label5", reply.secondaryT);
    for (const PhaseLabels& phase : PHASES) controls.setText(phase.primary, NO_READING);
    if (reply.channel >= 0 && reply.channel <= 2) {
        for (int c = 0; c < 3; ++c) {
            if (c == reply.channel) {
                controls.setText(PHASES[c].primary, reply.primary);
                controls.setText(PHASES[c].error, reply.errorText);
            } else {
                controls.setText(PHASES[c].error, NO_ERROR);
            }
        }
    }
    controls.setText(
        "Label14", "Set:" + std::to_string(reply.setPrimary) + "/" + tenthsText(reply.rated) + "A");
    controls.setText("Label17", "Rat:" + reply.ratio);
    controls.setVisible("Label16", reply.lowVoltageBatteryLow);
    controls.setVisible("Label15", reply.highVoltageBatteryLow);
}

void ReplyDecoder::acceptPort(std::uint8_t port) {
    controls.setText("Combo1", std::to_string(port));
    link.openPort();
}

}  // namespace travenor
