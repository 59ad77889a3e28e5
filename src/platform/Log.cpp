#include "platform/Log.h"

Q_LOGGING_CATEGORY(logLink, "travenor.link", QtWarningMsg)
Q_LOGGING_CATEGORY(logScan, "travenor.scan", QtWarningMsg)
Q_LOGGING_CATEGORY(logDownload, "travenor.download", QtWarningMsg)
Q_LOGGING_CATEGORY(logFiles, "travenor.files", QtWarningMsg)
