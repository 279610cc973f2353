// Rectangle arithmetic with the Win32 rules for empty rectangles.

#include "Types.h"

#include <gtest/gtest.h>

TEST(TypesTest, UnionOfRectanglesIgnoresEmptyOnes)
{
    const struct
    {
        CRect a, b, expected;
        bool result;
    } cases[] = {
        {{0, 0, 4, 4}, {2, 1, 9, 3}, {0, 0, 9, 4}, true},
        {{5, 5, 8, 8}, {-3, 6, -1, 20}, {-3, 5, 8, 20}, true},
        {{5, 5, 5, 9}, {1, 2, 3, 4}, {1, 2, 3, 4}, true},   // no width: adds nothing
        {{1, 2, 3, 4}, {9, 9, 20, 2}, {1, 2, 3, 4}, true},  // turned inside out: adds nothing
        {{5, 5, 5, 9}, {7, 7, 3, 3}, {0, 0, 0, 0}, false},  // both empty: all zero
        {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, false},
    };
    for (const auto& c : cases) {
        CRect result(11, 12, 13, 14);
        EXPECT_EQ(UnionRect(&result, &c.a, &c.b), c.result);
        EXPECT_EQ(result, c.expected) << c.a.left << "," << c.a.top << " " << c.b.left << "," << c.b.top;
        CRect member(11, 12, 13, 14);
        EXPECT_EQ(member.UnionRect(&c.b, &c.a), c.result);
        EXPECT_EQ(member, c.expected);
    }
    // The result may be one of the operands.
    CRect grown(0, 0, 2, 2);
    const CRect other(1, 1, 5, 3);
    EXPECT_TRUE(grown.UnionRect(&grown, &other));
    EXPECT_EQ(grown, CRect(0, 0, 5, 3));
}

TEST(TypesTest, IntersectionOfRectangles)
{
    const struct
    {
        CRect a, b, expected;
        bool result;
    } cases[] = {
        {{0, 0, 4, 4}, {2, 1, 9, 3}, {2, 1, 4, 3}, true},
        {{0, 0, 4, 4}, {4, 0, 9, 4}, {0, 0, 0, 0}, false}, // touching edges do not overlap
        {{0, 0, 4, 4}, {6, 6, 9, 9}, {0, 0, 0, 0}, false},
    };
    for (const auto& c : cases) {
        CRect result(11, 12, 13, 14);
        EXPECT_EQ(result.IntersectRect(&c.a, &c.b), c.result);
        EXPECT_EQ(result, c.expected);
    }
}
