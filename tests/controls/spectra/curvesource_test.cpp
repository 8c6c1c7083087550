#include "controls/spectra/curvesource.h"
#include <gtest/gtest.h>
#include <limits>

using namespace vyr::spectra;
using vyr::com::ComPtr;

namespace {

TEST(CurveSource, HandsOutCurvesThroughItsInterface)
{
    auto source = vyr::com::make<CurveSource>();
    source->addCurve(0x0000FF, {{400, 0}, {500, 1}});
    source->addCurve(0x00FF00, {});
    ComPtr<ICurveSource> itf;
    ASSERT_EQ(source->QueryInterface(IID_ICurveSource, itf.putVoid()), S_OK);
    ComPtr<IUnknown> unknown;
    EXPECT_EQ(itf->QueryInterface(IID_IUnknown, unknown.putVoid()), S_OK);
    EXPECT_EQ(unknown.get(), source->unknown());

    LONG count = 0, points = 0;
    OLE_COLOR color = 0;
    EXPECT_EQ(itf->GetCurveCount(&count), S_OK);
    EXPECT_EQ(count, 2);
    EXPECT_EQ(itf->GetCurveColor(0, &color), S_OK);
    EXPECT_EQ(color, 0x0000FFu);
    EXPECT_EQ(itf->GetPointCount(0, &points), S_OK);
    EXPECT_EQ(points, 2);
    double xy[4] = {};
    EXPECT_EQ(itf->GetPoints(0, 2, xy), S_OK);
    EXPECT_EQ(xy[2], 500.0);
    EXPECT_EQ(xy[3], 1.0);

    // Bad requests fail and write nothing.
    EXPECT_EQ(itf->GetCurveColor(2, &color), E_INVALIDARG);
    EXPECT_EQ(itf->GetCurveColor(-1, &color), E_INVALIDARG);
    EXPECT_EQ(itf->GetPointCount(0, nullptr), E_POINTER);
    EXPECT_EQ(itf->GetPoints(0, 3, xy), E_INVALIDARG);
    EXPECT_EQ(itf->GetPoints(0, -1, xy), E_INVALIDARG);
    EXPECT_EQ(itf->GetPoints(0, 1, nullptr), E_POINTER);
    EXPECT_EQ(itf->GetPoints(1, 0, nullptr), S_OK);
}

TEST(CurveSource, ReadCurvesCopiesEveryCurve)
{
    auto source = vyr::com::make<CurveSource>();
    source->addCurve(0x123456, {{400, 0}, {std::numeric_limits<double>::quiet_NaN(), 1}, {500, 2}});
    source->addCurve(0x654321, {{450, 5}});
    const std::vector<Curve> curves = readCurves(source->unknown());
    ASSERT_EQ(curves.size(), 2u);
    EXPECT_EQ(curves[0].color, 0x123456u);
    ASSERT_EQ(curves[0].points.size(), 2u); // the NaN point is dropped
    EXPECT_EQ(curves[0].bounds.yMax, 2.0);
    EXPECT_EQ(curves[1].points[0].y, 5.0);
}

// A source that answers badly in scripted ways.
class BadSource : public vyr::com::Object<ICurveSource> {
public:
    LONG curves = 3;
    LONG points = 2;
    LONG failAt = -1; // curve whose points cannot be read
    HRESULT STDMETHODCALLTYPE GetCurveCount(LONG* count) override { *count = curves; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetCurveColor(LONG, OLE_COLOR* color) override { *color = 7; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPointCount(LONG, LONG* count) override { *count = points; return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPoints(LONG curve, LONG count, double* xy) override
    {
        if (curve == failAt)
            return E_FAIL;
        for (LONG i = 0; i < 2 * count; ++i)
            xy[i] = i;
        return S_OK;
    }
};

TEST(CurveSource, UnreadableCurveEndsTheListKeepingEarlierOnes)
{
    auto bad = vyr::com::make<BadSource>();
    bad->failAt = 1;
    EXPECT_EQ(readCurves(bad->unknown()).size(), 1u);
}

TEST(CurveSource, HostileCountsAreNotBelieved)
{
    auto bad = vyr::com::make<BadSource>();
    bad->points = std::numeric_limits<LONG>::max(); // would need 32 GiB
    EXPECT_TRUE(readCurves(bad->unknown()).empty());
    bad->points = -5;
    EXPECT_TRUE(readCurves(bad->unknown()).empty());
    bad->points = 0;
    bad->curves = std::numeric_limits<LONG>::max();
    EXPECT_EQ(readCurves(bad->unknown()).size(), size_t(kMaxCurves));
    bad->curves = -1;
    EXPECT_TRUE(readCurves(bad->unknown()).empty());
    // Many curves each within the limit stop where all of them together would pass it.
    bad->curves = 100;
    bad->points = kMaxCurvePoints;
    EXPECT_EQ(readCurves(bad->unknown()).size(), size_t(kMaxTotalPoints / kMaxCurvePoints));
}

TEST(CurveSource, ObjectsWithoutTheInterfaceGiveNoCurves)
{
    EXPECT_TRUE(readCurves(nullptr).empty());
    class Other : public vyr::com::Object<IPersist> {
        HRESULT STDMETHODCALLTYPE GetClassID(CLSID*) override { return E_NOTIMPL; }
    };
    auto other = vyr::com::make<Other>();
    EXPECT_TRUE(readCurves(other->unknown()).empty());
}

} // namespace
