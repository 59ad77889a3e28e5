#pragma once

#include "platform/MessageBox.h"

class QWidget;

namespace travenor {

class QtMessageBox : public MessageBox {
  public:
    explicit QtMessageBox(QWidget* parent) : parent(parent) {}
    void show(const std::string& prompt, const std::string& title) override;

  private:
    QWidget* parent;
};

}  // namespace travenor
