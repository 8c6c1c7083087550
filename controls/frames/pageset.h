#pragma once
// The pages of a MultiPageFrame, one of which is current, and the load option that decides when
// a page's window (and with it its controls) is created and destroyed:
//   0: only the current page has a window; a page that stops being current is saved into its
//      cached data and destroyed;
//   1: a page gets its window when first shown and keeps it, hidden, afterwards;
//   2: every page gets its window as soon as the page exists.
#include "controls/frames/pagedform.h"
#include "controls/frames/rectops.h"
#include <functional>
#include <memory>
#include <vector>

namespace vyr::frames {

// One page as the set drives it; the window layer implements it.
class PageSlot {
public:
    virtual ~PageSlot() = default;
    virtual bool hasWindow() const = 0;
    // Creates the page window, shown, at `rect` and creates the controls from the cached data.
    virtual HRESULT createWindow(const RECT& rect) = 0;
    virtual void destroyWindow() = 0;
    virtual void setShown(bool shown) = 0;
    virtual bool isShown() const = 0;
    // The window's rectangle in the parent's client coordinates, and moving it.
    virtual RECT windowRect() const = 0;
    virtual void moveWindow(const RECT& rect) = 0;
    virtual void arrange(LONG mode, LONG distance) = 0;
    // The page's saved form; saving also refreshes the cached data.
    virtual HRESULT save(IStream* s) = 0;
    // Loads a form that ends at or before the stream position `limit`.
    virtual HRESULT load(IStream* s, uint64_t limit) = 0;
};

// More pages than this are refused, so that a hostile stream cannot allocate without bound.
constexpr LONG kMaxPages = 1024;

class PageSet {
public:
    using MakePage = std::function<std::unique_ptr<PageSlot>()>;
    explicit PageSet(MakePage makePage);

    LONG count() const { return LONG(pages_.size()); }
    LONG current() const { return current_; }
    PageSlot* page(LONG index) const;
    PageSlot* currentPage() const { return page(current_); }

    // With a parent window pages can have windows. Detaching saves each page's controls into
    // its cached data and destroys its window; a page whose save fails keeps its window,
    // hidden, and the first such failure is returned. Attaching a set without pages gives it one.
    bool attached() const { return attached_; }
    HRESULT attach(bool attached);

    // Values below 1 become 1; above kMaxPages E_INVALIDARG.
    HRESULT setCount(LONG n);
    // E_FAIL outside [0, count).
    HRESULT setCurrent(LONG index);

    LONG loadOption() const { return loadOption_; }
    // Takes effect at the next page change; E_INVALIDARG outside [0, 2].
    HRESULT setLoadOption(LONG option);

    // Used for a page without a rectangle of its own.
    RECT defaultRect() const { return defaultRect_; }
    void setDefaultRect(const RECT& rect) { defaultRect_ = rect; }

    LONG arrangeMode() const { return arrangeMode_; }
    LONG arrangeDistance() const { return arrangeDistance_; }
    // Stores the auto arrange settings and arranges a shown current page at once.
    void setArrange(LONG mode, LONG distance);

    // The current page's rectangle: its window's, else its own, else the default one.
    RECT currentRect() const;
    HRESULT setCurrentRect(const RECT& rect);

    // The set's stream form: header, the owner's property list, then per page its saved form
    // and its rectangle as four int32.
    HRESULT save(IStream* s, const WriteProperties& properties);
    HRESULT load(IStream* s, const ReadProperties& properties);

private:
    struct Entry {
        std::unique_ptr<PageSlot> page;
        RECT rect{}; // empty: none of its own
    };
    RECT rectOf(const Entry& e) const;
    HRESULT showCurrent();

    MakePage makePage_;
    std::vector<Entry> pages_;
    LONG current_ = 0;
    LONG loadOption_ = 1;
    bool attached_ = false;
    RECT defaultRect_{};
    LONG arrangeMode_ = 0;
    LONG arrangeDistance_ = 10;
};

} // namespace vyr::frames
