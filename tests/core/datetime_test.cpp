#include "core/datetime.h"

#include <gtest/gtest.h>

using namespace vlr;

TEST(DateTime, DayCountsSinceEpoch) {
    EXPECT_DOUBLE_EQ(toTDateTime(QDateTime(QDate(1899, 12, 30), QTime(0, 0))), 0.0);
    EXPECT_DOUBLE_EQ(toTDateTime(QDateTime(QDate(1900, 1, 1), QTime(12, 0))), 2.5);
    EXPECT_EQ(fromTDateTime(2.25), QDateTime(QDate(1900, 1, 1), QTime(6, 0)));
    // Before the epoch the fraction counts away from zero.
    EXPECT_EQ(fromTDateTime(-1.25), QDateTime(QDate(1899, 12, 29), QTime(6, 0)));
    const QDateTime t(QDate(2026, 12, 10), QTime(11, 22, 33, 444));
    EXPECT_EQ(fromTDateTime(toTDateTime(t)), t);
}

TEST(DateTime, NonsenseValuesGiveInvalid) {
    EXPECT_FALSE(fromTDateTime(1e300).isValid());
    EXPECT_FALSE(fromTDateTime(std::numeric_limits<double>::quiet_NaN()).isValid());
    EXPECT_TRUE(isoText(1e300).isEmpty());
}
