#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <deque>
#include <memory>

#include "platform/SerialPort.h"
#include "sim/CommandReader.h"
#include "sim/InstrumentModel.h"

namespace travenor::sim {

// The program's serial port wired straight to a simulated instrument plugged
// into port `portNumber`. Replies come back through the event loop after the
// model's delay, as from a real line; with `realTime` off they wait for pump().
class SimPort : public QObject, public SerialPort {
    Q_OBJECT
  public:
    SimPort(std::unique_ptr<InstrumentModel> model, int portNumber, bool realTime = true,
            QObject* parent = nullptr);

    bool open(int number, const LineSettings& settings) override;
    void close() override;
    bool isOpen() const override { return openNow; }
    void write(const std::vector<std::uint8_t>& bytes) override;
    void clearInput() override { received.clear(); }
    std::size_t bytesWaiting() const override { return received.size(); }
    std::vector<std::uint8_t> read(std::size_t maxBytes) override;
    void setReceiveThreshold(std::size_t threshold) override;
    void setReceiveHandler(std::function<void()> handler) override;
    std::string deviceName(int number) const override;

    // Delivers every reply on its way at once (tests driving ticks by hand).
    // Returns how many were delivered.
    int pump();
    // Puts bytes on the line towards the program, as if the instrument sent them.
    void inject(const std::vector<std::uint8_t>& bytes);

    InstrumentModel& model() { return *instrument; }
    // Every byte the program has sent, in order.
    const std::vector<std::uint8_t>& sent() const { return written; }
    void clearSent() { written.clear(); }
    int openedPort() const { return openNow ? openNumber : 0; }
    // Seconds since the instrument was switched on (the model's clock).
    double now() const { return static_cast<double>(clock.nsecsElapsed()) / 1e9; }

  private:
    struct Pending {
        std::vector<std::uint8_t> bytes;
        unsigned generation;
    };
    void deliver(std::vector<std::uint8_t> bytes, unsigned generation);
    void checkLine();

    std::unique_ptr<InstrumentModel> instrument;
    int portNumber;
    bool realTime;
    bool openNow = false;
    int openNumber = 0;
    unsigned generation = 0;
    std::size_t threshold = 1;
    std::function<void()> handler;
    std::vector<std::uint8_t> received;
    std::vector<std::uint8_t> written;
    CommandReader requests;
    std::deque<Pending> pending;
    QElapsedTimer clock;
};

}  // namespace travenor::sim
