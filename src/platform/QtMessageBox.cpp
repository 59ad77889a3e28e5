#include "platform/QtMessageBox.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <deque>

namespace travenor {

namespace {

struct Message {
    QPointer<QWidget> parent;
    QString title;
    QString text;
    bool operator==(const Message& other) const {
        return title == other.title && text == other.text;
    }
};

// The one queue of the program's boxes; the front one is open (or about to be).
std::deque<Message>& queue() {
    static std::deque<Message> messages;
    return messages;
}

void showFront() {
    while (!queue().empty()) {
        const Message& next = queue().front();
        QMessageBox box(QMessageBox::NoIcon, next.title, next.text, QMessageBox::Ok,
                        next.parent.data());
        box.exec();
        queue().pop_front();
    }
}

}  // namespace

void QtMessageBox::show(const std::string& prompt, const std::string& title) {
    QString text = QString::fromStdString(prompt);
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    Message message{parent, QString::fromStdString(title), text};
    for (const Message& waiting : queue())
        if (waiting == message) return;
    queue().push_back(std::move(message));
    if (queue().size() == 1)
        QMetaObject::invokeMethod(QCoreApplication::instance(), showFront, Qt::QueuedConnection);
}

int QtMessageBox::pending() {
    return static_cast<int>(queue().size());
}

}  // namespace travenor
