#pragma once

#include <QLoggingCategory>

// The program's diagnostic log, off by default; switched on with, for
// example, QT_LOGGING_RULES="travenor.*=true".
Q_DECLARE_LOGGING_CATEGORY(logLink)      // travenor.link: the port, the link found and lost
Q_DECLARE_LOGGING_CATEGORY(logScan)      // travenor.scan: each probe of the scan
Q_DECLARE_LOGGING_CATEGORY(logDownload)  // travenor.download: start, re-sends, end
Q_DECLARE_LOGGING_CATEGORY(logFiles)     // travenor.files: records saved, opened or refused
