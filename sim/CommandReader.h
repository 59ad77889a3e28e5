#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "link/CommandFrame.h"

namespace travenor::sim {

// The instrument's side of the line: takes bytes as they come and hands out
// command frames, four bytes from their lead bytes on; anything else is noise.
class CommandReader {
  public:
    void append(const std::uint8_t* bytes, std::size_t size) {
        pending.insert(pending.end(), bytes, bytes + size);
    }
    void clear() { pending.clear(); }

    std::optional<CommandFrame> next() {
        while (pending.size() >= CommandFrame::SIZE) {
            if (pending[0] != CommandFrame::LEAD_0 || pending[1] != CommandFrame::LEAD_1) {
                pending.erase(pending.begin());
                continue;
            }
            CommandFrame command;
            for (std::size_t i = 0; i < CommandFrame::SIZE; ++i) command.bytes[i] = pending[i];
            pending.erase(pending.begin(), pending.begin() + CommandFrame::SIZE);
            return command;
        }
        return std::nullopt;
    }

  private:
    std::vector<std::uint8_t> pending;
};

}  // namespace travenor::sim
