#include "platform/com/dispatch.h"
#include <gtest/gtest.h>

using namespace vyr::com;

TEST(Guid, ParsesEitherCaseAndFormatsUpperCase)
{
    const auto g = parseGuid("{0be35203-8f91-11ce-9de3-00aa004bb851}");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Data1, 0x0BE35203u);
    EXPECT_EQ(g->Data2, 0x8F91);
    EXPECT_EQ(g->Data3, 0x11CE);
    EXPECT_EQ(g->Data4[0], 0x9D);
    EXPECT_EQ(g->Data4[7], 0x51);
    EXPECT_EQ(formatGuid(*g), "{0BE35203-8F91-11CE-9DE3-00AA004BB851}");
    EXPECT_EQ(*g, guidOf("0BE35203-8F91-11CE-9DE3-00AA004BB851"));
}

TEST(Guid, RejectsMalformedText)
{
    for (const char* text : {"", "0BE35203-8F91-11CE-9DE3-00AA004BB851", "{0BE35203-8F91-11CE-9DE3-00AA004BB851",
                             "{0BE35203-8F91-11CE-9DE3-00AA004BB85}", "{0BE35203-8F91-11CE-9DE3-00AA004BB8511}",
                             "{0BE35203-8F91-11CE-9DE300-AA004BB851}", "{0BE3520G-8F91-11CE-9DE3-00AA004BB851}",
                             "(0BE35203-8F91-11CE-9DE3-00AA004BB851)", "{0BE35203+8F91-11CE-9DE3-00AA004BB851}"})
        EXPECT_FALSE(parseGuid(text)) << text;
}

TEST(Guid, BinaryFormIsLittleEndianFieldsThenBytes)
{
    const auto b = guidBytes(IID_IDispatch); // {00020400-0000-0000-C000-000000000046}
    const std::array<uint8_t, 16> expected = {0x00, 0x04, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                              0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
    EXPECT_EQ(b, expected);
    EXPECT_EQ(guidFromBytes(b.data()), IID_IDispatch);
    const GUID odd = guidOf("01234567-89AB-CDEF-0123-456789ABCDEF");
    EXPECT_EQ(guidFromBytes(guidBytes(odd).data()), odd);
    EXPECT_NE(odd, IID_IDispatch);
}
