#pragma once
// The storage engine's trace lines; off unless enabled through
// QT_LOGGING_RULES="vellinor.storage.debug=true".
#include <QLoggingCategory>

Q_DECLARE_LOGGING_CATEGORY(lcStorage)
