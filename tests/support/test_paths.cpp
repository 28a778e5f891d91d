#include "support/test_paths.h"

#include <QDir>
#include <QFileInfo>

namespace vlr::test {

QString testDataDir() {
    const QString dir = QStringLiteral(VELLINOR_TESTDATA_DIR);
    return QFileInfo(dir).isDir() ? QDir(dir).absolutePath() : QString();
}

QString binDir() {
    return QStringLiteral(VELLINOR_BIN_DIR);
}

} // namespace vlr::test
