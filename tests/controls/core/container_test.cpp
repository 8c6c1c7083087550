// A container that knows the control library only through its public header: it loads the
// library, creates controls through their class factories, drives them through IDispatch and
// keeps their saved bytes in a stream of its own.
#include "controls/core/vyrcontrols.h"
#include "platform/com/dispcall.h"
#include "platform/com/font.h"
#include "platform/com/memstream.h"
#include "platform/com/persist.h"
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <cstring>

using namespace vyr;
using com::ComPtr;
using com::Variant;

namespace {

struct Library {
    void* handle = dlopen(VYR_CONTROLS_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    decltype(&DllGetClassObject) getClassObject =
        handle ? reinterpret_cast<decltype(&DllGetClassObject)>(dlsym(handle, "DllGetClassObject")) : nullptr;
    decltype(&DllCanUnloadNow) canUnloadNow =
        handle ? reinterpret_cast<decltype(&DllCanUnloadNow)>(dlsym(handle, "DllCanUnloadNow")) : nullptr;
};

Library& library()
{
    static Library lib;
    return lib;
}

ComPtr<IDispatch> create(const CLSID& clsid)
{
    ComPtr<IClassFactory> factory;
    EXPECT_EQ(library().getClassObject(clsid, IID_IClassFactory, factory.putVoid()), S_OK);
    ComPtr<IDispatch> d;
    if (factory)
        EXPECT_EQ(factory->CreateInstance(nullptr, IID_IDispatch, d.putVoid()), S_OK);
    return d;
}

// Reads the little-endian fields of a saved property list.
struct Reader {
    const std::vector<uint8_t>& b;
    size_t pos = 0;
    template <class T>
    T get()
    {
        T v{};
        EXPECT_LE(pos + sizeof v, b.size());
        if (pos + sizeof v <= b.size())
            std::memcpy(&v, b.data() + pos, sizeof v);
        pos += sizeof v;
        return v;
    }
    std::u16string bstr()
    {
        const auto bytes = get<uint32_t>();
        std::u16string s(bytes / 2 - 1, u'\0');
        std::memcpy(s.data(), b.data() + pos, bytes - 2);
        pos += bytes;
        return s;
    }
};

} // namespace

TEST(Container, LoadsTheLibraryAndFindsItsExports)
{
    ASSERT_NE(library().handle, nullptr) << dlerror();
    ASSERT_NE(library().getClassObject, nullptr);
    ASSERT_NE(library().canUnloadNow, nullptr);
    ComPtr<IClassFactory> f;
    EXPECT_EQ(library().getClassObject(vyr::controls::CLSID_Button, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(library().getClassObject(vyr::controls::CLSID_AtlControlHostPosition, IID_IClassFactory, f.putVoid()),
              CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(f.get(), nullptr);
}

TEST(Container, CreatesButtonsAndDrivesThemThroughDispatch)
{
    ASSERT_NE(library().handle, nullptr);
    ComPtr<IDispatch> button = create(vyr::controls::CLSID_Button);
    ComPtr<IDispatch> option = create(vyr::controls::CLSID_OptionButton);
    ASSERT_TRUE(button && option);
    EXPECT_EQ(library().canUnloadNow(), S_FALSE);

    EXPECT_EQ(com::putProperty(button.get(), "Caption", Variant::fromString("&Start")), S_OK);
    EXPECT_EQ(com::putProperty(button.get(), "Command", Variant::fromString("Scan.Start")), S_OK);
    EXPECT_EQ(com::putProperty(button.get(), "Enabled", Variant::fromBool(true)), S_OK);
    EXPECT_EQ(com::putProperty(button.get(), "BackColor", Variant::fromULong(0x00FF8040)), S_OK);
    EXPECT_EQ(com::putProperty(option.get(), "PictureViaInterface", Variant::fromBool(true)), S_OK);
    // Option buttons have no Enabled property.
    EXPECT_EQ(com::putProperty(option.get(), "Enabled", Variant::fromBool(true)), DISP_E_UNKNOWNNAME);

    Variant v;
    ASSERT_EQ(com::getProperty(button.get(), "caption", v), S_OK);
    EXPECT_EQ(v.toString(), "&Start");
    ASSERT_EQ(com::getProperty(button.get(), "BackColor", v), S_OK);
    EXPECT_EQ(v.type(), VT_UI4);
    EXPECT_EQ(v.get().ulVal, 0x00FF8040u);
    ASSERT_EQ(com::getProperty(option.get(), 123, v), S_OK);
    EXPECT_EQ(v.type(), VT_BOOL);
    EXPECT_EQ(v.get().boolVal, VARIANT_TRUE);
}

TEST(Container, SavedBytesFollowThePropertyListLayout)
{
    ASSERT_NE(library().handle, nullptr);
    ComPtr<IDispatch> button = create(vyr::controls::CLSID_Button);
    ASSERT_TRUE(button);
    com::putProperty(button.get(), "Command", Variant::fromString("Go"));
    com::putProperty(button.get(), "Caption", Variant::fromString("Run"));
    com::putProperty(button.get(), "PicturePosition", Variant::fromShort(2));

    ComPtr<IPersistStreamInit> persist;
    ASSERT_EQ(button->QueryInterface(IID_IPersistStreamInit, persist.putVoid()), S_OK);
    auto stream = com::MemoryStream::create();
    ASSERT_EQ(persist->Save(stream.get(), TRUE), S_OK);
    EXPECT_EQ(persist->IsDirty(), S_FALSE);

    Reader r{stream->bytes()};
    EXPECT_EQ(r.get<uint32_t>(), 1u);
    uint8_t iid[16];
    for (auto& b : iid)
        b = r.get<uint8_t>();
    EXPECT_EQ(com::guidFromBytes(iid), IID_IDispatch);
    ASSERT_EQ(r.get<uint32_t>(), 12u);
    // Button save order: Command, Enabled, Caption, BackColor, ForeColor, PictureEnable,
    // CaptionEnable, PicturePosition, CaptionPosition, Picture, BackPicture, Font.
    EXPECT_EQ(r.get<int32_t>(), 50);
    EXPECT_EQ(r.get<uint16_t>(), VT_BSTR);
    EXPECT_EQ(r.bstr(), u"Go");
    EXPECT_EQ(r.get<int32_t>(), -514);
    EXPECT_EQ(r.get<uint16_t>(), VT_BOOL);
    EXPECT_EQ(r.get<int16_t>(), 0);
    EXPECT_EQ(r.get<int32_t>(), -518);
    EXPECT_EQ(r.get<uint16_t>(), VT_BSTR);
    EXPECT_EQ(r.bstr(), u"Run");
    EXPECT_EQ(r.get<int32_t>(), -501);
    EXPECT_EQ(r.get<uint16_t>(), VT_UI4);
    EXPECT_EQ(r.get<uint32_t>(), 0x8000000Fu);
    EXPECT_EQ(r.get<int32_t>(), -513);
    EXPECT_EQ(r.get<uint16_t>(), VT_UI4);
    EXPECT_EQ(r.get<uint32_t>(), 0x80000012u);
    for (int id : {4, 3}) {
        EXPECT_EQ(r.get<int32_t>(), id);
        EXPECT_EQ(r.get<uint16_t>(), VT_BOOL);
        EXPECT_EQ(r.get<int16_t>(), -1);
    }
    EXPECT_EQ(r.get<int32_t>(), 5);
    EXPECT_EQ(r.get<uint16_t>(), VT_I2);
    EXPECT_EQ(r.get<int16_t>(), 2);
    EXPECT_EQ(r.get<int32_t>(), 6);
    EXPECT_EQ(r.get<uint16_t>(), VT_I2);
    EXPECT_EQ(r.get<int16_t>(), 4);
    for (int id : {7, 8}) {
        EXPECT_EQ(r.get<int32_t>(), id);
        EXPECT_EQ(r.get<uint16_t>(), VT_DISPATCH);
        for (int i = 0; i < 16; ++i)
            EXPECT_EQ(r.get<uint8_t>(), 0) << "a null picture is the all-zero CLSID";
    }
    EXPECT_EQ(r.get<int32_t>(), -512);
    EXPECT_EQ(r.get<uint16_t>(), VT_DISPATCH);
    uint8_t clsid[16];
    for (auto& b : clsid)
        b = r.get<uint8_t>();
    EXPECT_EQ(com::guidFromBytes(clsid), CLSID_StdFont);

    // The bytes load back into a fresh button.
    ComPtr<IDispatch> copy = create(vyr::controls::CLSID_Button);
    ComPtr<IPersistStreamInit> copyPersist;
    ASSERT_EQ(copy->QueryInterface(IID_IPersistStreamInit, copyPersist.putVoid()), S_OK);
    stream->Seek({0}, STREAM_SEEK_SET, nullptr);
    ASSERT_EQ(copyPersist->Load(stream.get()), S_OK);
    Variant v;
    com::getProperty(copy.get(), "Caption", v);
    EXPECT_EQ(v.toString(), "Run");
    com::getProperty(copy.get(), "PicturePosition", v);
    EXPECT_EQ(v.toLong(), 2);
    com::getProperty(copy.get(), "Command", v);
    EXPECT_EQ(v.toString(), "Go");
}
