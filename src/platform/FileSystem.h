#pragma once

#include <optional>
#include <string>

namespace travenor {

// How a file operation the user asked for ended: the system's own words when
// it failed.
struct FileOutcome {
    bool ok = true;
    std::string reason;
};

// A file as Open read it: its bytes, and its text as the box shows it.
struct LoadedText {
    std::string bytes;
    std::string text;  // UTF-8
};

// File operations; every failure is reported, never thrown.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Passes bytes through a scratch file at path (the file system's own
    // bytes): our own leftover there is removed, a new file is created there
    // and nothing else is written to, the bytes go in and come back out, and
    // the file is removed again. Nothing when any step fails; what was at the
    // name and is not ours is left alone, and no step ever blocks.
    virtual std::optional<std::string> passThroughScratch(const std::string& path,
                                                          const std::string& bytes) = 0;

    // Record files. Text in and out is UTF-8; on disk it is the system's 8-bit
    // text. The saves replace an existing file only once the new one has been
    // written whole: a failure leaves the old file as it was. Only regular
    // files are read or replaced, and none larger than a record table could
    // be is read.
    virtual FileOutcome saveText(const std::string& path, const std::string& text) = 0;
    // Writes the bytes as they are.
    virtual FileOutcome saveBytes(const std::string& path, const std::string& bytes) = 0;
    virtual FileOutcome loadText(const std::string& path, LoadedText& file) = 0;
};

}  // namespace travenor
