#include "storage/trace.h"

Q_LOGGING_CATEGORY(lcStorage, "vellinor.storage", QtWarningMsg)
