#include "tests/controls/frames/fakecontrols.h"
#include "controls/frames/rectops.h"
#include <ostream>

namespace vyr::frames::test {

bool operator==(const FakeControl& a, const FakeControl& b)
{
    return a.clsid == b.clsid && sameRect(a.rect, b.rect) && a.data == b.data;
}

std::ostream& operator<<(std::ostream& os, const FakeControl& c)
{
    return os << com::formatGuid(c.clsid) << " (" << c.rect.left << "," << c.rect.top << "," << c.rect.right << ","
              << c.rect.bottom << ") " << std::string(c.data.begin(), c.data.end());
}

HRESULT FakeControls::save(size_t i, IStream* s)
{
    if (int(i) == failSaveAt)
        return E_NOINTERFACE;
    return com::writeAll(s, controls[i].data.data(), ULONG(controls[i].data.size()));
}

HRESULT FakeControls::create(const ControlRecord& record, IStream* data, uint32_t dataLength)
{
    if (record.clsid != kButtonClsid && record.clsid != kSliderClsid)
        return REGDB_E_CLASSNOTREG;
    FakeControl c{record.clsid, record.rect, std::vector<uint8_t>(dataLength)};
    if (HRESULT hr = com::readExact(data, c.data.data(), dataLength); FAILED(hr))
        return hr;
    controls.push_back(std::move(c));
    return S_OK;
}

FakeControl control(CLSID clsid, RECT rect, std::string data)
{
    return {clsid, rect, std::vector<uint8_t>(data.begin(), data.end())};
}

} // namespace vyr::frames::test
