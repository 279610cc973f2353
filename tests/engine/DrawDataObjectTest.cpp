#include "DrawDataObject.h"

#include <cfloat>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

using Tovrik::CDrawDataObject;

namespace {

CDrawDataObject MakeRect()
{
    CDrawDataObject object;
    object.m_nType = CDrawDataObject::TYPE_RECT;
    object.m_fX1 = 1.5f;
    object.m_fY1 = 2;
    object.m_fZ1 = 10;
    object.m_fX2 = 3.25f;
    object.m_fY2 = 4;
    object.m_fZ2 = 12;
    object.m_crFill = object.m_crLine = 0x64FF64;
    object.m_pPen = Tovrik::MakePen(0x64FF64, 1);
    object.m_pBrush = Tovrik::MakeBrush(0x64FF64);
    return object;
}

} // namespace

TEST(DrawDataObject, WritesTheFileLine)
{
    CDrawDataObject object = MakeRect();
    EXPECT_EQ(object.Write(), "rect\t1.50;2.00;10.00\t3.25;4.00;12.00\t64ff64\t1\t64ff64\t1\r\n");

    // Colours come from the pen and brush; without a brush the pen colour is the fill.
    object.m_nType = CDrawDataObject::TYPE_CIRCLE;
    object.m_fX1 = -0.004f;
    object.m_fZ2 = 1234.567f;
    object.m_pPen = Tovrik::MakePen(0xABCDEF, 2);
    object.m_pBrush.reset();
    object.m_nPenWidth = 7;
    object.m_bVisible = false;
    EXPECT_EQ(object.Write(), "circle\t-0.00;2.00;10.00\t3.25;4.00;1234.57\tabcdef\t7\tabcdef\t0\r\n");
}

TEST(DrawDataObject, WritesOnlyCoordinatesTheReaderTakes)
{
    CDrawDataObject object = MakeRect();
    object.m_fX1 = std::numeric_limits<float>::infinity();
    object.m_fY1 = -std::numeric_limits<float>::infinity();
    object.m_fZ1 = std::numeric_limits<float>::quiet_NaN();
    object.m_fX2 = FLT_MAX;
    EXPECT_FALSE(object.HasFiniteCoordinates());
    const std::string line = object.Write();
    CDrawDataObject read;
    size_t pos = 0;
    ASSERT_TRUE(read.Read(line, pos)) << line;
    EXPECT_EQ(pos, line.size());
    EXPECT_EQ(read.m_fX1, FLT_MAX); // the nearest finite value
    EXPECT_EQ(read.m_fY1, -FLT_MAX);
    EXPECT_EQ(read.m_fZ1, 0.0f);
    EXPECT_EQ(read.m_fX2, FLT_MAX);
    EXPECT_TRUE(read.HasFiniteCoordinates());
    EXPECT_EQ(read.Write(), line);
}

TEST(DrawDataObject, ReadsLinesByTheFileRules)
{
    const struct {
        const char* name;
        std::string text;
        int type;
        unsigned line;
        int width;
        unsigned fill;
        bool visible;
    } valid[] = {
        {"valid", "rect\t1.50;2.00;10.00\t3.25;4.00;12.00\t64ff64\t1\t64ff64\t1\r\n",
         1, 0x64ff64, 1, 0x64ff64, true},
        {"prefix of a type", "li\t0;0;0\t1;1;1\tff\t2\t0\t0\r\n", 0, 0xff, 2, 0, false},
        {"empty type", "\t0;0;0\t1;1;1\tff\t2\tff\t1\r\n", 0, 0xff, 2, 0xff, true},
        {"circle", "circ\t0;0;0\t1;1;1\tff\t1\tff\t1\r\n", 2, 0xff, 1, 0xff, true},
        {"negative width", "line\t0;0;0\t1;1;1\t0\t-5\t0\t1\r\n", 0, 0, 1, 0, true},
        {"prefix and upper case hex", "line\t0;0;0\t1;1;1\t0xABc\t1\t1F\t1\r\n",
         0, 0xabc, 1, 0x1f, true},
        {"colour saturates", "line\t0;0;0\t1;1;1\t1234567890ab\t1\t0\t1\r\n",
         0, 0xffffffffu, 1, 0, true},
        {"visible only when 1", "line\t0;0;0\t1;1;1\t0\t1\t0\t2\r\n", 0, 0, 1, 0, false},
        {"LF line end", "rect\t0;0;0\t1;1;1\tff\t1\tff\t1\n", 1, 0xff, 1, 0xff, true},
        {"CR line end", "rect\t0;0;0\t1;1;1\tff\t1\tff\t0\r", 1, 0xff, 1, 0xff, false},
    };
    for (const auto& c : valid) {
        CDrawDataObject object = MakeRect();
        const Tovrik::PenPtr pen = object.m_pPen;
        size_t pos = 0;
        ASSERT_TRUE(object.Read(c.text, pos)) << c.name;
        EXPECT_EQ(pos, c.text.size()) << c.name;
        EXPECT_EQ(object.m_nType, c.type) << c.name;
        EXPECT_EQ(object.m_crLine, c.line) << c.name;
        EXPECT_EQ(object.m_nPenWidth, c.width) << c.name;
        EXPECT_EQ(object.m_crFill, c.fill) << c.name;
        EXPECT_EQ(object.m_bVisible, c.visible) << c.name;
        EXPECT_EQ(object.m_pPen, pen) << c.name;
    }

    const struct { const char* name; std::string text; } malformed[] = {
        {"unknown type", "box\t0;0;0\t1;1;1\tff\t1\tff\t1\r\n"},
        {"longer than a type", "rectangle\t0;0;0\t1;1;1\tff\t1\tff\t1\r\n"},
        {"short line", "rect\t0;0;0\t1;1;1\tff\t1\r\nline\t0;0;0\t1;1;1\tff\t1\tff\t1\r\n"},
        {"point without depth", "rect\t0;0\t1;1;1\tff\t1\tff\t1\r\n"},
        {"no colour digits", "rect\t0;0;0\t1;1;1\tzz\t1\tff\t1\r\n"},
        {"width not followed by TAB", "rect\t0;0;0\t1;1;1\tff\t1 \tff\t1\r\n"},
        {"width without digits", "rect\t0;0;0\t1;1;1\tff\t-\tff\t1\r\n"},
        {"NaN coordinate", "rect\tnan;0;0\t1;1;1\tff\t1\tff\t1\r\n"},
        {"beyond float", "rect\t0;1e300;0\t1;1;1\tff\t1\tff\t1\r\n"},
        {"infinite depth", "rect\t0;0;0\t1;1;-inf\tff\t1\tff\t1\r\n"},
        {"no line end", "rect\t0;0;0\t1;1;1\tff\t1\tff\t1"},
        {"short line ended by LF", "rect\t0;0;0\t1;1;1\tff\t1\nline\t0;0;0\t1;1;1\tff\t1\tff\t1\n"},
    };
    for (const auto& c : malformed) {
        CDrawDataObject object = MakeRect();
        object.m_nPenWidth = 3;
        size_t pos = 0;
        EXPECT_FALSE(object.Read(c.text, pos)) << c.name;
        EXPECT_EQ(pos, 0u) << c.name;
        EXPECT_TRUE(object.IsEqual(MakeRect())) << c.name;
        EXPECT_EQ(object.m_nPenWidth, 3) << c.name;
    }
}

TEST(DrawDataObject, ReadsFromAPositionAndRoundTripsItsLine)
{
    const std::string line = MakeRect().Write();
    const std::string text = "header\r\n" + line + line;
    CDrawDataObject object;
    size_t pos = 8;
    ASSERT_TRUE(object.Read(text, pos));
    EXPECT_EQ(pos, 8 + line.size());
    EXPECT_FLOAT_EQ(object.m_fX1, 1.5f);
    EXPECT_FLOAT_EQ(object.m_fY1, 2);
    EXPECT_FLOAT_EQ(object.m_fZ1, 10);
    EXPECT_FLOAT_EQ(object.m_fX2, 3.25f);
    EXPECT_FLOAT_EQ(object.m_fY2, 4);
    EXPECT_FLOAT_EQ(object.m_fZ2, 12);
    ASSERT_TRUE(object.Read(text, pos));
    EXPECT_EQ(pos, text.size());
    EXPECT_FALSE(object.Read(text, pos));
    pos = text.size() + 1;
    EXPECT_FALSE(object.Read(text, pos));

    // Lines ended by LF, CR or CR LF follow each other in any mix.
    const std::string body = line.substr(0, line.size() - 2);
    const std::string mixed = body + "\n" + body + "\r" + body + "\r\n" + body + "\n";
    std::vector<size_t> ends;
    for (pos = 0; object.Read(mixed, pos);)
        ends.push_back(pos);
    const size_t n = body.size();
    EXPECT_EQ(ends, (std::vector<size_t>{n + 1, 2 * n + 2, 3 * n + 4, 4 * n + 5}));
}

TEST(DrawDataObject, IsEqualComparesValuesButNotThePenWidth)
{
    const CDrawDataObject a = MakeRect();
    const struct { const char* name; void (*change)(CDrawDataObject&); bool equal; } cases[] = {
        {"same", [](CDrawDataObject&) {}, true},
        {"pen width", [](CDrawDataObject& o) { o.m_nPenWidth = 9; }, true},
        {"pen and brush", [](CDrawDataObject& o) { o.m_pPen.reset(); o.m_pBrush.reset(); }, true},
        {"0.00005 apart", [](CDrawDataObject& o) { o.m_fZ2 += 0.00005f; }, true},
        {"0.001 apart", [](CDrawDataObject& o) { o.m_fY1 += 0.001f; }, false},
        {"type", [](CDrawDataObject& o) { o.m_nType = CDrawDataObject::TYPE_LINE; }, false},
        {"fill", [](CDrawDataObject& o) { o.m_crFill = 1; }, false},
        {"line", [](CDrawDataObject& o) { o.m_crLine = 1; }, false},
        {"visible", [](CDrawDataObject& o) { o.m_bVisible = false; }, false},
        {"second point", [](CDrawDataObject& o) { o.m_fX2 = 0; }, false},
    };
    for (const auto& c : cases) {
        CDrawDataObject b = a;
        c.change(b);
        EXPECT_EQ(a.IsEqual(b), c.equal) << c.name;
        EXPECT_EQ(b.IsEqual(a), c.equal) << c.name;
    }
}
