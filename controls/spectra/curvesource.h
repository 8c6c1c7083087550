#pragma once
// The curve source: the object a command server hands out for the spectra command, through
// which the spectra display reads its curves. CurveSource is a plain implementation for
// hosts and tests; readCurves is how the display reads any implementation.
#include "controls/spectra/curve.h"
#include "platform/com/object.h"
#include <vector>

struct ICurveSource : IUnknown {
    // Number of curves.
    STDMETHOD(GetCurveCount)(LONG* count) = 0;
    // Colour of curve `curve` (0-based).
    STDMETHOD(GetCurveColor)(LONG curve, OLE_COLOR* color) = 0;
    // Number of points of curve `curve`.
    STDMETHOD(GetPointCount)(LONG curve, LONG* count) = 0;
    // The first `count` points of curve `curve` into `points`, as 2 x count doubles: wavelength
    // then value of each point. E_INVALIDARG when the curve has fewer points.
    STDMETHOD(GetPoints)(LONG curve, LONG count, double* points) = 0;
};

constexpr IID IID_ICurveSource = vyr::com::guidOf("02C6B655-959F-49BE-809C-08EA511C0181");
VYR_DECLARE_INTERFACE(ICurveSource, IID_ICurveSource, IUnknown)

namespace vyr::spectra {

class CurveSource : public com::Object<ICurveSource> {
public:
    void addCurve(OLE_COLOR color, std::vector<CurvePoint> points);
    void clear() { curves_.clear(); }

    HRESULT STDMETHODCALLTYPE GetCurveCount(LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetCurveColor(LONG curve, OLE_COLOR* color) override;
    HRESULT STDMETHODCALLTYPE GetPointCount(LONG curve, LONG* count) override;
    HRESULT STDMETHODCALLTYPE GetPoints(LONG curve, LONG count, double* points) override;

private:
    struct Entry {
        OLE_COLOR color;
        std::vector<CurvePoint> points;
    };
    const Entry* find(LONG curve) const;
    std::vector<Entry> curves_;
};

// Limits on what a source may hand over; a curve beyond them counts as unreadable, and
// curves past the first kMaxCurves are not read.
constexpr LONG kMaxCurves = 4096;
constexpr LONG kMaxCurvePoints = 1 << 22;
constexpr long long kMaxTotalPoints = 1 << 23;

// Reads every curve of `source` (any object; none when it lacks the curve interface). Reading
// stops at the first curve that cannot be read, keeping those before it.
std::vector<Curve> readCurves(IUnknown* source);

} // namespace vyr::spectra
