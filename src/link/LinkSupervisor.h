#pragma once

#include <cstdint>
#include <functional>

namespace travenor {

class PortSelection;
class SerialLink;

// Finds the instrument on ports 1 to 16, polls it for live readings while it
// answers, and notices when it falls silent.
class LinkSupervisor {
  public:
    static constexpr std::int16_t TOLERATED_SILENT_TICKS = 30;
    static constexpr std::int16_t SILENT_TICKS_CAP = 1300;

    // `downloading` tells whether a download holds the line; no live reading
    // is asked for then.
    LinkSupervisor(SerialLink& link, PortSelection& selection, std::function<bool()> downloading);

    // Scans port `number` alone instead of ports 1 to 16 (the user named it).
    void scanOnly(int number) { firstPort = lastPort = number; }

    // Timer2: while unlinked, moves to the next port and probes it; always
    // counts a tick of silence.
    void discoveryTick();
    // Timer3: asks for a live reading while linked and not downloading.
    void pollTick();
    // Every valid reply frame: the instrument answers on this port.
    void markAlive();

    // Whether the instrument has answered within the last 31 discovery ticks.
    bool isLinked() const { return linked; }
    // Whether the instrument has answered at all since the program started.
    bool everLinked() const { return answered; }
    // Discovery ticks since the last valid reply, capped at SILENT_TICKS_CAP.
    std::int16_t silentTicks() const { return silent; }

  private:
    SerialLink& link;
    PortSelection& selection;
    std::function<bool()> downloading;
    bool linked = false;
    bool answered = false;
    std::int16_t silent = 0;
    int firstPort;
    int lastPort;
};

}  // namespace travenor
