#pragma once

#include <map>

#include "platform/FileSystem.h"

namespace travenor::test {

// Files in memory; `writable` false makes every write fail, as in a folder the
// program may not write to.
class FakeFileSystem : public FileSystem {
  public:
    std::map<std::string, std::string> files;
    bool writable = true;
    std::vector<std::string> log;

    std::optional<std::string> passThroughScratch(const std::string& path,
                                                  const std::string& bytes) override {
        log.push_back("scratch " + path);
        if (!writable) return std::nullopt;
        return bytes;
    }
    FileOutcome saveText(const std::string& path, const std::string& text) override {
        log.push_back("save " + path);
        if (!writable) return {false, "Permission denied"};
        files[path] = text;
        return {};
    }
    FileOutcome saveBytes(const std::string& path, const std::string& bytes) override {
        return saveText(path, bytes);
    }
    FileOutcome loadText(const std::string& path, LoadedText& file) override {
        log.push_back("load " + path);
        const auto it = files.find(path);
        if (it == files.end()) return {false, "No such file or directory"};
        file = {it->second, it->second};
        return {};
    }
};

}  // namespace travenor::test
