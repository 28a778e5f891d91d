#include "tree/wait_cursor.h"

#include <QCursor>
#include <QGuiApplication>

namespace vlr {

namespace {
int g_depth = 0;
}

TWaitCursor::TWaitCursor() {
    if (g_depth++ == 0)
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

TWaitCursor::~TWaitCursor() {
    release();
}

void TWaitCursor::release() {
    if (!m_held)
        return;
    m_held = false;
    if (--g_depth == 0)
        QGuiApplication::restoreOverrideCursor();
}

int TWaitCursor::depth() {
    return g_depth;
}

} // namespace vlr
