#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "link/RecordSink.h"

namespace travenor {

class MessageBox;
class ProgressView;
class RecordStore;
class RecordTable;
class SerialLink;

// How the last download ended, for whoever must act on it.
struct DownloadOutcome {
    enum class End {
        None,          // no download has ended yet (or one runs)
        Complete,      // every record the instrument reported was read
        StoppedShort,  // fewer records than reported, or none reported
        NoRecords,     // the instrument reported a count of 0
    };
    End end = End::None;
    std::int32_t read = 0;
    std::int32_t reported = 0;  // 0 when the count never came
    std::string reason;         // why it stopped short, as the message says it
};

// Reads the instrument's records one request at a time into the store.
class Download : public RecordSink {
  public:
    static constexpr std::int16_t TABLE_SHOWN_AT = 64;
    static constexpr std::int16_t TOLERATED_WAIT_TICKS = 3;
    static constexpr std::int16_t TOLERATED_RESENDS = 2;
    static constexpr const char* NO_INSTRUMENT = "no instrument is connected";

    Download(SerialLink& link, RecordStore& store, RecordTable& table, ProgressView& progress,
             MessageBox& messages, std::function<void()> processPendingEvents);

    // The Read command.
    void startDownload();
    void acceptRecordCount(std::int32_t count) override;
    void acceptRecord(std::int32_t number, const Record& record) override;
    void endOfRecords() override;
    // Timer4, every 50 ms while downloading: re-sends and gives up.
    void downloadTick();
    // The link is down: a running download ends, and what was read is shown.
    // `instrumentWasThere` tells a lost link from one there never was.
    void linkLost(bool instrumentWasThere = true);

    // Back to no download and no count, as at start-up.
    void reset();

    bool isDownloading() const { return downloading; }
    // The count the instrument reported; 0 before any.
    std::int32_t recordCount() const { return reported; }
    // The record number asked for next.
    std::int16_t recordIndex() const { return next; }
    std::int16_t resendCount() const { return resends; }

    // Records of the reported count read so far.
    std::int32_t recordsRead() const;
    // Whether the instrument has told this download how many records it holds.
    bool countKnown() const { return countAccepted; }
    const DownloadOutcome& outcome() const { return ended; }

  private:
    // Tells the user when a download ended with fewer records than reported,
    // and keeps how it ended.
    void reportShortEnd(const std::string& reason);

    SerialLink& link;
    RecordStore& store;
    RecordTable& table;
    ProgressView& progress;
    MessageBox& messages;
    std::function<void()> processPendingEvents;
    bool downloading = false;
    bool countAccepted = false;
    std::int32_t reported = 0;
    std::int16_t next = 0;
    std::int16_t waitTicks = 0;
    std::int16_t resends = 0;
    DownloadOutcome ended;
};

}  // namespace travenor
