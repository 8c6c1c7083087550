// The property stream of a control: round trips, and what a damaged or hostile stream does.
#include "controls/buttons/button.h"
#include "platform/com/dispcall.h"
#include "platform/com/memstream.h"
#include "platform/com/streamio.h"
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;
using com::Variant;

namespace {

// Builds a property list by hand.
struct ListWriter {
    ComPtr<com::MemoryStream> s = com::MemoryStream::create();
    explicit ListWriter(uint32_t count, uint32_t version = 1)
    {
        com::writeValue(s.get(), version);
        com::writeGuid(s.get(), IID_IDispatch);
        com::writeValue(s.get(), count);
    }
    ListWriter& record(DISPID id, const Variant& v)
    {
        com::writeValue(s.get(), id);
        com::writeVariant(s.get(), v.get());
        return *this;
    }
    ListWriter& raw(std::initializer_list<uint8_t> bytes)
    {
        for (uint8_t b : bytes)
            com::writeValue(s.get(), b);
        return *this;
    }
    IStream* rewound()
    {
        s->Seek({0}, STREAM_SEEK_SET, nullptr);
        return s.get();
    }
};

std::string caption(Button& b)
{
    Variant v;
    com::getProperty(&b, "Caption", v);
    return v.toString().value_or("?");
}

} // namespace

TEST(PropertyStream, RoundTripKeepsEveryPersistedValue)
{
    auto a = com::make<Button>();
    com::putProperty(a.get(), "Command", Variant::fromString("Laser.On"));
    com::putProperty(a.get(), "Caption", Variant::fromString("Laser ä"));
    com::putProperty(a.get(), "Enabled", Variant::fromBool(true));
    com::putProperty(a.get(), "ForeColor", Variant::fromULong(0x000000FF));
    com::putProperty(a.get(), "CaptionEnable", Variant::fromBool(false));
    com::putProperty(a.get(), "CaptionPosition", Variant::fromShort(8));
    auto s = com::MemoryStream::create();
    ASSERT_EQ(a->Save(s.get(), TRUE), S_OK);
    ULARGE_INTEGER size{};
    ASSERT_EQ(a->GetSizeMax(&size), S_OK);
    EXPECT_EQ(size.QuadPart, s->bytes().size());

    auto b = com::make<Button>();
    s->Seek({0}, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(b->Load(s.get()), S_OK);
    EXPECT_EQ(b->commandText(), "Laser.On");
    EXPECT_EQ(caption(*b), "Laser ä");
    EXPECT_TRUE(b->enabledFlag());
    EXPECT_EQ(b->face.foreColor, 0x000000FFu);
    EXPECT_EQ(b->face.captionEnable, 0);
    EXPECT_EQ(b->face.captionPosition, 8);
    // Loading goes through the setters, so it marks the control dirty like any change.
    EXPECT_EQ(b->IsDirty(), S_OK);

    auto o = com::make<OptionButton>();
    com::putProperty(o.get(), "PictureViaInterface", Variant::fromBool(true));
    auto s2 = com::MemoryStream::create();
    ASSERT_EQ(o->Save(s2.get(), TRUE), S_OK);
    auto o2 = com::make<OptionButton>();
    s2->Seek({0}, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(o2->Load(s2.get()), S_OK);
    EXPECT_EQ(o2->pictureViaInterface, 1);
}

TEST(PropertyStream, UnknownDispidEndsTheListButLoadSucceeds)
{
    ListWriter w(3);
    w.record(DISPID_CAPTION, Variant::fromString("kept"))
        .record(4242, Variant::fromLong(1))
        .record(50, Variant::fromString("never read"));
    auto b = com::make<Button>();
    EXPECT_EQ(b->Load(w.rewound()), S_OK);
    EXPECT_EQ(caption(*b), "kept");
    EXPECT_EQ(b->commandText(), "");
}

TEST(PropertyStream, DamagedStreamsFailWithoutHarm)
{
    struct Case {
        const char* name;
        ListWriter writer;
        HRESULT expected;
    };
    std::vector<Case> cases;
    cases.push_back({"newer version", ListWriter(1, 2), E_FAIL});
    cases.back().writer.record(DISPID_CAPTION, Variant::fromString("x"));
    cases.push_back({"truncated record", ListWriter(2), STG_E_READFAULT});
    cases.back().writer.record(DISPID_CAPTION, Variant::fromString("first")).raw({0xFD, 0xFF});
    // A billion properties announced, none present: reading stops at the first missing one.
    cases.push_back({"huge count", ListWriter(1000000000u), STG_E_READFAULT});
    // A string claiming 4 GB.
    cases.push_back({"huge string", ListWriter(1), STG_E_READFAULT});
    cases.back().writer.raw({0x1A, 0xFF, 0xFF, 0xFF, VT_BSTR, 0, 0xFE, 0xFF, 0xFF, 0xFF, 'a', 0});
    cases.push_back({"unknown type", ListWriter(1), DISP_E_BADVARTYPE});
    cases.back().writer.raw({0x1A, 0xFF, 0xFF, 0xFF, 0x77, 0x00});
    cases.push_back({"object of unknown class", ListWriter(1), REGDB_E_CLASSNOTREG});
    cases.back().writer.raw({7, 0, 0, 0, VT_DISPATCH, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16});

    for (Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto b = com::make<Button>();
        EXPECT_EQ(b->Load(c.writer.rewound()), c.expected);
    }
    // A newer version changes nothing; a truncated one keeps what came before the damage.
    auto b = com::make<Button>();
    b->Load(cases[0].writer.rewound());
    EXPECT_EQ(caption(*b), "");
    b->Load(cases[1].writer.rewound());
    EXPECT_EQ(caption(*b), "first");

    auto empty = com::MemoryStream::create();
    EXPECT_EQ(b->Load(empty.get()), STG_E_READFAULT);
    EXPECT_EQ(b->Load(nullptr), E_POINTER);
    EXPECT_EQ(b->Save(nullptr, TRUE), E_POINTER);
}

TEST(PropertyStream, MismatchedValueTypesAreConvertedOrRefused)
{
    ListWriter w(2);
    w.record(6, Variant::fromString("3")).record(DISPID_CAPTION, Variant::fromShort(12));
    auto b = com::make<Button>();
    EXPECT_EQ(b->Load(w.rewound()), S_OK);
    EXPECT_EQ(b->face.captionPosition, 3);
    EXPECT_EQ(caption(*b), "12");

    ListWriter bad(1);
    bad.record(6, Variant::fromString("left"));
    EXPECT_EQ(b->Load(bad.rewound()), DISP_E_TYPEMISMATCH);
}
