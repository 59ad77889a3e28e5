#pragma once

#include "platform/MessageBox.h"

class QWidget;

namespace travenor {

// Modal boxes over the parent window, one at a time across the program. A box
// opens on its own turn of the event loop, never inside the handler that
// asked for it (the receive path, a timer tick) nor inside another box; while
// one is open the others wait. A message equal to one open or waiting is not
// added again, so a line that repeats a reply cannot pile boxes up.
class QtMessageBox : public MessageBox {
  public:
    explicit QtMessageBox(QWidget* parent) : parent(parent) {}
    void show(const std::string& prompt, const std::string& title) override;

    // Boxes open or waiting (tests).
    static int pending();

  private:
    QWidget* parent;
};

}  // namespace travenor
