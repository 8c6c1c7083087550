#include "controls/frames/persistblock.h"
#include "tests/controls/frames/streambytes.h"
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

TEST(PersistBlock, WriterPatchesLengthsOfNestedBlocks)
{
    auto s = com::MemoryStream::create();
    BlockWriter outer, inner;
    ASSERT_EQ(outer.open(s.get()), S_OK);
    ASSERT_EQ(com::writeValue(s.get(), int32_t(7)), S_OK);
    ASSERT_EQ(inner.open(s.get()), S_OK);
    ASSERT_EQ(com::writeValue(s.get(), int16_t(3)), S_OK);
    ASSERT_EQ(inner.close(), S_OK);
    ASSERT_EQ(outer.close(), S_OK);
    ASSERT_EQ(com::writeValue(s.get(), uint8_t(0xEE)), S_OK); // writing goes on at the end

    const std::vector<uint8_t> expected{14, 0, 0, 0, 7, 0, 0, 0, 6, 0, 0, 0, 3, 0, 0xEE};
    EXPECT_EQ(s->bytes(), expected);
}

TEST(PersistBlock, ReaderSkipsWhatANewerWriterAppended)
{
    auto s = streamOf(Bytes().block(Bytes().i32(1).i32(2).i32(99).i32(98)).i32(42));
    BlockReader block;
    ASSERT_EQ(block.open(s.get()), S_OK);
    int32_t a = 0, b = 0;
    EXPECT_EQ(block.field(a), S_OK);
    EXPECT_EQ(block.required(b), S_OK);
    ASSERT_EQ(block.close(), S_OK);
    int32_t after = 0;
    ASSERT_EQ(com::readValue(s.get(), after), S_OK);
    EXPECT_EQ(std::tuple(a, b, after), std::tuple(1, 2, 42));
}

TEST(PersistBlock, FieldsPastAnOlderWritersEndKeepTheirDefaults)
{
    // The block holds one int32 and two stray bytes; the stream goes on after it.
    auto s = streamOf(Bytes().block(Bytes().i32(5).put(int16_t(-1))).i32(77));
    BlockReader block;
    ASSERT_EQ(block.open(s.get()), S_OK);
    int32_t a = 0, b = 123, c = 0;
    EXPECT_EQ(block.field(a), S_OK);
    EXPECT_EQ(block.field(b), S_FALSE); // two bytes left: not read, not taken from what follows
    EXPECT_EQ(b, 123);
    EXPECT_EQ(block.required(c), STG_E_READFAULT);
    EXPECT_EQ(block.left(), 2u);
    ASSERT_EQ(block.close(), S_OK);
    int32_t after = 0;
    ASSERT_EQ(com::readValue(s.get(), after), S_OK);
    EXPECT_EQ(after, 77);
}

TEST(PersistBlock, VariantFieldsReadInsideTheBlock)
{
    auto s = com::MemoryStream::create();
    BlockWriter w;
    ASSERT_EQ(w.open(s.get()), S_OK);
    ASSERT_EQ(com::writeVariant(s.get(), com::Variant::fromString("Hallo").get()), S_OK);
    ASSERT_EQ(w.close(), S_OK);
    ASSERT_EQ(seekTo(s.get(), 0), S_OK);

    BlockReader r;
    ASSERT_EQ(r.open(s.get()), S_OK);
    com::Variant text, missing = com::Variant::fromLong(4);
    EXPECT_EQ(r.variant(text), S_OK);
    EXPECT_EQ(r.variant(missing), S_FALSE);
    EXPECT_EQ(text.toString(), "Hallo");
    EXPECT_EQ(missing.toLong(), 4);
}

struct BadBlockCase {
    const char* name;
    Bytes bytes;
    HRESULT expected;
};

class PersistBlockHostile : public testing::TestWithParam<BadBlockCase> {};

TEST_P(PersistBlockHostile, OpeningFailsClearly)
{
    auto s = streamOf(GetParam().bytes);
    BlockReader outer, inner;
    HRESULT hr = outer.open(s.get());
    if (SUCCEEDED(hr))
        hr = inner.open(s.get(), &outer);
    EXPECT_EQ(hr, GetParam().expected);
}

// The string inside the block claims more characters than the block holds.
Bytes straddlingString()
{
    Bytes text;
    text.put(uint16_t(VT_BSTR)).u32(8).put(u'a').put(u'b');
    Bytes b;
    b.block(text).put(u'c').put(u'\0');
    return b;
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, PersistBlockHostile,
    testing::Values(BadBlockCase{"Empty", Bytes(), STG_E_READFAULT},
                    BadBlockCase{"TruncatedLength", Bytes().put(uint16_t(8)), STG_E_READFAULT},
                    BadBlockCase{"LengthZero", Bytes().u32(0).i32(0), kBadBlock},
                    BadBlockCase{"LengthThree", Bytes().u32(3).i32(0), kBadBlock},
                    BadBlockCase{"LengthPastStream", Bytes().u32(12).i32(0), kBadBlock},
                    BadBlockCase{"LengthHuge", Bytes().u32(0xFFFFFFFF).i32(0), kBadBlock},
                    BadBlockCase{"InnerPastOuter", Bytes().u32(12).u32(12).i32(0).i32(0), kBadBlock},
                    BadBlockCase{"InnerLengthCutOff", Bytes().u32(6).u32(12).i32(0), STG_E_READFAULT}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(PersistBlock, AValueReachingPastTheBlockIsCorrupt)
{
    auto s = streamOf(straddlingString());
    BlockReader r;
    ASSERT_EQ(r.open(s.get()), S_OK);
    com::Variant v = com::Variant::fromLong(1);
    EXPECT_EQ(r.variant(v), kBadBlock);
    EXPECT_EQ(v.toLong(), 1);
}

} // namespace
} // namespace vyr::frames::test
