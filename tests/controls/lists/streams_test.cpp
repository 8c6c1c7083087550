// Hostile property streams: every prefix of a saved stream and streams with damaged bytes load
// without crashing, answer with an HRESULT, and leave a control that still saves.
#include "controls/lists/combobox.h"
#include "controls/lists/display.h"
#include "controls/lists/list.h"
#include "controls/lists/multilist.h"
#include "controls/lists/static.h"
#include "controls/lists/tree.h"
#include "platform/com/dispcall.h"
#include "platform/com/memstream.h"
#include <gtest/gtest.h>
#include <random>

using namespace vyr;
using namespace vyr::controls;

namespace {

using Create = HRESULT (*)(REFIID, void**);

com::ComPtr<IPersistStreamInit> make(Create create)
{
    com::ComPtr<IPersistStreamInit> p;
    EXPECT_EQ(create(IID_IPersistStreamInit, p.putVoid()), S_OK);
    return p;
}

std::vector<uint8_t> saved(Create create, const std::function<void(IDispatch*)>& setup = {})
{
    auto p = make(create);
    if (setup) {
        com::ComPtr<IDispatch> d;
        p->QueryInterface(IID_IDispatch, d.putVoid());
        setup(d.get());
    }
    auto s = com::MemoryStream::create();
    EXPECT_EQ(p->Save(s.get(), TRUE), S_OK);
    return s->bytes();
}

void loadsSafely(Create create, const std::vector<uint8_t>& bytes)
{
    auto p = make(create);
    auto s = com::MemoryStream::create(bytes);
    p->Load(s.get()); // any HRESULT will do
    auto out = com::MemoryStream::create();
    EXPECT_EQ(p->Save(out.get(), FALSE), S_OK);
}

} // namespace

TEST(HostileStreams, PrefixesAndDamagedBytesLoadSafely)
{
    const std::pair<const char*, Create> controls[] = {
        {"Static", createStatic}, {"Display", createDisplay}, {"List", createList},
        {"MultiList", createMultiList}, {"Tree", createTree}, {"ComboBox", createComboBox},
    };
    std::mt19937 random(16);
    for (const auto& [name, create] : controls) {
        SCOPED_TRACE(name);
        std::vector<uint8_t> bytes = saved(create, [](IDispatch* d) {
            com::putProperty(d, "NumberOfColumns", com::Variant::fromShort(3)); // MultiList only
        });
        for (size_t n = 0; n < bytes.size(); ++n)
            loadsSafely(create, std::vector<uint8_t>(bytes.begin(), bytes.begin() + long(n)));
        for (int round = 0; round < 200; ++round) {
            std::vector<uint8_t> damaged = bytes;
            for (int k = 0; k < 3; ++k)
                damaged[random() % damaged.size()] = uint8_t(random());
            loadsSafely(create, damaged);
        }
    }
}

TEST(HostileStreams, MultiListColumnCountOutsideTheLimitIsRefused)
{
    std::vector<uint8_t> bytes = saved(createMultiList, [](IDispatch* d) {
        com::putProperty(d, "NumberOfColumns", com::Variant::fromShort(2));
    });
    // The first record is NumberOfColumns as VT_I2: version, IID, count, dispid, vartype, value.
    const size_t value = 4 + 16 + 4 + 4 + 2;
    ASSERT_EQ(bytes[value], 2);
    bytes[value] = 0xE9; // 1001
    bytes[value + 1] = 0x03;
    auto p = make(createMultiList);
    auto s = com::MemoryStream::create(bytes);
    EXPECT_EQ(p->Load(s.get()), E_INVALIDARG);
}
