#pragma once
// The browser's model apart from any window: the browsed objects with their property-change
// connections, their rows, and the lines a browser shows. A line is one property present in
// every browsed object (same dispid and name); it shows a value only where all objects agree,
// and a write goes to all of them.
#include "controls/propertypages/browserrows.h"
#include "platform/com/connection.h"
#include <functional>
#include <memory>

namespace vyr::controls::browser {

class NotifySink;

struct Line {
    std::string name;
    std::string doc;
    DISPID id = 0;
    GUID kind{};
    std::vector<EnumConst> constants;
    bool readOnly = false;
    bool agree = false;   // every object answered with the same value
    com::Variant value;   // the common value; empty unless agree
    std::vector<const Row*> rows; // one per browsed object
};

class BrowserModel {
public:
    BrowserModel();
    ~BrowserModel();
    BrowserModel(const BrowserModel&) = delete;
    BrowserModel& operator=(const BrowserModel&) = delete;

    // Forget every object (dropping its connection), then add `object` when given.
    HRESULT setDispatch(IDispatch* object);
    // E_POINTER for null; the error of reading the rows, keeping the earlier ones.
    HRESULT addDispatch(IDispatch* object);
    void clear();

    size_t objectCount() const { return objects_.size(); }
    const std::vector<Line>& lines() const { return lines_; }
    // Rows of the third alias kind, of every object.
    std::vector<const Row*> thirdRows() const;
    // Index of the line with that name, -1 when absent.
    int lineOf(std::string_view name) const;

    // Writes `value` to the line's property of every object, then reads them back.
    // The first failure is returned; objects after it are still written.
    HRESULT write(size_t line, const com::Variant& value);
    HRESULT writeText(size_t line, const std::string& text);
    std::string text(size_t line) const;

    // A browsed object reported a change of `id` (DISPID_UNKNOWN: any).
    void onChanged(IDispatch* object, DISPID id);
    // Called after the lines changed (values or rows).
    std::function<void(DISPID)> changed;

private:
    struct Object {
        com::ComPtr<IDispatch> dispatch;
        com::ComPtr<IConnectionPoint> point;
        DWORD cookie = 0;
        std::vector<Row> rows, third;
    };
    void rebuild();
    void disconnect(Object& o);

    std::vector<std::unique_ptr<Object>> objects_;
    std::vector<Line> lines_;
    com::ComPtr<NotifySink> sink_;
};

} // namespace vyr::controls::browser
