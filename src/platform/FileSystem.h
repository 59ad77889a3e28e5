#pragma once

#include <optional>
#include <string>

namespace travenor {

// Whole-file operations on 8-bit text; every failure is reported, never thrown.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // Deletes the file; true also when there was none.
    virtual bool remove(const std::string& path) = 0;
    // Creates or replaces the file with exactly these bytes.
    virtual bool write(const std::string& path, const std::string& bytes) = 0;
    virtual std::optional<std::string> readAll(const std::string& path) = 0;
};

}  // namespace travenor
