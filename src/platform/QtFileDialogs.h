#pragma once

#include <memory>

#include "platform/FileDialogs.h"

class QFileDialog;
class QWidget;

namespace travenor {

// Qt's own file dialog, modal over the parent window.
class QtFileDialogs : public FileDialogs {
  public:
    explicit QtFileDialogs(QWidget* parent) : parent(parent) {}
    std::optional<std::string> showOpen(const std::string& fileName,
                                        const std::string& filter) override;
    std::optional<std::string> showSave(const std::string& fileName,
                                        const std::string& filter) override;

  private:
    std::optional<std::string> show(bool save, const std::string& fileName,
                                    const std::string& filter);
    QWidget* parent;
};

// The dialog as it is shown, not yet run. The shown names of the filter stay
// as given; a pattern "*.*" lists every file, names without a dot included.
std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent, bool save, const std::string& fileName,
                                            const std::string& filter);

}  // namespace travenor
