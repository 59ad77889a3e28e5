#pragma once

#include <QByteArray>
#include <QLocale>
#include <string>

#include "records/ClassReport.h"

namespace travenor {

// What the report says of where and when it was made.
struct ReportHeading {
    std::string when;    // "2026-12-10 09:41"
    std::string source;  // "instrument on /dev/ttyUSB0", "file records.txt"
    std::string creator;
    bool letter = false;  // Letter paper, else A4
};

// Whether Letter is the usual paper where the locale is; A4 elsewhere.
bool letterPaper(const QLocale& locale);

// The test report as a PDF: the heading, a summary per phase, a chart of
// ratio error against current per measured phase with the class's limits,
// and every record with its verdict; "page k of n" on each page. Needs a
// QGuiApplication for its fonts.
QByteArray pdfReport(const ClassReport& report, const ReportHeading& heading);

}  // namespace travenor
