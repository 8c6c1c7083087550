#include "controls/frames/pageset.h"
#include "controls/frames/pagestore.h"
#include "platform/com/memstream.h"
#include "tests/controls/frames/fakecontrols.h"
#include "tests/controls/frames/rects.h"
#include "tests/controls/frames/streambytes.h"
#include <gtest/gtest.h>
#include <optional>

namespace vyr::frames::test {
namespace {

using Log = std::vector<std::string>;

// A page whose "window" is a list of fake controls, logging what the set does to it.
class FakePage final : public PageSlot {
public:
    FakePage(Log& log, int id) : log_(log), id_(std::to_string(id)) {}

    std::optional<FakeControls> live; // present while the page has a window
    PageStore store;
    bool drag = false;
    bool shown = false;
    RECT rect{};

    bool hasWindow() const override { return live.has_value(); }
    HRESULT createWindow(const RECT& r) override
    {
        log_.push_back("create " + id_);
        live.emplace();
        rect = r;
        shown = true;
        return store.loadCache(*live, drag);
    }
    void destroyWindow() override
    {
        log_.push_back("destroy " + id_);
        live.reset();
    }
    void setShown(bool s) override
    {
        if (s != shown)
            log_.push_back((s ? "show " : "hide ") + id_);
        shown = s;
    }
    bool isShown() const override { return shown; }
    RECT windowRect() const override { return rect; }
    void moveWindow(const RECT& r) override { rect = r; }
    void arrange(LONG mode, LONG) override
    {
        if (mode)
            log_.push_back("arrange " + id_);
    }
    HRESULT save(IStream* s) override { return store.save(s, live ? &*live : nullptr, drag); }
    HRESULT load(IStream* s, uint64_t limit) override { return store.load(s, limit, live ? &*live : nullptr, drag); }

private:
    Log& log_;
    std::string id_;
};

class PageSetTest : public testing::Test {
protected:
    Log log;
    int made = 0;
    PageSet set{[this] { return std::make_unique<FakePage>(log, made++); }};

    FakePage& page(LONG i) { return *static_cast<FakePage*>(set.page(i)); }
    void attachWith(LONG option, LONG pages)
    {
        ASSERT_EQ(set.setLoadOption(option), S_OK);
        set.setDefaultRect({0, 0, 100, 80});
        set.attach(true);
        ASSERT_EQ(set.setCount(pages), S_OK);
        log.clear();
    }
};

TEST_F(PageSetTest, CountAndCurrentClamps)
{
    set.attach(true);
    EXPECT_EQ(set.count(), 1);
    ASSERT_EQ(set.setCount(0), S_OK);
    EXPECT_EQ(set.count(), 1);
    ASSERT_EQ(set.setCount(4), S_OK);
    ASSERT_EQ(set.setCurrent(3), S_OK);
    ASSERT_EQ(set.setCount(2), S_OK);
    EXPECT_EQ(set.current(), 1);
    EXPECT_EQ(set.setCurrent(2), E_FAIL);
    EXPECT_EQ(set.setCurrent(-1), E_FAIL);
    EXPECT_EQ(set.current(), 1);
    EXPECT_EQ(set.setCount(kMaxPages + 1), E_INVALIDARG);
    EXPECT_EQ(set.count(), 2);
    EXPECT_EQ(set.setLoadOption(3), E_INVALIDARG);
    EXPECT_EQ(set.loadOption(), 1);
}

TEST_F(PageSetTest, OptionOneLoadsOnFirstShowAndKeeps)
{
    attachWith(1, 3);
    EXPECT_TRUE(page(0).hasWindow());
    EXPECT_FALSE(page(1).hasWindow());
    ASSERT_EQ(set.setCurrent(1), S_OK);
    ASSERT_EQ(set.setCurrent(0), S_OK);
    EXPECT_EQ(log, (Log{"create 1", "hide 0", "show 0", "hide 1"}));
    EXPECT_FALSE(page(2).hasWindow());
}

TEST_F(PageSetTest, OptionTwoCreatesEveryPageAtOnce)
{
    attachWith(2, 1);
    ASSERT_EQ(set.setCount(4), S_OK);
    for (LONG i = 0; i < 4; ++i)
        EXPECT_TRUE(page(i).hasWindow()) << i;
    EXPECT_TRUE(page(0).shown);
    EXPECT_FALSE(page(3).shown);
}

TEST_F(PageSetTest, OptionZeroRecreatesAPageFromWhatWasSavedAtTheSwitch)
{
    attachWith(0, 2);
    page(0).live->controls.push_back(control(kButtonClsid, {1, 1, 20, 20}, "first"));
    ASSERT_EQ(set.setCurrent(1), S_OK);
    EXPECT_FALSE(page(0).hasWindow());
    ASSERT_EQ(set.setCurrent(0), S_OK);
    ASSERT_TRUE(page(0).hasWindow());
    EXPECT_EQ(page(0).live->controls, (std::vector<FakeControl>{control(kButtonClsid, {1, 1, 20, 20}, "first")}));
    EXPECT_FALSE(page(1).hasWindow());
    EXPECT_EQ(log, (Log{"create 1", "destroy 0", "create 0", "destroy 1"}));
}

TEST_F(PageSetTest, OptionZeroKeepsAPageWhoseSaveFails)
{
    attachWith(0, 2);
    page(0).live->controls.push_back(control(kButtonClsid, {}, "x"));
    page(0).live->failSaveAt = 0;
    ASSERT_EQ(set.setCurrent(1), S_OK);
    EXPECT_TRUE(page(0).hasWindow());
    EXPECT_FALSE(page(0).shown);
}

TEST_F(PageSetTest, ShrinkingDestroysPagesAndDetachingOnlyTheirWindows)
{
    attachWith(2, 3);
    ASSERT_EQ(set.setCount(1), S_OK);
    EXPECT_EQ(log, (Log{"destroy 2", "destroy 1"}));
    log.clear();
    // The windows go with the parent; the page stays for Save and the next window.
    set.attach(false);
    EXPECT_EQ(log, (Log{"destroy 0"}));
    EXPECT_EQ(set.count(), 1);
    set.attach(true);
    EXPECT_EQ(set.count(), 1);
    EXPECT_TRUE(page(0).hasWindow());
}

TEST_F(PageSetTest, DetachingAPageThatCannotBeSavedKeepsItsWindowAndReportsIt)
{
    attachWith(1, 2);
    ASSERT_EQ(set.setCurrent(1), S_OK);
    for (LONG i : {0, 1})
        page(i).live->controls.push_back(control(kButtonClsid, {1, 2, 30, 20}, "button"));
    page(1).live->failSaveAt = 0;
    log.clear();
    EXPECT_EQ(set.attach(false), E_NOINTERFACE);
    // The first page went (its controls are in its cached data); the second keeps its window
    // and its control, hidden.
    EXPECT_EQ(log, (Log{"destroy 0", "hide 1"}));
    EXPECT_FALSE(page(0).hasWindow());
    ASSERT_TRUE(page(1).hasWindow());
    EXPECT_EQ(page(1).live->controls.size(), 1u);
    page(1).live->failSaveAt = -1;
    EXPECT_EQ(set.attach(true), S_OK);
    EXPECT_TRUE(page(1).shown);
    EXPECT_EQ(page(1).live->controls.size(), 1u);
}

TEST_F(PageSetTest, ArrangesTheShownCurrentPage)
{
    attachWith(1, 2);
    set.setArrange(1, 10);
    ASSERT_EQ(set.setCurrent(1), S_OK);
    EXPECT_EQ(log, (Log{"arrange 0", "create 1", "arrange 1", "hide 0"}));
}

TEST_F(PageSetTest, CurrentRectangleFromWindowOwnOrDefault)
{
    set.setDefaultRect({0, 0, 50, 50});
    ASSERT_EQ(set.setCount(2), S_OK); // detached: no windows
    EXPECT_EQ(tie(set.currentRect()), tie(RECT{0, 0, 50, 50}));
    ASSERT_EQ(set.setCurrentRect({5, 5, 25, 35}), S_OK);
    EXPECT_EQ(tie(set.currentRect()), tie(RECT{5, 5, 25, 35}));
    set.attach(true);
    EXPECT_EQ(tie(page(0).rect), tie(RECT{5, 5, 25, 35}));
    page(0).rect = {1, 2, 3, 4};
    EXPECT_EQ(tie(set.currentRect()), tie(RECT{1, 2, 3, 4}));
}

// The owner's property list, reduced to what the set needs: PageCount and PageCurrent.
WriteProperties countAndCurrent(const PageSet& set)
{
    return [&set](IStream* s) {
        HRESULT hr = com::writeValue(s, int32_t(set.count()));
        return FAILED(hr) ? hr : com::writeValue(s, int32_t(set.current()));
    };
}

ReadProperties applyCountAndCurrent(PageSet& set)
{
    return [&set](IStream*, const BlockReader& block) {
        int32_t count = 0, current = 0;
        HRESULT hr = block.field(count);
        if (hr == S_OK && FAILED(hr = set.setCount(count)))
            return hr;
        if ((hr = block.field(current)) == S_OK)
            hr = set.setCurrent(current);
        return FAILED(hr) ? hr : S_OK;
    };
}

std::vector<uint8_t> saved(PageSet& set)
{
    auto s = com::MemoryStream::create();
    EXPECT_EQ(set.save(s.get(), countAndCurrent(set)), S_OK);
    return s->bytes();
}

TEST_F(PageSetTest, SaveAndLoadRoundTripWithShownAndUnshownPages)
{
    attachWith(1, 3);
    page(0).live->controls = {control(kButtonClsid, {1, 2, 30, 40}, "a"), control(kSliderClsid, {0, 50, 90, 70}, "b")};
    ASSERT_EQ(set.setCurrent(1), S_OK);
    page(1).live->controls = {control(kButtonClsid, {3, 3, 9, 9}, "c")};
    page(1).drag = true;
    page(1).rect = {2, 2, 60, 60};
    const auto bytes = saved(set); // page 2 was never shown

    Log otherLog;
    int otherMade = 0;
    PageSet other{[&] { return std::make_unique<FakePage>(otherLog, otherMade++); }};
    other.setDefaultRect({0, 0, 100, 80});
    other.attach(true);
    auto in = com::MemoryStream::create(bytes);
    ASSERT_EQ(other.load(in.get(), applyCountAndCurrent(other)), S_OK);
    ASSERT_EQ(other.count(), 3);
    EXPECT_EQ(other.current(), 1);
    auto& p1 = *static_cast<FakePage*>(other.page(1));
    ASSERT_TRUE(p1.hasWindow());
    EXPECT_EQ(p1.live->controls, page(1).live->controls);
    EXPECT_TRUE(p1.drag);
    EXPECT_EQ(tie(p1.rect), tie(RECT{2, 2, 60, 60}));
    // Page 0 got its window when the set was attached, so its controls were created (hidden);
    // page 2 was never shown and keeps its data cached.
    auto& p0 = *static_cast<FakePage*>(other.page(0));
    ASSERT_TRUE(p0.hasWindow());
    EXPECT_FALSE(p0.shown);
    EXPECT_EQ(p0.live->controls, page(0).live->controls);
    auto& p2 = *static_cast<FakePage*>(other.page(2));
    EXPECT_FALSE(p2.hasWindow());
    EXPECT_TRUE(p2.store.hasCache());
    EXPECT_EQ(saved(other), bytes);
}

TEST_F(PageSetTest, LoadingDetachedCachesEverythingUntilAttached)
{
    attachWith(1, 2);
    page(0).live->controls = {control(kButtonClsid, {1, 2, 30, 40}, "a")};
    const auto bytes = saved(set);

    Log otherLog;
    PageSet other{[&] { return std::make_unique<FakePage>(otherLog, 0); }};
    auto in = com::MemoryStream::create(bytes);
    ASSERT_EQ(other.load(in.get(), applyCountAndCurrent(other)), S_OK);
    EXPECT_FALSE(other.page(0)->hasWindow());
    other.attach(true);
    auto& p0 = *static_cast<FakePage*>(other.page(0));
    ASSERT_TRUE(p0.hasWindow());
    EXPECT_EQ(p0.live->controls, page(0).live->controls);
}

TEST_F(PageSetTest, HeaderCountOfOneReadsPropertiesAndNoPages)
{
    // A page block follows, but the header says there are none.
    const Bytes props = Bytes().i32(3).i32(0);
    const Bytes stream = Bytes().block(Bytes().block(Bytes().i32(1).i32(1)).block(props).block(Bytes().i32(-1)));
    attachWith(1, 1);
    auto in = streamOf(stream);
    ASSERT_EQ(set.load(in.get(), applyCountAndCurrent(set)), S_OK);
    EXPECT_EQ(set.count(), 3);
    EXPECT_EQ(in->position(), stream.b.size());
}

TEST_F(PageSetTest, AFailingPageStopsTheLoad)
{
    attachWith(1, 2);
    page(0).live->controls = {control(kButtonClsid, {}, "a")};
    auto bytes = saved(set);
    // Change the class identifier of the one control into one nobody knows.
    const auto id = com::guidBytes(kButtonClsid);
    auto it = std::search(bytes.begin(), bytes.end(), id.begin(), id.end());
    ASSERT_NE(it, bytes.end());
    *it ^= 0xFF;

    Log otherLog;
    PageSet other{[&] { return std::make_unique<FakePage>(otherLog, 0); }};
    other.attach(true);
    auto in = com::MemoryStream::create(bytes);
    EXPECT_EQ(other.load(in.get(), applyCountAndCurrent(other)), REGDB_E_CLASSNOTREG);
}

TEST_F(PageSetTest, HostileCountsAreRefused)
{
    const Bytes huge = Bytes().block(Bytes().block(Bytes().i32(INT32_MAX).i32(1)).block(Bytes().i32(1000000000)));
    auto in = streamOf(huge);
    EXPECT_EQ(set.load(in.get(), applyCountAndCurrent(set)), E_INVALIDARG);
    EXPECT_LE(set.count(), 1);

    const Bytes negative = Bytes().block(Bytes().block(Bytes().i32(-5).i32(1)));
    in = streamOf(negative);
    EXPECT_EQ(set.load(in.get(), applyCountAndCurrent(set)), kBadBlock);
}

} // namespace
} // namespace vyr::frames::test
