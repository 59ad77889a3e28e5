#pragma once

#include <cstdint>

#include "link/ReplyFrame.h"

namespace travenor {

class LinkSupervisor;
class LiveReadings;
class PortSelection;
class RecordSink;
class SerialLink;

// What the program does with every valid reply: marks the link alive, then
// hands a live reading on, takes a port confirmation, or hands a download
// reply on.
class ReplyDecoder {
  public:
    ReplyDecoder(SerialLink& link, LinkSupervisor& supervisor, PortSelection& selection,
                 LiveReadings& live, RecordSink& records);

    void decodeReply(const ReplyFrame& frame);
    // The instrument says it answers on `port`: the box shows it and the link
    // opens it.
    void acceptPort(std::uint8_t port);

    // One receive notification: takes a frame off the line and decodes it.
    void receive();

  private:
    SerialLink& link;
    LinkSupervisor& supervisor;
    PortSelection& selection;
    LiveReadings& live;
    RecordSink& records;
};

}  // namespace travenor
