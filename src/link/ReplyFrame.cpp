#include "link/ReplyFrame.h"

#include <algorithm>

namespace travenor {

std::uint8_t ReplyFrame::checksumOf(std::span<const std::uint8_t> firstNineteen) {
    unsigned sum = 0;
    for (std::uint8_t byte : firstNineteen.first(std::min<std::size_t>(19, firstNineteen.size())))
        sum += byte;
    return static_cast<std::uint8_t>(sum % 256);
}

ReplyFrame ReplyFrame::fromBytes(std::span<const std::uint8_t> twenty) {
    ReplyFrame frame;
    std::copy_n(twenty.begin(), std::min(twenty.size(), SIZE), frame.bytes.begin());
    return frame;
}

}  // namespace travenor
