#include "controls/frames/pageset.h"
#include "platform/com/memstream.h"
#include <algorithm>

namespace vyr::frames {

PageSet::PageSet(MakePage makePage) : makePage_(std::move(makePage)) {}

PageSlot* PageSet::page(LONG index) const
{
    return index >= 0 && index < count() ? pages_[size_t(index)].page.get() : nullptr;
}

RECT PageSet::rectOf(const Entry& e) const
{
    return isEmpty(e.rect) ? defaultRect_ : e.rect;
}

HRESULT PageSet::attach(bool attached)
{
    attached_ = attached;
    HRESULT result = S_OK;
    if (!attached) {
        // The windows go with the parent; the pages stay, their controls kept in the cached
        // data that saving refreshes, so a later window shows them again and Save still works.
        for (Entry& e : pages_) {
            if (!e.page->hasWindow())
                continue;
            e.rect = e.page->windowRect();
            auto scratch = com::MemoryStream::create();
            if (const HRESULT hr = e.page->save(scratch.get()); FAILED(hr)) {
                // Destroying the window would lose the controls: it stays, hidden.
                e.page->setShown(false);
                if (SUCCEEDED(result))
                    result = hr;
                continue;
            }
            e.page->destroyWindow();
        }
    } else if (pages_.empty()) {
        setCount(1);
    } else {
        showCurrent();
    }
    return result;
}

HRESULT PageSet::setCount(LONG n)
{
    n = std::max<LONG>(n, 1);
    if (n > kMaxPages)
        return E_INVALIDARG;
    while (count() < n) {
        std::unique_ptr<PageSlot> p = makePage_();
        if (!p)
            return E_OUTOFMEMORY;
        if (loadOption_ == 2 && attached_ && SUCCEEDED(p->createWindow(defaultRect_)))
            p->arrange(arrangeMode_, arrangeDistance_);
        pages_.push_back({std::move(p), RECT{}});
    }
    while (count() > n) {
        if (pages_.back().page->hasWindow())
            pages_.back().page->destroyWindow();
        pages_.pop_back();
    }
    current_ = std::min(current_, n - 1);
    return showCurrent();
}

HRESULT PageSet::setCurrent(LONG index)
{
    if (index < 0 || index >= count())
        return E_FAIL;
    current_ = index;
    return showCurrent();
}

HRESULT PageSet::setLoadOption(LONG option)
{
    if (option < 0 || option > 2)
        return E_INVALIDARG;
    loadOption_ = option;
    return S_OK;
}

void PageSet::setArrange(LONG mode, LONG distance)
{
    arrangeMode_ = mode;
    arrangeDistance_ = distance;
    PageSlot* p = currentPage();
    if (p && p->hasWindow() && p->isShown())
        p->arrange(mode, distance);
}

RECT PageSet::currentRect() const
{
    const PageSlot* p = currentPage();
    if (!p)
        return defaultRect_;
    return p->hasWindow() ? p->windowRect() : rectOf(pages_[size_t(current_)]);
}

HRESULT PageSet::setCurrentRect(const RECT& rect)
{
    PageSlot* p = currentPage();
    if (!p)
        return E_FAIL;
    pages_[size_t(current_)].rect = rect;
    if (p->hasWindow())
        p->moveWindow(rect);
    return S_OK;
}

// Gives the current page its window and controls, then hides or unloads the others as the
// load option says.
HRESULT PageSet::showCurrent()
{
    if (!attached_)
        return S_OK;
    HRESULT hr = S_OK;
    Entry& cur = pages_[size_t(current_)];
    if (!cur.page->hasWindow())
        hr = cur.page->createWindow(rectOf(cur));
    if (SUCCEEDED(hr)) {
        cur.page->setShown(true);
        cur.page->arrange(arrangeMode_, arrangeDistance_);
    }
    for (LONG i = 0; i < count(); ++i) {
        PageSlot* p = pages_[size_t(i)].page.get();
        if (i == current_ || !p->hasWindow())
            continue;
        // Saving refreshes the page's cached data; only then may its controls go. A page that
        // cannot be saved keeps them, hidden.
        auto scratch = com::MemoryStream::create();
        if (loadOption_ == 0 && SUCCEEDED(p->save(scratch.get())))
            p->destroyWindow();
        else
            p->setShown(false);
    }
    return hr;
}

HRESULT PageSet::save(IStream* s, const WriteProperties& properties)
{
    return savePaged(s, count(), properties, [&](IStream* out, int32_t i) {
        const Entry& e = pages_[size_t(i)];
        if (e.page->hasWindow() && !attached_)
            return E_FAIL;
        HRESULT hr = e.page->save(out);
        if (FAILED(hr))
            return hr;
        return com::writeValue(out, e.page->hasWindow() ? e.page->windowRect() : e.rect);
    });
}

HRESULT PageSet::load(IStream* s, const ReadProperties& properties)
{
    const auto bound = [&] { return int64_t(count()) + 1; };
    HRESULT hr = loadPaged(s, properties, bound, [&](IStream* in, int32_t i, const BlockReader& block) {
        Entry& e = pages_[size_t(i)];
        HRESULT h = e.page->load(in, block.end());
        if (FAILED(h))
            return h;
        RECT rect{};
        if (FAILED(h = block.field(rect)) || h == S_FALSE || arrangeMode_ != 0)
            return h;
        e.rect = rect;
        if (e.page->hasWindow() && !sameRect(e.page->windowRect(), rect))
            e.page->moveWindow(rect);
        return S_OK;
    });
    if (FAILED(hr))
        return hr;
    if (attached_ && currentPage())
        currentPage()->arrange(arrangeMode_, arrangeDistance_);
    return S_OK;
}

} // namespace vyr::frames
