#pragma once

#include <string>

namespace travenor {

// A message with a single OK button. The prompt's lines end with CR LF. The
// call returns at once: the box is shown when the event loop next runs, and
// the program goes on under it; a box that says what an open one says is not
// shown twice.
class MessageBox {
  public:
    virtual ~MessageBox() = default;
    virtual void show(const std::string& prompt, const std::string& title) = 0;
};

}  // namespace travenor
