#include "records/Download.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "link/CommandFrame.h"
#include "link/SerialLink.h"
#include "platform/Controls.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"

namespace travenor {

namespace {
constexpr const char* PROGRESS = "ProgressBar1";
}

Download::Download(SerialLink& link, RecordStore& store, RecordTable& table, Controls& controls,
                   MessageBox& messages, std::function<void()> processPendingEvents)
    : link(link),
      store(store),
      table(table),
      controls(controls),
      messages(messages),
      processPendingEvents(std::move(processPendingEvents)) {}

void Download::startDownload() {
    qCInfo(logDownload) << "download started";
    downloading = 1;
    countAccepted = false;
    table.clearRecords();
    if (processPendingEvents) processPendingEvents();
    link.sendCommand(RECORD_COUNT_COMMAND);
    recordIndex = 1;
    resendCount = 0;
}

void Download::acceptRecordCount(std::int32_t count) {
    recordCount = count;
    countAccepted = true;
    qCInfo(logDownload) << "the instrument holds" << count << "records";
    if (count != 0) {
        recordIndex = 1;
        link.sendCommand(1);
        controls.setValue(PROGRESS, 0);
        controls.setVisible(PROGRESS, true);
    } else {
        messages.show("Error\r\n", "  Error!");
    }
}

void Download::acceptRecord(std::int32_t number, const Record& record) {
    if (number == recordIndex) {
        if (recordIndex <= recordCount) {
            store.store(recordIndex, record);
            if (recordIndex == TABLE_SHOWN_AT) table.buildRecordTable(0, 0);
        }
        resendCount = 0;
        waitTicks = 0;
        // The store ends at slot 4000: once it is filled the download is over,
        // whatever count the instrument reported, and nothing is asked beyond it.
        if (recordIndex >= RecordStore::LAST_SLOT) {
            recordIndex = RecordStore::LAST_SLOT + 1;
            endOfRecords();
            return;
        }
        ++recordIndex;
        if (recordIndex <= recordCount)
            controls.setValue(PROGRESS, recordIndex * 100 / recordCount);
    }
    link.sendCommand(recordIndex);
}

void Download::endOfRecords() {
    if (downloading == 1)
        qCInfo(logDownload) << "download ended by the instrument:" << recordsRead() << "of"
                            << recordCount << "records read";
    downloading = 0;
    controls.setVisible(PROGRESS, false);
    table.buildRecordTable(0, 0);
}

void Download::downloadTick() {
    // The counters go on counting as long as the timer runs; they only stop
    // short of the top of their range.
    if (waitTicks < INT16_MAX) ++waitTicks;
    if (waitTicks > TOLERATED_WAIT_TICKS) {
        if (resendCount < INT16_MAX) ++resendCount;
        // Until the count has come, the count is what is missing: asking for
        // record 1 instead would walk the whole memory and store nothing.
        const std::int32_t request = countAccepted ? recordIndex : RECORD_COUNT_COMMAND;
        qCInfo(logDownload) << "request" << request << "re-sent, time" << resendCount;
        link.sendCommand(request);
    }
    if (resendCount > TOLERATED_RESENDS) {
        const bool wasRunning = downloading == 1;
        downloading = 0;
        table.buildRecordTable(0, 0);
        if (wasRunning) {
            qCInfo(logDownload) << "download ended: no answer after" << resendCount << "re-sends,"
                                << recordsRead() << "of" << recordCount << "records read";
            reportShortEnd("the instrument did not answer");
        }
    }
}

void Download::linkLost() {
    const bool wasRunning = downloading == 1;
    downloading = 0;
    if (!wasRunning) return;
    qCInfo(logDownload) << "download ended: the link was lost," << recordsRead() << "of"
                        << recordCount << "records read";
    table.buildRecordTable(0, 0);
    reportShortEnd("the link to the instrument was lost");
}

std::int32_t Download::recordsRead() const {
    return std::clamp<std::int32_t>(recordIndex - 1, 0, recordCount);
}

void Download::reportShortEnd(const char* reason) {
    if (!countAccepted) {
        messages.show(std::string("Read stopped before the instrument reported its records: ") +
                          reason + ".\r\nRead fetches them again.",
                      "Read");
        return;
    }
    const std::int32_t read = recordsRead();
    if (read >= recordCount) return;
    messages.show("Read stopped after record " + std::to_string(read) + " of " +
                      std::to_string(recordCount) + ": " + reason + ".\r\nRead fetches them again.",
                  "Read");
}

}  // namespace travenor
