#pragma once
#include <QString>

namespace vlr::test {

// ../shared/testdata beside the checkout; empty when the folder is absent
// (tests that need it skip).
QString testDataDir();
// The folder holding the program, vlr and the companion libraries.
QString binDir();

} // namespace vlr::test

// Skips the current test when the shared test documents are missing.
#define VLR_REQUIRE_TESTDATA()                                                                               \
    do {                                                                                                     \
        if (::vlr::test::testDataDir().isEmpty())                                                            \
            GTEST_SKIP() << "shared test data not present";                                                  \
    } while (0)
