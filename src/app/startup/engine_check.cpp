#include "app/startup/engine_check.h"

#include "core/messages.h"
#include "libs/vlrlib.h"

namespace vlr {

bool checkEngineLibrary() {
    TVlrLib& engine = TVlrLib::instance();
    if (engine.IsLoaded())
        return true;
    // The text the user sees names no cause; the log keeps it.
    qWarning("engine library: %s", qUtf8Printable(engine.errorString()));
    showMessage(kStartupFailureText, kStartupFailureCaption, MsgIcon::Error);
    return false;
}

} // namespace vlr
