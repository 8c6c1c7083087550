#include "controls/core/classtable.h"
#include "controls/core/vyrcontrols.h"
#include <strings.h>
#include <string>

namespace vyr::controls {

// Creation functions of the built classes, defined in their subsystem folders. They are weak
// references: a library built without a subsystem (see VYR_CONTROL_FOLDERS) finds them null
// and answers CLASS_E_CLASSNOTAVAILABLE for those rows. The subsystem libraries are linked
// whole, so a present creator is always found.
__attribute__((weak)) HRESULT createButton(REFIID iid, void** out);
__attribute__((weak)) HRESULT createOptionButton(REFIID iid, void** out);
__attribute__((weak)) HRESULT createButtonList(REFIID iid, void** out);
__attribute__((weak)) HRESULT createDisplayButton(REFIID iid, void** out);
__attribute__((weak)) HRESULT createDisplayOptionButton(REFIID iid, void** out);
__attribute__((weak)) HRESULT createRadioButton(REFIID iid, void** out);
__attribute__((weak)) HRESULT createCheckBox(REFIID iid, void** out);
__attribute__((weak)) HRESULT createFrame(REFIID iid, void** out);
__attribute__((weak)) HRESULT createMultiPageFrame(REFIID iid, void** out);
__attribute__((weak)) HRESULT createPopupDialog(REFIID iid, void** out);
__attribute__((weak)) HRESULT createGrabField(REFIID iid, void** out);
__attribute__((weak)) HRESULT createObjective(REFIID iid, void** out);
__attribute__((weak)) HRESULT createSlider(REFIID iid, void** out);
__attribute__((weak)) HRESULT createValueEdit(REFIID iid, void** out);
__attribute__((weak)) HRESULT createSpiSlider(REFIID iid, void** out);
__attribute__((weak)) HRESULT createTimeEdit(REFIID iid, void** out);
__attribute__((weak)) HRESULT createEdit(REFIID iid, void** out);
__attribute__((weak)) HRESULT createSpectraCtrl(REFIID iid, void** out);
__attribute__((weak)) HRESULT createSliceCtrl(REFIID iid, void** out);
__attribute__((weak)) HRESULT createStatic(REFIID iid, void** out);
__attribute__((weak)) HRESULT createDisplay(REFIID iid, void** out);
__attribute__((weak)) HRESULT createList(REFIID iid, void** out);
__attribute__((weak)) HRESULT createMultiList(REFIID iid, void** out);
__attribute__((weak)) HRESULT createTree(REFIID iid, void** out);
__attribute__((weak)) HRESULT createComboBox(REFIID iid, void** out);
__attribute__((weak)) HRESULT createPropertyBrowser(REFIID iid, void** out);
__attribute__((weak)) HRESULT createButtonPpg(REFIID iid, void** out);
__attribute__((weak)) HRESULT createRadioButtonPpg(REFIID iid, void** out);
__attribute__((weak)) HRESULT createFramePpg(REFIID iid, void** out);
__attribute__((weak)) HRESULT createColorPpg(REFIID iid, void** out);
__attribute__((weak)) HRESULT createFontPpg(REFIID iid, void** out);
__attribute__((weak)) HRESULT createPictPpg(REFIID iid, void** out);

namespace {

constexpr ClassKind C = ClassKind::Control;
constexpr ClassKind P = ClassKind::Page;

const ClassRow kRows[] = {
    {CLSID_Button, "Button", "VyrControls.Button.1", 8410, "Button Control", 1, 135569, C, createButton},
    {CLSID_ButtonPpg, "ButtonPpg", "VyrControls.ButtonPpg.1", 8411, "Button Property Page", 0, 0, P, createButtonPpg},
    {CLSID_OptionButton, "OptionButton", "VyrControls.OptionButton.1", 8438, "OptionButton Control", 2, 131473, C,
     createOptionButton},
    {CLSID_ButtonList, "ButtonList", "VyrControls.ButtonList.1", 8470, "Button List Control", 454, 131473, C,
     createButtonList},
    {CLSID_DisplayButton, "DisplayButton", "VyrControls.DisplayButton.1", 8410, "Button Control", 1, 135569, C,
     createDisplayButton},
    {CLSID_DisplayOptionButton, "DisplayOptionButton", "VyrControls.DisplayOptionButton.1", 8410, "Button Control", 1,
     135569, C, createDisplayOptionButton},
    {CLSID_ColorPpg, "ColorPpg", "VyrControls.ColorPpg.1", 8434, "Color Property Page", 0, 0, P, createColorPpg},
    {CLSID_PictPpg, "PictPpg", "VyrControls.PictPpg.1", 8426, "Picture Property Page", 0, 0, P, createPictPpg},
    {CLSID_FontPpg, "FontPpg", "VyrControls.FontPpg.1", 8430, "Font Property Page", 0, 0, P, createFontPpg},
    {CLSID_RadioButton, "RadioButton", "VyrControls.RadioButton.1", 8444, "Radio Button", 5, 135569, C, createRadioButton},
    {CLSID_RadioButtonPpg, "RadioButtonPpg", "VyrControls.RadioButtonPpg.1", 8416, "Radio Button Property Page", 0, 0,
     P, createRadioButtonPpg},
    {CLSID_Frame, "Frame", "VyrControls.Frame.1", 8420, "Frame Control", 410, 149905, C, createFrame},
    {CLSID_FramePpg, "FramePpg", "VyrControls.FramePpg.1", 8421, "Frame Property Page", 0, 0, P, createFramePpg},
    {CLSID_PropertyBrowser, "PropertyBrowser", "VyrControls.PropertyBrowser.1", 8471, "Property Browser Control", 445,
     133265, C, createPropertyBrowser},
    {CLSID_Static, "Static", "VyrControls.Static.1", 8451, "Static Control", 426, 139665, C, createStatic},
    {CLSID_Display, "Display", "VyrControls.Display.1", 8472, "Display", 446, 139665, C, createDisplay},
    {CLSID_Slider, "Slider", "VyrControls.Slider.1", 8441, "SPI Double Slider Control", 404, 131473, C, createSlider},
    {CLSID_SpectraCtrl, "SpectraCtrl", "VyrControls.SpectraCtrl.1", 8481, "Spectra Selection Control", 456, 131473, C,
     createSpectraCtrl},
    {CLSID_Tree, "Tree", "VyrControls.Tree.1", 8482, "Tree Control", 457, 131473, C, createTree},
    {CLSID_SpiSlider, "SpiSlider", "VyrControls.SpiSlider.1", 8441, "SPI Double Slider Control", 455, 131473, C,
     createSpiSlider},
    {CLSID_List, "List", "VyrControls.List.1", 8459, "List Control", 440, 131473, C, createList},
    {CLSID_SliceCtrl, "SliceCtrl", "VyrControls.SliceCtrl.1", 8483, "Slice Control", 458, 131473, C, createSliceCtrl},
    {CLSID_MultiList, "MultiList", "VyrControls.MultiList.1", 8459, "List Control", 440, 131473, C, createMultiList},
    {CLSID_VyrValueEdit, "VyrValueEdit", "VyrControls.ValueEdit.1", 8469, "Numeric edit Control", 450, 131473, C,
     createValueEdit},
    {CLSID_VyrTimeEdit, "VyrTimeEdit", "VyrControls.TimeEdit.1", 8468, "Time Edit Control", 453, 131473, C,
     createTimeEdit},
    {CLSID_VyrEdit, "VyrEdit", "VyrControls.Edit.1", 8467, "Edit Control", 452, 131473, C, createEdit},
    {CLSID_VyrComboBox, "VyrComboBox", "VyrControls.ComboBox.1", 8462, "Combo Control", 443, 131473, C, createComboBox},
    {CLSID_VyrCheckBox, "VyrCheckBox", "VyrControls.CheckBox.1", 8466, "Checkbox Control", 449, 131473, C, createCheckBox},
    {CLSID_Objective, "Objective", "VyrControls.Objective.1", 8410, "Button Control", 1, 135569, C, createObjective},
    {CLSID_PopupDialog, "PopupDialog", "VyrControls.PopupDialog.1", 8410, "Button Control", 1, 135569, C,
     createPopupDialog},
    {CLSID_GrabField, "GrabField", "VyrControls.GrabField.1", 8464, "Grab Field Control", 451, 139665, C,
     createGrabField},
    {CLSID_MultiPageFrame, "MultiPageFrame", "Vyr.MultiPageFrame.1", 8475, "Multi page frame", 0, 0,
     ClassKind::PageStyle, createMultiPageFrame},
};
static_assert(std::size(kRows) == 32);

} // namespace

std::span<const ClassRow> classTable() { return kRows; }

const ClassRow* findClass(REFCLSID clsid)
{
    for (const ClassRow& r : kRows)
        if (r.clsid == clsid)
            return &r;
    return nullptr;
}

std::string versionIndependentProgId(const ClassRow& row)
{
    std::string p = row.progId;
    if (p.size() > 2 && p.compare(p.size() - 2, 2, ".1") == 0)
        p.resize(p.size() - 2);
    return p;
}

const ClassRow* findClassByProgId(std::string_view progId)
{
    const std::string want(progId);
    for (const ClassRow& r : kRows)
        if (strcasecmp(r.progId, want.c_str()) == 0 || strcasecmp(versionIndependentProgId(r).c_str(), want.c_str()) == 0)
            return &r;
    return nullptr;
}

} // namespace vyr::controls
