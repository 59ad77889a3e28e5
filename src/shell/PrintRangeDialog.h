#pragma once

#include <QDialog>
#include <QString>

namespace travenor {

// Form2: the print-range dialog. It takes the range and reports the user's
// answer; the program decides what follows and closes it.
class PrintRangeDialog : public QDialog {
    Q_OBJECT
  public:
    // No parent: a dialog owned by the main window would be disabled with it.
    PrintRangeDialog();

    bool printAll() const;
    QString firstText() const;
    QString lastText() const;

    // Cancel, Escape and the window's close control all answer Cancel.
    void reject() override;

  signals:
    void okClicked();
    void cancelled();
};

}  // namespace travenor
