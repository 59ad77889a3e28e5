#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "link/ReplyFrame.h"

namespace travenor::test {

// The example live frame: phase R, 120.0 A against 1.000 A,
// ratio error +0.5 %, set ratio 600/5 A.
inline ReplyFrame exampleLiveFrame() {
    ReplyFrame f;
    f.bytes = {0x04, 0xB0, 0x31, 0x03, 0xE8, 0x33, 0x00, 0x00, 0x33, 0x00,
               0x00, 0x33, 0x00, 0x00, 0x85, 0x02, 0x58, 0x32, 0x02, 0x7C};
    return f;
}

// The example live frame with both units' batteries low.
inline ReplyFrame batteriesLowFrame() {
    ReplyFrame f = exampleLiveFrame();
    f.bytes[15] |= 0xC0;
    f.seal();
    return f;
}

inline ReplyFrame frameOfKind(std::uint8_t kind, int channel = 0) {
    ReplyFrame f;
    f.setChannelAndKind(channel, kind);
    f.seal();
    return f;
}

inline ReplyFrame countFrame(unsigned count) {
    ReplyFrame f;
    f.bytes[0] = static_cast<std::uint8_t>(count >> 8);
    f.bytes[1] = static_cast<std::uint8_t>(count & 0xFF);
    f.setChannelAndKind(0, 3);
    f.seal();
    return f;
}

inline ReplyFrame portFoundFrame(std::uint8_t port) {
    ReplyFrame f;
    f.bytes[1] = port;
    f.setChannelAndKind(0, 4);
    f.seal();
    return f;
}

// A record frame: the example reading filed as record n on channel c.
inline ReplyFrame recordFrame(int n, int channel = 0) {
    ReplyFrame f = exampleLiveFrame();
    f.bytes[12] = static_cast<std::uint8_t>(n >> 8);
    f.bytes[13] = static_cast<std::uint8_t>(n & 0xFF);
    f.setChannelAndKind(channel, 1);
    f.seal();
    return f;
}

inline std::vector<std::uint8_t> bytesOf(const ReplyFrame& f) {
    return {f.bytes.begin(), f.bytes.end()};
}

inline std::vector<std::uint8_t> command(std::initializer_list<std::uint8_t> b) {
    return b;
}

}  // namespace travenor::test
