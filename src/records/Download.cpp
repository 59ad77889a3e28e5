#include "records/Download.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <utility>

#include "link/CommandFrame.h"
#include "link/SerialLink.h"
#include "platform/Log.h"
#include "platform/MessageBox.h"
#include "records/RecordStore.h"
#include "records/RecordTable.h"
#include "records/RecordViews.h"

namespace travenor {

Download::Download(SerialLink& link, RecordStore& store, RecordTable& table, ProgressView& progress,
                   MessageBox& messages, std::function<void()> processPendingEvents)
    : link(link),
      store(store),
      table(table),
      progress(progress),
      messages(messages),
      processPendingEvents(std::move(processPendingEvents)) {}

void Download::startDownload() {
    qCInfo(logDownload) << "download started";
    downloading = true;
    countAccepted = false;
    ended = {};
    table.clearRecords();
    if (processPendingEvents) processPendingEvents();
    link.sendCommand(RECORD_COUNT_COMMAND);
    next = 1;
    resends = 0;
}

void Download::reset() {
    downloading = false;
    countAccepted = false;
    reported = 0;
    resends = 0;
    ended = {};
}

void Download::acceptRecordCount(std::int32_t count) {
    reported = count;
    countAccepted = true;
    qCInfo(logDownload) << "the instrument holds" << count << "records";
    if (count != 0) {
        next = 1;
        link.sendCommand(1);
        progress.showProgress(0);
        progress.setProgressShown(true);
    } else {
        ended = {DownloadOutcome::End::NoRecords, 0, 0, {}};
        messages.show("Error\r\n", "  Error!");
    }
}

void Download::acceptRecord(std::int32_t number, const Record& record) {
    if (number == next) {
        if (next <= reported) {
            store.store(next, record);
            if (next == TABLE_SHOWN_AT) table.showTable();
        }
        resends = 0;
        waitTicks = 0;
        // The store ends at slot 4000: once it is filled the download is over,
        // whatever count the instrument reported, and nothing is asked beyond it.
        if (next >= RecordStore::LAST_SLOT) {
            next = RecordStore::LAST_SLOT + 1;
            endOfRecords();
            return;
        }
        ++next;
        if (next <= reported) progress.showProgress(next * 100 / reported);
    }
    link.sendCommand(next);
}

void Download::endOfRecords() {
    const bool wasRunning = downloading;
    if (wasRunning)
        qCInfo(logDownload) << "download ended by the instrument:" << recordsRead() << "of"
                            << reported << "records read";
    downloading = false;
    progress.setProgressShown(false);
    table.showTable();
    if (!wasRunning || (countAccepted && reported == 0)) return;
    if (next > RecordStore::LAST_SLOT && reported > RecordStore::LAST_SLOT) {
        reportShortEnd("the program holds " + std::to_string(RecordStore::LAST_SLOT) +
                       " records at most");
    } else {
        reportShortEnd("the instrument sent no more records");
    }
}

void Download::downloadTick() {
    // The counters go on counting as long as the timer runs; they only stop
    // short of the top of their range.
    if (waitTicks < INT16_MAX) ++waitTicks;
    if (waitTicks > TOLERATED_WAIT_TICKS) {
        if (resends < INT16_MAX) ++resends;
        // Until the count has come, the count is what is missing: asking for
        // record 1 instead would walk the whole memory and store nothing.
        const std::int32_t request = countAccepted ? next : RECORD_COUNT_COMMAND;
        qCInfo(logDownload) << "request" << request << "re-sent, time" << resends;
        link.sendCommand(request);
    }
    if (resends > TOLERATED_RESENDS) {
        const bool wasRunning = downloading;
        downloading = false;
        table.showTable();
        if (wasRunning) {
            qCInfo(logDownload) << "download ended: no answer after" << resends << "re-sends,"
                                << recordsRead() << "of" << reported << "records read";
            reportShortEnd("the instrument did not answer");
        }
    }
}

void Download::linkLost(bool instrumentWasThere) {
    const bool wasRunning = downloading;
    downloading = false;
    if (!wasRunning) return;
    qCInfo(logDownload) << "download ended: the link was lost," << recordsRead() << "of" << reported
                        << "records read";
    table.showTable();
    if (!instrumentWasThere && !countAccepted) {
        ended = {DownloadOutcome::End::StoppedShort, 0, 0, NO_INSTRUMENT};
        messages.show("Read cannot fetch records: " + std::string(NO_INSTRUMENT) +
                          ".\r\nConnect the instrument and press Read once the status bar says "
                          "Connected.",
                      "Read");
        return;
    }
    reportShortEnd("the link to the instrument was lost");
}

std::int32_t Download::recordsRead() const {
    return std::clamp<std::int32_t>(next - 1, 0, reported);
}

void Download::reportShortEnd(const std::string& reason) {
    if (!countAccepted) {
        ended = {DownloadOutcome::End::StoppedShort, 0, 0, reason};
        messages.show("Read stopped before the instrument reported its records: " + reason +
                          ".\r\nPress Read to fetch them again.",
                      "Read");
        return;
    }
    // A count of 0 has had its own message.
    if (ended.end == DownloadOutcome::End::NoRecords) return;
    const std::int32_t read = recordsRead();
    if (read >= reported) {
        ended = {DownloadOutcome::End::Complete, read, reported, {}};
        return;
    }
    ended = {DownloadOutcome::End::StoppedShort, read, reported, reason};
    const std::string stopped = "Read stopped after record " + std::to_string(read) + " of " +
                                std::to_string(reported) + ": " + reason + ".\r\n";
    if (reported > RecordStore::LAST_SLOT && read == RecordStore::LAST_SLOT) {
        const std::int32_t left = reported - read;
        messages.show(stopped + std::to_string(left) +
                          (left == 1 ? " record was not read." : " records were not read."),
                      "Read");
        return;
    }
    messages.show(stopped + "Press Read to fetch them again.", "Read");
}

}  // namespace travenor
