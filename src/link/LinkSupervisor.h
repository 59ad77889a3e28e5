#pragma once

#include <cstdint>
#include <functional>

namespace travenor {

class Controls;
class SerialLink;

// Finds the instrument on ports 1 to 16, polls it for live readings while it
// answers, and notices when it falls silent.
class LinkSupervisor {
  public:
    static constexpr std::int16_t TOLERATED_SILENT_TICKS = 30;
    static constexpr std::int16_t SILENT_TICKS_CAP = 1300;

    LinkSupervisor(SerialLink& link, Controls& controls, std::function<bool()> downloading);

    // Timer2: while unlinked, moves to the next port and probes it; always
    // counts a tick of silence.
    void discoveryTick();
    // Timer3: asks for a live reading while linked and not downloading.
    void pollTick();
    // Every valid reply frame.
    void markAlive();

    std::int16_t linkUp = 0;
    std::int16_t silentTicks = 0;

  private:
    SerialLink& link;
    Controls& controls;
    std::function<bool()> downloading;
};

}  // namespace travenor
