#pragma once
// Points both loaders at the freshly built libraries in the program folder.
#include "libs/extlib.h"
#include "libs/vlrlib.h"
#include "support/test_paths.h"

#include <QFile>

#include <gtest/gtest.h>

namespace vlr::test {

// Writes bytes to path; false when the file cannot be written.
inline bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

class LibsEngineTest : public ::testing::Test {
protected:
    void SetUp() override {
        TVlrLib::setLibraryFolder(binDir());
        ASSERT_TRUE(lib().IsLoaded()) << lib().errorString().toStdString();
    }
    static TVlrLib& lib() { return TVlrLib::instance(); }
};

class LibsExtTest : public ::testing::Test {
protected:
    void SetUp() override {
        TExtLib::setLibraryFolder(binDir());
        ASSERT_TRUE(ext().IsAvailable()) << ext().errorString().toStdString();
    }
    void TearDown() override { ext().RE_Done(); }
    static TExtLib& ext() { return TExtLib::instance(); }
};

} // namespace vlr::test
