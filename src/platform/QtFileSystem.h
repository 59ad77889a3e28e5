#pragma once

#include "platform/FileSystem.h"

namespace travenor {

class QtFileSystem : public FileSystem {
  public:
    std::optional<std::string> passThroughScratch(const std::string& path,
                                                  const std::string& bytes) override;
    FileOutcome saveText(const std::string& path, const std::string& text) override;
    FileOutcome saveBytes(const std::string& path, const std::string& bytes) override;
    FileOutcome loadText(const std::string& path, LoadedText& file) override;
};

// Text as the system's 8-bit encoding writes it, and back. Bytes that are not
// valid in that encoding are read as Latin-1, one character each, so nothing
// of a file from another machine is dropped.
std::string toSystemBytes(const std::string& utf8);
std::string fromSystemBytes(const std::string& bytes);

}  // namespace travenor
