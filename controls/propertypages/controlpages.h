#pragma once
// ButtonPpg, RadioButtonPpg and FramePpg: panels of edit fields, check boxes and drop-down
// lists, each bound to one property by dispid. A page shows the values of its objects one
// after the other (the last object's values stay on view) and Apply writes every panel value
// into every object, in the page's order, through the objects' setters.
#include "controls/propertypages/propertypage.h"
#include "controls/core/descriptor.h"

class QComboBox;

namespace vyr::controls {

struct PanelField {
    enum Kind { Edit, Check, List, Number };
    int controlId;
    Kind kind;
    const char* text; // check-box text or the label of an edit or list
    DISPID dispid;
    // Lists: fixed names in value order, or null to take the object's predefined strings.
    const EnumNames* names = nullptr;
};

struct PanelSpec {
    PageInfo info;
    std::vector<PanelField> fields; // in panel order
    std::vector<int> applyOrder;    // control ids in the order Apply writes them
};

class ControlPropertyPage : public PropertyPageBase {
public:
    explicit ControlPropertyPage(const PanelSpec& spec);
    // The panel control of a control id (null before activation).
    QWidget* control(int controlId) const;

protected:
    void buildPanel(QWidget* panel) override;
    HRESULT showValues() override;
    HRESULT applyValues() override;
    HRESULT focusProperty(DISPID id) override;

private:
    HRESULT showField(const PanelField& f, IDispatch* object);
    HRESULT applyField(const PanelField& f, IDispatch* object);
    void fillList(QComboBox* list, const PanelField& f, IDispatch* object);
    const PanelSpec& spec_;
};

class ButtonPpg final : public ControlPropertyPage {
public:
    ButtonPpg();
    static const PanelSpec& spec();
};

class RadioButtonPpg final : public ControlPropertyPage {
public:
    RadioButtonPpg();
    static const PanelSpec& spec();
};

class FramePpg final : public ControlPropertyPage {
public:
    FramePpg();
    static const PanelSpec& spec();
};

} // namespace vyr::controls
