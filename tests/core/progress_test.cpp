// The progress service seen by long operations.
#include "core/progress.h"
#include "support/recording_progress.h"

#include <gtest/gtest.h>

using namespace vlr;
using namespace vlr::test;

TEST(Progress, ScopedProgressEndsAlsoWhenTheOperationThrows) {
    RecordingProgress progress;
    progress.stopAtStep(2);
    try {
        ScopedProgress scope(QStringLiteral("Зашифровка книжки..."), 4);
        EXPECT_FALSE(scope.step());
        EXPECT_TRUE(scope.step(2));
        throw std::runtime_error("disk full");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(progress.calls(),
              QStringList({"start Зашифровка книжки... 4 nostop", "step 1", "step 2", "end"}));
    EXPECT_FALSE(progress.running());
}

TEST(Progress, WithoutAWindowStopIsNeverPressed) {
    ProgressStart(QStringLiteral("x"), 1, true);
    EXPECT_FALSE(ProgressStep(5));
    ProgressEnd();
}
