#pragma once
// RadioButton: a self-contained option button. It is bound to no command server, keeps its own
// on/off Value (drawn pushed in while on) and keeps its group exclusive: switching it on
// switches off every control of the same container with the same GroupNumber.
#include "controls/core/facecontrol.h"

namespace vyr::controls {

class RadioButton final : public FaceControl {
public:
    RadioButton();
    static const ClassDescriptor& classDescriptor();
    // The persisted properties, in stream order (the descriptor's save order follows it).
    static const std::vector<MapEntry>& propertyMap();

    bool value() const { return face.pressed != 0; }
    // On: switches the rest of the group off first ("check"); off: only this control.
    HRESULT setValue(bool on);
    int groupNumber() const { return face.reserved; }

    // No command client: the RadioButton is not bound to a command server.
    STDMETHOD(QueryInterface)(REFIID riid, void** out) override;
    void refreshFromServer() override {}
    int restingPressed() const override { return face.pressed; }

    HRESULT OnMnemonic() override;
    void describe(AccessFacts& facts) const override;
    bool accessibleAction(AccessAction action) override;
    void onMousePress(QMouseEvent* e) override;
    void onMouseRelease(QMouseEvent* e) override;
    void onMouseMove(QMouseEvent* e) override;
    void onWindowCreated() override;
    bool onKeyPress(QKeyEvent* e) override;
};

} // namespace vyr::controls
