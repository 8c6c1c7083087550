#include "platform/com/bstr.h"
#include <cstring>
#include <gtest/gtest.h>

using namespace vyr::com;

namespace {
uint32_t prefixOf(BSTR b)
{
    uint32_t n;
    std::memcpy(&n, reinterpret_cast<const uint8_t*>(b) - 4, 4);
    return n;
}
} // namespace

TEST(Bstr, PrefixHoldsByteLengthAndTextIsTerminated)
{
    BSTR b = SysAllocString(u"abc");
    ASSERT_NE(b, nullptr);
    EXPECT_EQ(prefixOf(b), 6u);
    EXPECT_EQ(SysStringLen(b), 3u);
    EXPECT_EQ(SysStringByteLen(b), 6u);
    EXPECT_EQ(b[3], 0);
    SysFreeString(b);
}

TEST(Bstr, LengthsOfSpecialStrings)
{
    EXPECT_EQ(SysStringLen(nullptr), 0u);
    EXPECT_EQ(SysAllocString(nullptr), nullptr);

    BSTR zeros = SysAllocStringLen(nullptr, 5); // room for 5 characters, zero-filled
    EXPECT_EQ(SysStringLen(zeros), 5u);
    for (int i = 0; i <= 5; ++i)
        EXPECT_EQ(zeros[i], 0);
    SysFreeString(zeros);

    BSTR odd = SysAllocStringByteLen("abc", 3); // an odd byte count has a whole-character length of 1
    EXPECT_EQ(SysStringByteLen(odd), 3u);
    EXPECT_EQ(SysStringLen(odd), 1u);
    SysFreeString(odd);

    BSTR embedded = SysAllocStringLen(u"a\0b", 3);
    EXPECT_EQ(SysStringLen(embedded), 3u);
    SysFreeString(embedded);
}

TEST(Bstr, ReAllocReplacesTheString)
{
    BSTR b = SysAllocString(u"old");
    ASSERT_TRUE(SysReAllocString(&b, u"newer"));
    EXPECT_EQ(std::u16string(b, SysStringLen(b)), u"newer");
    ASSERT_TRUE(SysReAllocString(&b, nullptr));
    EXPECT_EQ(b, nullptr);
    EXPECT_FALSE(SysReAllocString(nullptr, u"x"));
}

TEST(Bstr, Utf8ConversionKeepsEveryCharacter)
{
    const std::string text = "5 \xC2\xB5m \xC3\x84 \xE2\x82\xAC \xF0\x9D\x84\x9E"; // µ Ä € and a non-BMP clef
    Bstr b(text);
    EXPECT_EQ(b.length(), 11u); // ten characters; the clef takes two UTF-16 units
    EXPECT_EQ(b.str(), text);
    EXPECT_EQ(utf8(static_cast<BSTR>(nullptr)), "");
}

TEST(Bstr, OwnerCopiesAndDetaches)
{
    Bstr empty("");
    ASSERT_NE(empty.get(), nullptr); // empty text is a real, zero-length string, not null
    EXPECT_EQ(empty.length(), 0u);

    Bstr null;
    Bstr nullCopy(null);
    EXPECT_EQ(nullCopy.get(), nullptr);

    Bstr a("text");
    Bstr c(a);
    EXPECT_NE(c.get(), a.get());
    EXPECT_EQ(c.str(), "text");
    BSTR raw = c.detach();
    EXPECT_EQ(c.get(), nullptr);
    SysFreeString(raw);
}
