#pragma once

#include <string>

namespace travenor {

// A modal message with a single OK button.
class MessageBox {
  public:
    virtual ~MessageBox() = default;
    virtual void show(const std::string& prompt, const std::string& title) = 0;
};

}  // namespace travenor
