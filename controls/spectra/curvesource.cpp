#include "controls/spectra/curvesource.h"
#include <algorithm>

namespace vyr::spectra {

void CurveSource::addCurve(OLE_COLOR color, std::vector<CurvePoint> points)
{
    curves_.push_back({color, std::move(points)});
}

const CurveSource::Entry* CurveSource::find(LONG curve) const
{
    return curve >= 0 && size_t(curve) < curves_.size() ? &curves_[size_t(curve)] : nullptr;
}

HRESULT CurveSource::GetCurveCount(LONG* count)
{
    if (!count)
        return E_POINTER;
    *count = LONG(std::min<size_t>(curves_.size(), size_t(INT32_MAX)));
    return S_OK;
}

HRESULT CurveSource::GetCurveColor(LONG curve, OLE_COLOR* color)
{
    if (!color)
        return E_POINTER;
    const Entry* e = find(curve);
    if (!e)
        return E_INVALIDARG;
    *color = e->color;
    return S_OK;
}

HRESULT CurveSource::GetPointCount(LONG curve, LONG* count)
{
    if (!count)
        return E_POINTER;
    const Entry* e = find(curve);
    if (!e)
        return E_INVALIDARG;
    *count = LONG(std::min<size_t>(e->points.size(), size_t(INT32_MAX)));
    return S_OK;
}

HRESULT CurveSource::GetPoints(LONG curve, LONG count, double* points)
{
    const Entry* e = find(curve);
    if (!e || count < 0 || size_t(count) > e->points.size())
        return E_INVALIDARG;
    if (count > 0 && !points)
        return E_POINTER;
    for (size_t i = 0; i < size_t(count); ++i) {
        points[2 * i] = e->points[i].x;
        points[2 * i + 1] = e->points[i].y;
    }
    return S_OK;
}

std::vector<Curve> readCurves(IUnknown* source)
{
    std::vector<Curve> curves;
    com::ComPtr<ICurveSource> src;
    if (!source || FAILED(source->QueryInterface(IID_ICurveSource, src.putVoid())) || !src)
        return curves;
    LONG count = 0;
    if (FAILED(src->GetCurveCount(&count)) || count <= 0)
        return curves;
    count = std::min(count, kMaxCurves);
    std::vector<double> buffer;
    long long total = 0;
    for (LONG i = 0; i < count; ++i) {
        OLE_COLOR color = 0;
        LONG n = 0;
        if (FAILED(src->GetCurveColor(i, &color)) || FAILED(src->GetPointCount(i, &n)) || n < 0 ||
            n > kMaxCurvePoints || total + n > kMaxTotalPoints)
            break;
        total += n;
        buffer.assign(size_t(n) * 2, 0.0);
        if (n > 0 && FAILED(src->GetPoints(i, n, buffer.data())))
            break;
        std::vector<CurvePoint> points(static_cast<size_t>(n));
        for (size_t k = 0; k < size_t(n); ++k)
            points[k] = {buffer[2 * k], buffer[2 * k + 1]};
        curves.push_back(Curve::make(color, std::move(points)));
    }
    return curves;
}

} // namespace vyr::spectra
