#include "shell/Core.h"

#include <utility>

#include "platform/SerialPort.h"

namespace travenor {

Core::Core(CoreParts parts)
    : link(parts.port, parts.selection),
      table(store, parts.table, parts.files, parts.scratchFolder),
      download(link, store, table, parts.progress, parts.messages,
               std::move(parts.processPendingEvents)),
      supervisor(link, parts.selection, [this] { return download.isDownloading(); }),
      presenter(parts.live),
      decoder(link, supervisor, parts.selection, *this, download),
      status({parts.status, parts.ticks, parts.selection, presenter, parts.progress, link,
              supervisor, download, table},
             std::move(parts.clock)),
      printing(table, parts.table, parts.printer, parts.messages),
      port(parts.port) {
    port.setReceiveHandler([this] { decoder.receive(); });
}

Core::~Core() {
    port.setReceiveHandler(nullptr);
}

void Core::tick(Tick tick) {
    switch (tick) {
        case Tick::Status:
            status.refreshStatus();
            break;
        case Tick::Discovery:
            supervisor.discoveryTick();
            break;
        case Tick::Poll:
            supervisor.pollTick();
            break;
        case Tick::Download:
            download.downloadTick();
            break;
        case Tick::PrintRequest:
            printing.printRequestCheck();
            break;
    }
}

void Core::showLiveReading(const DecodedReply& reading) {
    presenter.showLiveReading(reading);
    if (liveReadingTaken) liveReadingTaken(reading);
}

}  // namespace travenor
