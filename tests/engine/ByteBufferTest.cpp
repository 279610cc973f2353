#include "ByteBuffer.h"

#include <cctype>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

std::vector<int> Bytes(const CByteBuffer& buffer)
{
    std::vector<int> bytes;
    for (int i = 0; i < buffer.GetSize(); ++i)
        bytes.push_back(buffer.GetData()[i]);
    return bytes;
}

CByteBuffer FromHex(const std::string& text)
{
    CByteBuffer buffer;
    buffer.FromHex(text);
    return buffer;
}

// SHA-256 of the empty input.
const char kDigest[] = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";

} // namespace

TEST(ByteBuffer, NewBufferIsEmptyAndInvalid)
{
    CByteBuffer buffer;
    EXPECT_EQ(buffer.GetSize(), 0);
    EXPECT_FALSE(buffer.IsValid());
    EXPECT_EQ(buffer.GetData(), nullptr);
    EXPECT_EQ(buffer.ToHex(), "");
    buffer.Free();
    EXPECT_FALSE(buffer.IsValid());
}

TEST(ByteBuffer, FromHexReadsDigitPairs)
{
    const struct { const char* text; std::vector<int> bytes; } cases[] = {
        {"00ff", {0, 255}},
        {"00FF", {0, 255}},
        {"aBcD", {0xab, 0xcd}},
        {"0123456789abcdef", {0x01, 0x23, 0x45, 0x67, 0x89, 0xab, 0xcd, 0xef}},
        {"7f1", {0x7f}},
        {"1", {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Bytes(FromHex(c.text)), c.bytes) << c.text;

    CByteBuffer empty = FromHex("");
    EXPECT_EQ(empty.GetSize(), 0);
    EXPECT_FALSE(empty.IsValid());
}

TEST(ByteBuffer, DigestTextRoundTripsLowerCase)
{
    const CByteBuffer digest = FromHex(kDigest);
    ASSERT_TRUE(digest.IsValid());
    ASSERT_EQ(digest.GetSize(), 32);
    EXPECT_EQ(digest.GetData()[0], 0xe3);
    EXPECT_EQ(digest.GetData()[31], 0x55);
    EXPECT_EQ(digest.ToHex(), kDigest);

    std::string upper = kDigest;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    EXPECT_EQ(FromHex(upper).ToHex(), kDigest);
    EXPECT_TRUE(FromHex(upper).IsEqual(digest));
}

TEST(ByteBuffer, ResizeKeepsBytesOnlyAtTheSameSize)
{
    CByteBuffer buffer = FromHex("010203");
    const uint8_t* data = buffer.GetData();
    buffer.Resize(3);
    EXPECT_EQ(buffer.GetData(), data);
    EXPECT_EQ(Bytes(buffer), (std::vector<int>{1, 2, 3}));

    buffer.Resize(5);
    EXPECT_TRUE(buffer.IsValid());
    EXPECT_EQ(buffer.GetSize(), 5);

    for (int n : {0, -4}) {
        buffer.Resize(5);
        buffer.Resize(n);
        EXPECT_FALSE(buffer.IsValid()) << n;
        EXPECT_EQ(buffer.GetSize(), 0) << n;
        EXPECT_EQ(buffer.GetData(), nullptr) << n;
    }
}

TEST(ByteBuffer, CopiesOwnTheirBytes)
{
    const CByteBuffer source = FromHex("a1b2c3");
    CByteBuffer copy(source);
    copy.GetData()[0] = 0;
    EXPECT_EQ(Bytes(source), (std::vector<int>{0xa1, 0xb2, 0xc3}));

    // A target of the same size keeps its allocation; another size gets a new one.
    CByteBuffer target = FromHex("000000");
    const uint8_t* data = target.GetData();
    target = source;
    EXPECT_EQ(target.GetData(), data);
    EXPECT_EQ(Bytes(target), Bytes(source));
    CByteBuffer other = FromHex("00");
    other = source;
    EXPECT_EQ(Bytes(other), Bytes(source));

    CByteBuffer& self = target;
    target = self;
    EXPECT_EQ(Bytes(target), Bytes(source));

    target = CByteBuffer();
    EXPECT_FALSE(target.IsValid());
    EXPECT_EQ(target.GetSize(), 0);

    CByteBuffer moved(std::move(other));
    EXPECT_EQ(Bytes(moved), Bytes(source));
}

TEST(ByteBuffer, EqualityNeedsValidEqualBytes)
{
    const CByteBuffer digest = FromHex(kDigest);
    CByteBuffer changed = digest;
    changed.GetData()[17] ^= 1;
    const struct { const char* name; CByteBuffer a; CByteBuffer b; bool bEqual; } cases[] = {
        {"same bytes", digest, FromHex(kDigest), true},
        {"one byte differs", digest, changed, false},
        {"other size", digest, FromHex(std::string(kDigest, 62)), false},
        {"both empty", CByteBuffer(), FromHex(""), false},
        {"stored empty", CByteBuffer(), digest, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.a.IsEqual(c.b), c.bEqual) << c.name;
}
