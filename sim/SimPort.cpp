#include "sim/SimPort.h"

#include <QTimer>
#include <algorithm>
#include <cmath>

namespace travenor::sim {

SimPort::SimPort(std::unique_ptr<InstrumentModel> model, int portNumber, bool realTime,
                 QObject* parent)
    : QObject(parent), instrument(std::move(model)), portNumber(portNumber), realTime(realTime) {
    clock.start();
}

bool SimPort::open(int number, const LineSettings&) {
    close();
    if (number != portNumber || instrument->hungUp(now())) return false;
    openNow = true;
    openNumber = number;
    ++generation;
    received.clear();
    requests.clear();
    return true;
}

void SimPort::close() {
    openNow = false;
    ++generation;  // replies still on their way are lost with the line
    received.clear();
}

std::vector<std::uint8_t> SimPort::read(std::size_t maxBytes) {
    const std::size_t n = std::min(maxBytes, received.size());
    std::vector<std::uint8_t> bytes(received.begin(), received.begin() + static_cast<long>(n));
    received.erase(received.begin(), received.begin() + static_cast<long>(n));
    return bytes;
}

void SimPort::setReceiveThreshold(std::size_t bytes) {
    threshold = bytes == 0 ? 1 : bytes;
}

void SimPort::setReceiveHandler(std::function<void()> receive) {
    handler = std::move(receive);
}

std::string SimPort::deviceName(int number) const {
    return number == portNumber ? "simulated instrument" : std::string();
}

void SimPort::write(const std::vector<std::uint8_t>& bytes) {
    if (!openNow) return;
    checkLine();
    if (!openNow) return;
    written.insert(written.end(), bytes.begin(), bytes.end());
    requests.append(bytes.data(), bytes.size());
    while (const auto command = requests.next()) {
        auto reply = instrument->respond(*command, now());
        if (!reply) continue;
        const unsigned line = generation;
        if (realTime) {
            const auto delay = static_cast<int>(std::lround(reply->delayMs));
            QTimer::singleShot(delay, Qt::PreciseTimer, this,
                               [this, bytes = std::move(reply->bytes), line]() mutable {
                                   deliver(std::move(bytes), line);
                               });
        } else {
            pending.push_back({std::move(reply->bytes), line});
        }
    }
}

int SimPort::pump() {
    // Only what is on its way now: the replies to requests sent from inside
    // the handlers come with the next pump.
    int delivered = 0;
    for (std::size_t waiting = pending.size(); waiting > 0 && !pending.empty(); --waiting) {
        Pending next = std::move(pending.front());
        pending.pop_front();
        deliver(std::move(next.bytes), next.generation);
        ++delivered;
    }
    return delivered;
}

void SimPort::inject(const std::vector<std::uint8_t>& bytes) {
    deliver(bytes, generation);
}

void SimPort::deliver(std::vector<std::uint8_t> bytes, unsigned line) {
    checkLine();
    if (!openNow || line != generation) return;
    received.insert(received.end(), bytes.begin(), bytes.end());
    if (handler && received.size() >= threshold) handler();
}

void SimPort::checkLine() {
    // A hung-up line drops the port, as the real port does when its device goes.
    if (openNow && instrument->hungUp(now())) close();
}

}  // namespace travenor::sim
