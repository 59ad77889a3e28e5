#pragma once

#include "platform/FileSystem.h"

namespace travenor {

class QtFileSystem : public FileSystem {
  public:
    bool remove(const std::string& path) override;
    bool write(const std::string& path, const std::string& bytes) override;
    std::optional<std::string> readAll(const std::string& path) override;
};

}  // namespace travenor
