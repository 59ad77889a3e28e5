#pragma once

#include <QLoggingCategory>
#include <QStringList>

namespace travenor::test {

// The diagnostic log, captured.
struct LogCapture {
    static QStringList& lines() {
        static QStringList captured;
        return captured;
    }
    static void handler(QtMsgType, const QMessageLogContext& context, const QString& text) {
        lines() << QString::fromLatin1(context.category) + ": " + text;
    }
    QtMessageHandler previous;
    LogCapture() {
        lines().clear();
        QLoggingCategory::setFilterRules(QStringLiteral("travenor.*=true"));
        previous = qInstallMessageHandler(handler);
    }
    ~LogCapture() {
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
    }
    bool has(const QString& part) const {
        for (const QString& line : lines())
            if (line.contains(part)) return true;
        return false;
    }
    QString all() const { return lines().join(QLatin1Char('\n')); }
};

}  // namespace travenor::test
