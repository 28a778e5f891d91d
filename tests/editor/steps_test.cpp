// Zoom ratios and the font size sequence.
#include "editor_fixture.h"

#include "editor/font_size_step.h"

#include <climits>

using namespace vlr;
using namespace vlr::test;

TEST(FontSizeStep, StandardSequence) {
    struct Case {
        int size, delta, expected;
    } cases[] = {
        {7, 1, 8},   {7, 3, 10},      {10, 3, 14}, {14, -3, 10}, {28, 1, 36},  {28, 3, 36},
        {80, 1, 90}, {80, -1, 72},    {12, 1, 14}, {14, -1, 12}, {36, -1, 28}, {48, 1, 72},
        {1, -1, 1},  {1638, 1, 1638}, {11, 1, 12}, {90, -1, 80}, {72, 1, 80},  {26, 1, 28},
    };
    for (const Case& c : cases)
        EXPECT_EQ(steppedFontSize(c.size, c.delta), c.expected) << c.size << " " << c.delta;
}

namespace {

class StepsTest : public EditorTest {};

} // namespace

TEST_F(StepsTest, FontSizeStepMovesEachRun) {
    load("\\fs20 ten \\fs56 twentyeight");
    select(0, 15);
    edit.ChangeFontSize(1);
    select(0, 3);
    EXPECT_EQ(edit.SelAttributes().Size(), 11);
    select(4, 15);
    EXPECT_EQ(edit.SelAttributes().Size(), 36);
    select(0, 15);
    edit.ChangeFontSize(-1);
    select(0, 3);
    EXPECT_EQ(edit.SelAttributes().Size(), 10);
    select(4, 15);
    EXPECT_EQ(edit.SelAttributes().Size(), 28);
}

TEST_F(StepsTest, ZoomIsARatio) {
    int num = -1, den = -1;
    EXPECT_EQ(edit.ZoomPercent(), 100);
    edit.GetZoom(num, den);
    EXPECT_EQ(num, 0);
    EXPECT_EQ(den, 0);
    struct Case {
        int percent, num, den, read;
    } cases[] = {{150, 150, 100, 150}, {0, 1, 1, 100}, {-20, 1, 1, 100}, {75, 75, 100, 75}};
    for (const Case& c : cases) {
        edit.SetZoomPercent(c.percent);
        edit.GetZoom(num, den);
        EXPECT_EQ(num, c.num) << c.percent;
        EXPECT_EQ(den, c.den) << c.percent;
        EXPECT_EQ(edit.ZoomPercent(), c.read) << c.percent;
    }
    EXPECT_TRUE(edit.SetZoom(1, 3));
    EXPECT_EQ(edit.ZoomPercent(), 33);
    EXPECT_FALSE(edit.SetZoom(1, 65));
    EXPECT_FALSE(edit.SetZoom(-1, 2));
    EXPECT_EQ(edit.ZoomPercent(), 33);
    EXPECT_TRUE(edit.SetZoom(0, 0));
    EXPECT_EQ(edit.ZoomPercent(), 100);
}

TEST_F(StepsTest, ZoomEnlargesTheLayout) {
    load("some text to measure");
    edit.show();
    const int base = edit.GetCharPos(10).x() - edit.GetCharPos(0).x();
    edit.SetZoomPercent(200);
    const int zoomed = edit.GetCharPos(10).x() - edit.GetCharPos(0).x();
    EXPECT_NEAR(zoomed, 2 * base, base / 5 + 2);
}
