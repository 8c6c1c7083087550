#include "controls/frames/pagestore.h"
#include "tests/controls/frames/fakecontrols.h"
#include "tests/controls/frames/streambytes.h"
#include <gtest/gtest.h>

namespace vyr::frames::test {
namespace {

FakeControls twoControls()
{
    FakeControls c;
    c.controls = {control(kButtonClsid, {10, 20, 110, 45}, "button data"),
                  control(kSliderClsid, {0, 50, 200, 80}, std::string("\0slider\xff", 8))};
    return c;
}

std::vector<uint8_t> savedForm(FakeControls& controls, bool drag)
{
    auto s = com::MemoryStream::create();
    EXPECT_EQ(savePage(s.get(), controls, drag), S_OK);
    return s->bytes();
}

TEST(PageForm, SavesHeaderAndOneRecordBlockPerControl)
{
    FakeControls one;
    one.controls = {control(kButtonClsid, {1, 2, 3, 4}, "xy")};
    const auto clsid = com::guidBytes(kButtonClsid);
    Bytes record;
    record.raw(std::vector<uint8_t>(clsid.begin(), clsid.end())).i32(1).i32(2).i32(3).i32(4).u32(2).put('x').put('y');
    EXPECT_EQ(savedForm(one, true), Bytes().block(Bytes().i32(1).i32(1)).block(record).b);
}

TEST(PageForm, LoadsBackControlsRectanglesDataAndFlag)
{
    for (const bool drag : {false, true}) {
        FakeControls saved = twoControls();
        auto s = com::MemoryStream::create(savedForm(saved, drag));
        FakeControls loaded;
        bool flag = !drag;
        ASSERT_EQ(loadPage(s.get(), UINT64_MAX, loaded, flag), S_OK);
        EXPECT_EQ(loaded.controls, saved.controls);
        EXPECT_EQ(flag, drag);
        EXPECT_EQ(s->position(), s->bytes().size());
    }
}

TEST(PageForm, AnEmptyPageRoundTrips)
{
    FakeControls none;
    auto s = com::MemoryStream::create(savedForm(none, false));
    EXPECT_EQ(s->bytes(), Bytes().block(Bytes().i32(0).i32(0)).b);
    FakeControls loaded;
    bool flag = true;
    ASSERT_EQ(loadPage(s.get(), UINT64_MAX, loaded, flag), S_OK);
    EXPECT_TRUE(loaded.controls.empty());
    EXPECT_FALSE(flag);
}

TEST(PageForm, HeaderWithoutTheFlagKeepsThePagesValue)
{
    auto s = streamOf(Bytes().block(Bytes().i32(0)));
    FakeControls loaded;
    bool flag = true;
    ASSERT_EQ(loadPage(s.get(), UINT64_MAX, loaded, flag), S_OK);
    EXPECT_TRUE(flag);
}

TEST(PageForm, ASaveFailingOnAControlFailsTheWholeSave)
{
    FakeControls c = twoControls();
    c.failSaveAt = 1;
    auto s = com::MemoryStream::create();
    EXPECT_EQ(savePage(s.get(), c, false), E_NOINTERFACE);
}

TEST(PageForm, MeasureSkipsExactlyTheForm)
{
    FakeControls c = twoControls();
    Bytes bytes;
    bytes.raw(savedForm(c, false)).i32(0x5A5A5A5A);
    auto s = streamOf(bytes);
    uint64_t length = 0;
    ASSERT_EQ(measurePage(s.get(), UINT64_MAX, length), S_OK);
    EXPECT_EQ(length, bytes.b.size() - 4);
    EXPECT_EQ(s->position(), length);
}

// A page form whose one control is itself such a page form, `depth` times over. Written from
// the outside in: each level adds a 12-byte header block and a 40-byte record head.
Bytes nestedForm(int depth)
{
    const auto clsid = com::guidBytes(kButtonClsid);
    Bytes form;
    for (int level = depth; level > 0; --level) {
        const uint32_t inner = 12 + 52 * uint32_t(level - 1);
        form.block(Bytes().i32(1).i32(0)).u32(4 + 36 + inner);
        form.raw(std::vector<uint8_t>(clsid.begin(), clsid.end())).i32(0).i32(0).i32(5).i32(5).u32(inner);
    }
    return form.block(Bytes().i32(0).i32(0));
}

// Hosts a control that loads its data as a page of its own, as frames do.
class NestingControls final : public HostedControls {
public:
    int created = 0;
    size_t count() const override { return 0; }
    ControlRecord record(size_t) const override { return {}; }
    HRESULT save(size_t, IStream*) override { return E_NOTIMPL; }
    HRESULT create(const ControlRecord&, IStream* data, uint32_t dataLength) override
    {
        ++created;
        uint64_t pos = 0;
        streamPosition(data, pos);
        bool flag = false;
        return loadPage(data, pos + dataLength, *this, flag);
    }
};

TEST(PageForm, NestingLoadsUpToTheLimitAndFailsBeyondIt)
{
    struct Case {
        int depth;
        HRESULT expected;
        int created;
    };
    for (const Case c : {Case{3, S_OK, 3}, Case{kMaxNesting, S_OK, kMaxNesting},
                         Case{kMaxNesting + 1, kNestedTooDeep, kMaxNesting}, Case{20000, kNestedTooDeep, kMaxNesting}}) {
        auto s = streamOf(nestedForm(c.depth));
        NestingControls controls;
        bool flag = false;
        EXPECT_EQ(loadPage(s.get(), UINT64_MAX, controls, flag), c.expected) << c.depth;
        EXPECT_EQ(controls.created, c.created) << c.depth;
    }
}

struct HostileCase {
    const char* name;
    Bytes bytes;
    HRESULT expected;
    size_t controlsBeforeFault;
    bool measureFails = true; // measuring skips whole records and does not look inside them
};

class PageFormHostile : public testing::TestWithParam<HostileCase> {};

Bytes recordBlock(CLSID clsid, uint32_t dataLength, const std::string& data)
{
    const auto id = com::guidBytes(clsid);
    Bytes record;
    record.raw(std::vector<uint8_t>(id.begin(), id.end())).i32(0).i32(0).i32(10).i32(10).u32(dataLength);
    record.raw(std::vector<uint8_t>(data.begin(), data.end()));
    return Bytes().block(record);
}

TEST_P(PageFormHostile, LoadStopsWithAClearErrorAndKeepsWhatWasCreated)
{
    const HostileCase& c = GetParam();
    auto s = streamOf(c.bytes);
    FakeControls loaded;
    bool flag = false;
    EXPECT_EQ(loadPage(s.get(), UINT64_MAX, loaded, flag), c.expected);
    EXPECT_EQ(loaded.controls.size(), c.controlsBeforeFault);

    s = streamOf(c.bytes);
    uint64_t length = 0;
    const HRESULT measured = measurePage(s.get(), UINT64_MAX, length);
    EXPECT_EQ(FAILED(measured), c.measureFails);
}

const Bytes kHeader2 = Bytes().block(Bytes().i32(2).i32(0));

INSTANTIATE_TEST_SUITE_P(
    Streams, PageFormHostile,
    testing::Values(
        HostileCase{"NoHeader", Bytes(), STG_E_READFAULT, 0},
        HostileCase{"HeaderWithoutCount", Bytes().block(Bytes()), STG_E_READFAULT, 0},
        HostileCase{"NegativeCount", Bytes().block(Bytes().i32(-1).i32(0)), kBadBlock, 0},
        HostileCase{"BillionControls", Bytes().block(Bytes().i32(1000000000).i32(0)).raw(recordBlock(kButtonClsid, 1, "a")),
                    STG_E_READFAULT, 1},
        HostileCase{"RecordMissing", Bytes(kHeader2).raw(recordBlock(kButtonClsid, 1, "a")), STG_E_READFAULT, 1},
        HostileCase{"RecordCutShort", Bytes(kHeader2).block(Bytes().i32(1).i32(2)), STG_E_READFAULT, 0},
        HostileCase{"DataLengthPastRecord", Bytes(kHeader2).raw(recordBlock(kButtonClsid, 100, "abc")).raw(recordBlock(kButtonClsid, 0, "")),
                    kBadBlock, 0, false},
        HostileCase{"RecordLengthBelowFour", Bytes(kHeader2).u32(2).i32(0), kBadBlock, 0},
        HostileCase{"RecordLengthPastStream",
                    Bytes(kHeader2).raw(recordBlock(kButtonClsid, 1, "a")).u32(4000).i32(0), kBadBlock, 1},
        HostileCase{"UnknownClass",
                    Bytes(kHeader2).raw(recordBlock(kSliderClsid, 1, "s")).raw(recordBlock(com::guidOf("DEADBEEF-0000-0000-0000-000000000000"), 0, "")),
                    REGDB_E_CLASSNOTREG, 1, false}),
    [](const auto& info) { return std::string(info.param.name); });

// ---- PageStore: live controls while the page has a window, cached data otherwise.

TEST(PageStore, AWindowlessPageSavesItsCachedDataByteForByte)
{
    FakeControls c = twoControls();
    // A stored form with a trailing block the current reader does not know.
    Bytes original;
    original.raw(savedForm(c, true));
    Bytes stream = Bytes(original).i32(0x11223344);
    auto in = streamOf(stream);

    PageStore store;
    bool flag = false;
    ASSERT_EQ(store.load(in.get(), stream.b.size(), nullptr, flag), S_OK);
    EXPECT_EQ(in->position(), original.b.size());
    ASSERT_TRUE(store.hasCache());

    auto out = com::MemoryStream::create();
    ASSERT_EQ(store.save(out.get(), nullptr, false), S_OK);
    EXPECT_EQ(out->bytes(), original.b);

    FakeControls created;
    ASSERT_EQ(store.loadCache(created, flag), S_OK);
    EXPECT_EQ(created.controls, c.controls);
    EXPECT_TRUE(flag);
}

TEST(PageStore, APageThatNeverHadContentSavesAnEmptyForm)
{
    PageStore store;
    auto out = com::MemoryStream::create();
    ASSERT_EQ(store.save(out.get(), nullptr, true), S_OK);
    EXPECT_EQ(out->bytes(), Bytes().block(Bytes().i32(0).i32(1)).b);
    EXPECT_FALSE(store.hasCache());
}

TEST(PageStore, SavingLiveControlsRefreshesTheCacheAndWritesNothingOnFailure)
{
    PageStore store;
    FakeControls c = twoControls();
    auto out = com::MemoryStream::create();
    ASSERT_EQ(store.save(out.get(), &c, false), S_OK);
    ASSERT_TRUE(store.hasCache());
    EXPECT_EQ(*store.cache(), out->bytes());

    c.failSaveAt = 1;
    auto failed = com::MemoryStream::create();
    EXPECT_EQ(store.save(failed.get(), &c, false), E_NOINTERFACE);
    EXPECT_TRUE(failed->bytes().empty());
    EXPECT_EQ(*store.cache(), out->bytes());
}

TEST(PageStore, LoadingWithoutWindowStaysInsideTheOwnersBlock)
{
    FakeControls c = twoControls();
    const auto form = savedForm(c, false);
    auto in = com::MemoryStream::create(form);
    PageStore store;
    bool flag = false;
    // The owner's block ends one byte before the form does.
    EXPECT_EQ(store.load(in.get(), form.size() - 1, nullptr, flag), kBadBlock);
    EXPECT_FALSE(store.hasCache());
}

} // namespace
} // namespace vyr::frames::test
