#pragma once

#include "link/DecodedReply.h"
#include "link/ReplyFrame.h"

namespace travenor {

class Controls;
class LinkSupervisor;
class RecordSink;
class SerialLink;

// What the program does with every valid reply: marks the link alive, then
// shows a live reading, takes a port confirmation, or hands a download reply on.
class ReplyDecoder {
  public:
    ReplyDecoder(SerialLink& link, LinkSupervisor& supervisor, Controls& controls,
                 RecordSink& records);

    void decodeReply(const ReplyFrame& frame);
    void showLiveReading(const DecodedReply& reply);
    void acceptPort(std::uint8_t port);

    // One receive notification: takes a frame off the line and decodes it.
    void receive();

  private:
    SerialLink& link;
    LinkSupervisor& supervisor;
    Controls& controls;
    RecordSink& records;
};

}  // namespace travenor
