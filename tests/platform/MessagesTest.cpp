// The private messages' numbers and how their parameters pack, as the layer offers them to
// every window above it.

#include "Messages.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST(MessagesTest, NumbersLieInTheApplicationRange)
{
    EXPECT_EQ(WM_EDIT_ENTER, 0x8001u);
    EXPECT_EQ(WM_CURSOR_MOVED, 0x8003u);
    EXPECT_EQ(WM_LAYOUT_CHANGED, 0x8006u);
    EXPECT_EQ(WM_DRAWING_EVENT, 0x8009u);
}

TEST(MessagesTest, CodeAndValueRoundTripThroughSixteenBits)
{
    struct Case
    {
        WORD code;
        int value;
        WORD unsignedValue;
    };
    const Case cases[] = {
        {DATA_CONTRAST, 100, 100},
        {DATA_ANGLE, -45, 0xFFD3},
        {DRAW_SELECTION, DRAW_NO_OBJECT, 0xFFFF},
        {DATA_PROJECT_BOUND, 0, 0},
    };
    for (const Case& c : cases) {
        const LPARAM lParam = MakeCodeParam(c.code, c.value);
        EXPECT_GE(lParam, 0) << c.value; // never sign-extended into the upper half
        EXPECT_EQ(GetCode(lParam), c.code) << c.value;
        EXPECT_EQ(GetCodeValue(lParam), c.unsignedValue) << c.value;
        EXPECT_EQ(GetSignedCodeValue(lParam), int16_t(c.unsignedValue)) << c.value;
    }
    EXPECT_TRUE(IsCursorSet(MakeCursorParam(ID_SENDER_DEPTH_SLICE, true)));
    EXPECT_FALSE(IsCursorSet(MakeCursorParam(ID_SENDER_DEPTH_SLICE, false)));
    EXPECT_EQ(GetCode(MakeCursorParam(ID_SENDER_X_SECTION, true)), ID_SENDER_X_SECTION);
}

TEST(MessagesTest, FloatTravelsInTheLowThirtyTwoBits)
{
    for (const float value : {0.0f, -1.5f, 3.25e7f, std::numeric_limits<float>::denorm_min()}) {
        const LPARAM lParam = FloatToParam(value);
        EXPECT_EQ(uint64_t(lParam) >> 32, 0u) << value;
        EXPECT_EQ(ParamToFloat(lParam), value);
    }
    EXPECT_TRUE(std::isnan(ParamToFloat(FloatToParam(std::numeric_limits<float>::quiet_NaN()))));
}
