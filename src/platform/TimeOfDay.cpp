#include "platform/TimeOfDay.h"

#include <QLocale>
#include <QRegularExpression>
#include <QTime>

namespace travenor {

namespace {

bool isAsciiLetter(QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

}  // namespace

QString timeOfDayFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    const bool hasDayPeriod =
        format.contains(QLatin1Char('a')) || format.contains(QLatin1Char('A'));
    QString clean;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == QLatin1Char('\'')) quoted = !quoted;
        if (quoted || c == QLatin1Char('\'') || !isAsciiLetter(c)) {
            clean += c;
            continue;
        }
        if (QStringLiteral("hHmszaApP").contains(c)) {
            clean += c;
        } else if (c == QLatin1Char('B') && !hasDayPeriod) {
            clean += QStringLiteral("AP");
        }
        // 't' (the zone) and letters Qt does not know are left out.
    }
    static const QRegularExpression emptyBrackets(QStringLiteral("\\(\\s*\\)|\\[\\s*\\]"));
    static const QRegularExpression blanks(QStringLiteral("\\s{2,}"));
    clean.remove(emptyBrackets);
    clean.replace(blanks, QStringLiteral(" "));
    static const QRegularExpression ends(QStringLiteral("^[\\s,]+|[\\s,]+$"));
    clean.remove(ends);
    if (!clean.contains(QLatin1Char('s'))) clean = QStringLiteral("HH:mm:ss");
    return clean;
}

std::string timeOfDayText(const QLocale& locale, const QTime& time) {
    return locale.toString(time, timeOfDayFormat(locale)).toStdString();
}

std::string timeOfDayText() {
    // The panel asks every 70 ms; the format is worked out once per locale.
    static QString localeName;
    static QString format;
    const QLocale system = QLocale::system();
    if (format.isEmpty() || system.name() != localeName) {
        localeName = system.name();
        format = timeOfDayFormat(system);
    }
    return system.toString(QTime::currentTime(), format).toStdString();
}

}  // namespace travenor
