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

// File operations; every failure is reported, never thrown.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Deletes the file; true also when there was none.
    virtual bool remove(const std::string& path) = 0;
    // Creates or replaces the file with exactly these bytes.
    virtual bool write(const std::string& path, const std::string& bytes) = 0;
    virtual std::optional<std::string> readAll(const std::string& path) = 0;

    // Record files. Text in and out is UTF-8; on disk it is the system's 8-bit
    // text. saveText replaces an existing file only once the new one has been
    // written whole: a failure leaves the old file as it was.
    virtual FileOutcome saveText(const std::string& path, const std::string& text) = 0;
    virtual FileOutcome loadText(const std::string& path, std::string& text) = 0;
};

}  // namespace travenor
