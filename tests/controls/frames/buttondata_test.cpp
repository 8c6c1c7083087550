#include "controls/frames/buttondata.h"
#include "tests/controls/frames/streambytes.h"
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

// Reads a button record inside an enclosing block, as a Frame's page block holds it.
HRESULT readWrapped(const Bytes& record, ButtonData& data, uint64_t* positionAfter = nullptr)
{
    auto s = streamOf(Bytes().block(Bytes(record).i32(0x7E7E7E7E)));
    BlockReader page;
    HRESULT hr = page.open(s.get());
    if (SUCCEEDED(hr))
        hr = readButtonData(s.get(), page, data);
    if (positionAfter)
        *positionAfter = s->position();
    return hr;
}

Bytes text(const std::u16string& t)
{
    Bytes b;
    b.put(uint16_t(VT_BSTR)).u32(uint32_t(t.size() * 2 + 2));
    for (char16_t c : t)
        b.put(c);
    return b.put(u'\0');
}

Bytes nullObject()
{
    return Bytes().put(uint16_t(VT_DISPATCH)).raw(std::vector<uint8_t>(16, 0));
}

TEST(ButtonData, RoundTrip)
{
    auto s = com::MemoryStream::create();
    ButtonData written{"Seite &1", nullptr, nullptr, "Page.One"};
    ASSERT_EQ(writeButtonData(s.get(), written), S_OK);
    // Length, caption, two null pictures, command.
    const Bytes expected = Bytes().block(Bytes().raw(text(u"Seite &1")).raw(nullObject()).raw(nullObject()).raw(text(u"Page.One")));
    EXPECT_EQ(s->bytes(), expected.b);

    ButtonData read{"old", nullptr, nullptr, "old"};
    ASSERT_EQ(readWrapped(expected, read), S_OK);
    EXPECT_EQ(read.caption, "Seite &1");
    EXPECT_EQ(read.command, "Page.One");
}

TEST(ButtonData, ShorterAndLongerRecords)
{
    ButtonData data{"keep", nullptr, nullptr, "keep too"};
    uint64_t after = 0;
    ASSERT_EQ(readWrapped(Bytes().block(text(u"Only caption")), data, &after), S_OK);
    EXPECT_EQ(data.caption, "Only caption");
    EXPECT_EQ(data.command, "keep too");
    EXPECT_EQ(after, 4u + 4 + text(u"Only caption").b.size());

    const Bytes longer = Bytes().block(
        Bytes().raw(text(u"A")).raw(nullObject()).raw(nullObject()).raw(text(u"B")).raw(text(u"from a newer writer")));
    ASSERT_EQ(readWrapped(longer, data, &after), S_OK);
    EXPECT_EQ(std::tie(data.caption, data.command), std::tuple("A", "B"));
    EXPECT_EQ(after, 4u + longer.b.size());
}

TEST(ButtonData, BadRecords)
{
    ButtonData data;
    EXPECT_EQ(readWrapped(Bytes().block(Bytes().put(uint16_t(VT_I4)).i32(5)), data), DISP_E_TYPEMISMATCH);
    EXPECT_EQ(readWrapped(Bytes().block(text(u"A")).raw(text(u"B")).u32(3), data), S_OK);
    EXPECT_EQ(readWrapped(Bytes().u32(200), data), kBadBlock);
    // The record claims a caption longer than itself.
    Bytes cut = Bytes().put(uint16_t(VT_BSTR)).u32(6).put(u'a');
    EXPECT_EQ(readWrapped(Bytes().block(cut), data), kBadBlock);
}

} // namespace
} // namespace vyr::frames::test
