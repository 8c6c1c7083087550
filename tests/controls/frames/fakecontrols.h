#pragma once
// Hosted controls without windows: each control is its class identifier, its rectangle and the
// bytes it saves, so that page forms can be written and read back by plain calls.
#include "controls/frames/pageform.h"
#include <string>
#include <vector>

namespace vyr::frames::test {

constexpr CLSID kButtonClsid = com::guidOf("11111111-2222-3333-4444-555555555555");
constexpr CLSID kSliderClsid = com::guidOf("66666666-7777-8888-9999-AAAAAAAAAAAA");

struct FakeControl {
    CLSID clsid = kButtonClsid;
    RECT rect{};
    std::vector<uint8_t> data;
};

bool operator==(const FakeControl& a, const FakeControl& b);
std::ostream& operator<<(std::ostream& os, const FakeControl& c);

class FakeControls : public HostedControls {
public:
    std::vector<FakeControl> controls;
    int failSaveAt = -1; // index whose save fails with E_NOINTERFACE

    size_t count() const override { return controls.size(); }
    ControlRecord record(size_t i) const override { return {controls[i].clsid, controls[i].rect}; }
    HRESULT save(size_t i, IStream* s) override;
    // Known classes are the two above; others give REGDB_E_CLASSNOTREG.
    HRESULT create(const ControlRecord& record, IStream* data, uint32_t dataLength) override;
};

FakeControl control(CLSID clsid, RECT rect, std::string data);

} // namespace vyr::frames::test
