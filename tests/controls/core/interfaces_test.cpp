// Published interfaces never change: each public interface's IID and slot count is pinned
// here, so that a method added in place (instead of in a new interface with its own IID) or a
// changed identifier fails at once. A new interface gets a new row.
#include "controls/core/control.h"
#include "controls/core/typelibrary.h"
#include "controls/core/vyrcontrols.h"
#include <gtest/gtest.h>
#include <cstring>

using namespace vyr;
using namespace vyr::controls;
using com::ComPtr;

namespace {

// The vtable slot of a virtual member function, from its pointer-to-member representation in
// the Itanium C++ ABI (x86-64: 1 + byte offset; AArch64: byte offset, virtual flag in adj).
template <class M>
size_t slotOf(M member)
{
    struct Rep {
        uintptr_t ptr;
        ptrdiff_t adj;
    } r;
    static_assert(sizeof(M) == sizeof(Rep));
    std::memcpy(&r, &member, sizeof r);
#if defined(__aarch64__)
    return r.ptr / sizeof(void*);
#else
    return (r.ptr - 1) / sizeof(void*);
#endif
}

struct Pinned {
    const char* name;
    IID iid;
    const char* published; // the IID as first published
    size_t slotCount;          // IUnknown's and IDispatch's included
};

} // namespace

// The interfaces declared in C++ in the public header: slots counted from their last member.
TEST(PublishedInterfaces, HeaderInterfacesKeepTheirIidAndSlots)
{
    const struct {
        Pinned pin;
        size_t declared;
    } rows[] = {
        {{"ICommandClient", IID_ICommandClient, "33AF1BCD-E92D-4977-8733-750E7297D39F", 6},
         slotOf(&ICommandClient::OnCommandStateChangedEx) + 1},
        {{"ICommandServer", IID_ICommandServer, "C3FA603E-6EBB-4D66-978D-F22BA7346114", 35},
         slotOf(&ICommandServer::GetObject) + 1},
        {{"ICommandLabel", IID_ICommandLabel, "52FFC763-FB97-449E-957B-333FB7758EA1", 4},
         slotOf(&ICommandLabel::GetCommandLabel) + 1},
        {{"IVyrSite", IID_IVyrSite, "C68B771E-FF5A-46DE-BB5E-4D39A627EF8D", 6}, slotOf(&IVyrSite::OnFocus) + 1},
        {{"IVyrSite2", IID_IVyrSite2, "B43E0291-4059-487D-ABEF-68664754D5AC", 7}, slotOf(&IVyrSite2::GetSibling) + 1},
        {{"IVyrControl", IID_IVyrControl, "90523E19-DE6F-41F7-BDBC-19B041C074A0", 11},
         slotOf(&IVyrControl::OnMnemonic) + 1},
        {{"IVyrWindowlessSite", IID_IVyrWindowlessSite, "178B30F4-3621-45C8-A54D-285BD3E23D47", 13},
         slotOf(&IVyrWindowlessSite::EnableObject) + 1},
        {{"IVyrWindowlessControl", IID_IVyrWindowlessControl, "53EAB2EE-18D7-4B63-9C46-2B7E5D59D525", 7},
         slotOf(&IVyrWindowlessControl::OnWindowEvent) + 1},
        {{"IVyrPropertyBrowser", IID_IVyrPropertyBrowser, "8C2E9B61-4D7A-4F0E-9B3C-5A1D2E7F4B10", 10},
         slotOf(&IVyrPropertyBrowser::IsPointInClientArea) + 1},
        {{"IFrame", IID_IFrame, "5693C545-1C76-4991-8499-F0A9DCB5F273", 73}, slotOf(&IFrame::AboutBox) + 1},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.pin.name);
        EXPECT_EQ(com::formatGuid(r.pin.iid), std::string("{") + r.pin.published + "}");
        EXPECT_EQ(r.declared, r.pin.slotCount);
    }
}

// The dual interfaces of the type library: their vtable views' slots.
TEST(PublishedInterfaces, DualInterfacesKeepTheirIidAndSlots)
{
    const Pinned rows[] = {
        {"IButton", IID_IButton, "176DF051-ACA9-4ED1-80A9-221B1F81BC70", 36},
        {"IOptionButton", IID_IOptionButton, "68DD6EE3-C705-4D57-883C-8EFB658F74CA", 32},
        {"IButtonList", IID_IButtonList, "6BFF524A-92C1-4BAD-A270-D028538E1C41", 39},
        {"IDisplayButton", IID_IDisplayButton, "423699B6-627A-4703-95C7-57647569CAF7", 28},
        {"IDisplayOptionButton", IID_IDisplayOptionButton, "4662A891-494D-4559-96C9-2E759A5A9CE7", 28},
        {"IRadioButton", IID_IRadioButton, "60F1312B-024F-4FA6-9FA8-2CE17C10EFB6", 39},
        {"IFrame", IID_IFrame, "5693C545-1C76-4991-8499-F0A9DCB5F273", 73},
        {"IVyrPropertyBrowser", IID_IVyrPropertyBrowser, "8C2E9B61-4D7A-4F0E-9B3C-5A1D2E7F4B10", 17},
        {"IStatic", IID_IStatic, "E25DE915-B3D1-4F4E-BAE0-E6ACAED7D6D3", 33},
        {"IDisplay", IID_IDisplay, "737638F4-9C59-4B30-95A2-2A8E1575072F", 42},
        {"ISlider", IID_ISlider, "AC9592CE-76CA-496D-9FDA-81D1D55190C3", 54},
        {"ISpectraCtrl", IID_ISpectraCtrl, "4BB98F75-73AB-44B9-9940-CC4913F79BAA", 46},
        {"ITree", IID_ITree, "2C99A5BB-75E9-469F-A1A7-D31613B4A627", 30},
        {"ISpiSlider", IID_ISpiSlider, "14EC8700-5A6D-44DD-BFE8-6A5A05454E37", 35},
        {"IList", IID_IList, "CAC5AA74-3142-4174-80D6-4CFBF11F9689", 17},
        {"ISliceCtrl", IID_ISliceCtrl, "8F798237-F366-4E8C-A8EC-2E4280E284AC", 22},
        {"IMultiList", IID_IMultiList, "0CA20AA7-8798-411B-9582-7869D0B075A2", 31},
        {"IVyrValueEdit", IID_IVyrValueEdit, "5C01805B-DB3E-44E7-BA86-F2AC2BD3C425", 28},
        {"IVyrTimeEdit", IID_IVyrTimeEdit, "6C42AAC7-8404-40BB-97CC-85A600EEEED3", 16},
        {"IVyrEdit", IID_IVyrEdit, "20305DD5-9CC6-4833-B9C1-F00CC18B405F", 16},
        {"IVyrComboBox", IID_IVyrComboBox, "E60C55C7-321D-4360-B011-47C22705C881", 19},
        {"IVyrCheckBox", IID_IVyrCheckBox, "CBF0DA33-BC5D-437A-96BB-D7B252A9F2AC", 21},
        {"IListButton", IID_IListButton, "AA6D6C16-5B2D-4A27-B1CE-FAB52C489A70", 38},
        {"IPopupDialog", IID_IPopupDialog, "6DE96307-7769-41E9-A92A-73A657C88009", 44},
        {"IGrabField", IID_IGrabField, "0709D19F-757C-4EFA-A04A-4A1DE5F62DE8", 21},
        {"IMultiPageFrame", IID_IMultiPageFrame, "0BD67167-35D0-4CD8-8A14-24B6341777BC", 32},
    };
    ComPtr<ITypeLib> lib;
    ASSERT_EQ(controlsTypeLib(lib.put()), S_OK);
    size_t duals = 0;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        ComPtr<ITypeInfo> info;
        ASSERT_EQ(lib->GetTypeInfo(i, info.put()), S_OK);
        TYPEATTR* a = nullptr;
        ASSERT_EQ(info->GetTypeAttr(&a), S_OK);
        const bool dual = a->typekind == TKIND_DISPATCH && (a->wTypeFlags & TYPEFLAG_FDUAL);
        const IID iid = a->guid;
        info->ReleaseTypeAttr(a);
        if (!dual)
            continue;
        ++duals;
        com::Bstr name;
        info->GetDocumentation(MEMBERID_NIL, name.put(), nullptr, nullptr, nullptr);
        SCOPED_TRACE(name.str());
        const Pinned* pin = nullptr;
        for (const Pinned& p : rows)
            if (name.str() == p.name)
                pin = &p;
        ASSERT_TRUE(pin) << "a new interface needs a row here";
        EXPECT_EQ(iid, pin->iid);
        EXPECT_EQ(com::formatGuid(iid), std::string("{") + pin->published + "}");
        HREFTYPE ref = 0;
        ComPtr<ITypeInfo> view;
        ASSERT_EQ(info->GetRefTypeOfImplType(UINT(-1), &ref), S_OK);
        ASSERT_EQ(info->GetRefTypeInfo(ref, view.put()), S_OK);
        ASSERT_EQ(view->GetTypeAttr(&a), S_OK);
        EXPECT_EQ(a->cbSizeVft / sizeof(void*), pin->slotCount);
        view->ReleaseTypeAttr(a);
    }
    EXPECT_EQ(duals, std::size(rows));
}
