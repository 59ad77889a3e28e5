#include <gtest/gtest.h>

#include <QLocale>
#include <QTime>

#include "platform/TimeOfDay.h"

namespace travenor {
namespace {

// Every locale Qt knows: the time panel reads back as the same time, with
// seconds, and nothing is left of the zone.
TEST(TimeOfDay, EveryLocaleGivesACleanTimeWithSeconds) {
    const QTime time(13, 5, 9);
    int locales = 0;
    for (const QLocale& locale : QLocale::matchingLocales(QLocale::AnyLanguage, QLocale::AnyScript,
                                                          QLocale::AnyTerritory)) {
        ++locales;
        const QString format = timeOfDayFormat(locale);
        const QString text = QString::fromStdString(timeOfDayText(locale, time));
        const std::string name = locale.name().toStdString() + " \"" + text.toStdString() + "\"";
        // Qt reads back only the ASCII digits.
        if (locale.zeroDigit() == QStringLiteral("0")) {
            EXPECT_EQ(locale.toTime(text, format), time) << name;
        }
        EXPECT_EQ(text, text.trimmed()) << name;
        EXPECT_FALSE(text.contains(QStringLiteral("  "))) << name;
        EXPECT_FALSE(text.contains(QStringLiteral("[]")) || text.contains(QStringLiteral("()")))
            << name;
        EXPECT_FALSE(text.endsWith(QLatin1Char(',')) || text.startsWith(QLatin1Char(','))) << name;
        EXPECT_FALSE(text.contains(QStringLiteral("UTC")) || text.contains(QStringLiteral("GMT")))
            << name;
        EXPECT_TRUE(text.contains(locale.toString(9))) << name;
    }
    EXPECT_GT(locales, 300);
}

TEST(TimeOfDay, FormatsAsTheyShouldRead) {
    const struct {
        const char* locale;
        const char* format;
    } cases[] = {
        {"C", "HH:mm:ss"},     {"en_US", "h:mm:ss AP"}, {"sq_AL", "h:mm:ss AP"},
        {"eu_ES", "HH:mm:ss"}, {"zh_TW", "APh:mm:ss"},  {"yue_HK", "APh:mm:ss"},
        {"my_MM", "HH:mm:ss"}, {"de_DE", "HH:mm:ss"},   {"fr_CA", "HH 'h' mm 'min' ss 's'"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(timeOfDayFormat(QLocale(QString::fromLatin1(c.locale))).toStdString(), c.format)
            << c.locale;
}

}  // namespace
}  // namespace travenor
