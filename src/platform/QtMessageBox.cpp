#include "platform/QtMessageBox.h"

#include <QMessageBox>

namespace travenor {

void QtMessageBox::show(const std::string& prompt, const std::string& title) {
    QString text = QString::fromStdString(prompt);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(QMessageBox::NoIcon, QString::fromStdString(title), text, QMessageBox::Ok,
                    parent);
    box.exec();
}

}  // namespace travenor
