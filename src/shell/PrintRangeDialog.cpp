#include "shell/PrintRangeDialog.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "shell/ControlFactory.h"
#include "shell/PrintRangeLayout.h"
#include "shell/WindowFonts.h"

namespace travenor {

PrintRangeDialog::PrintRangeDialog() {
    namespace form = layout::printRange;
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QString::fromUtf8(form::CAPTION));
    setFont(windowFont());
    setFixedSize(layout::pixels(form::CLIENT_WIDTH), layout::pixels(form::CLIENT_HEIGHT));

    QWidget* previous = nullptr;
    for (const layout::Control& c : form::controls()) {
        QWidget* widget = makeControl(c, this);
        if (widget->focusPolicy() == Qt::NoFocus) continue;
        if (previous != nullptr) setTabOrder(previous, widget);
        previous = widget;
    }
    // The options have no caption of their own and the entries no label
    // that names them: a screen reader hears these names.
    static constexpr const char* NAMES[][2] = {
        {"Option1", "Print a range of records"},
        {"Text1", "First record to print"},
        {"Text2", "Last record to print"},
        {"Option2", "Print all records"},
        {"Command1", "OK"},
        {"Command2", "Cancel"},
    };
    for (const auto& [name, spoken] : NAMES)
        findChild<QWidget*>(QString::fromLatin1(name))
            ->setAccessibleName(QString::fromUtf8(spoken));
    findChild<QRadioButton*>(QStringLiteral("Option1"))->setChecked(true);
    auto* ok = findChild<QPushButton*>(QStringLiteral("Command1"));
    connect(ok, &QPushButton::clicked, this, &PrintRangeDialog::okClicked);
    connect(findChild<QPushButton*>(QStringLiteral("Command2")), &QPushButton::clicked, this,
            &PrintRangeDialog::reject);
    ok->setFocus();
}

bool PrintRangeDialog::printAll() const {
    return findChild<QRadioButton*>(QStringLiteral("Option2"))->isChecked();
}

QString PrintRangeDialog::firstText() const {
    return findChild<QLineEdit*>(QStringLiteral("Text1"))->text();
}

QString PrintRangeDialog::lastText() const {
    return findChild<QLineEdit*>(QStringLiteral("Text2"))->text();
}

void PrintRangeDialog::reject() {
    emit cancelled();
}

}  // namespace travenor
