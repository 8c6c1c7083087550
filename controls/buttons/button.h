#pragma once
// Button and OptionButton: push buttons that fire _DButton events and execute their command
// on the command server. The OptionButton shows the command's on/off state as pushed in and
// can show a picture supplied by the server.
#include "controls/core/facecontrol.h"

namespace vyr::controls {

// A press at (-1, -1) carries the message position 0xFFFFFFFF: no real position.
inline bool noPosition(const QPoint& p) { return uint16_t(p.x()) == 0xFFFF && uint16_t(p.y()) == 0xFFFF; }
// Enter or Space: the keys that push a focused button.
bool isPressKey(const QKeyEvent* e);

class PushButtonBase : public FaceControl {
public:
    using FaceControl::FaceControl;

    // DoClick: run mode only; executes, takes the focus and fires Click.
    HRESULT doClick();
    // A disabled button ignores its mnemonic.
    HRESULT OnMnemonic() override { return enabledFlag() ? doClick() : S_FALSE; }

    void onMousePress(QMouseEvent* e) override;
    void onMouseRelease(QMouseEvent* e) override;
    void onMouseMove(QMouseEvent* e) override;
    bool onKeyPress(QKeyEvent* e) override;
    bool onKeyRelease(QKeyEvent* e) override;

    // A push button presses as its mnemonic does.
    void describe(AccessFacts& facts) const override;
    bool accessibleAction(AccessAction action) override;

protected:
    // What differs between the two buttons.
    virtual bool ignoresPressWhileDisabled() const = 0;
    virtual void afterPress() {}
    virtual void beforeRelease() {}
    virtual void onKeyDownPress() = 0;
    virtual void onKeyUpRelease() = 0;
};

class Button : public PushButtonBase {
public:
    Button();
    static const ClassDescriptor& classDescriptor();

protected:
    // For buttons built on this one with a dispatch interface of their own.
    explicit Button(const ClassDescriptor& descriptor);
    bool ignoresPressWhileDisabled() const override { return true; }
    void onKeyDownPress() override;
    void onKeyUpRelease() override;
};

class OptionButton : public PushButtonBase {
public:
    OptionButton();
    static const ClassDescriptor& classDescriptor();

    int pictureViaInterface = 0;
    int selected = 0;

    void refreshFromServer() override;
    HRESULT executeOwnCommand() override;
    int restingPressed() const override { return selected; }
    // Shown pushed in while the command's option is set: a toggle button, checked then.
    void describe(AccessFacts& facts) const override;

protected:
    explicit OptionButton(const ClassDescriptor& descriptor);
    bool ignoresPressWhileDisabled() const override { return false; }
    void afterPress() override;
    void beforeRelease() override;
    void onKeyDownPress() override;
    void onKeyUpRelease() override;
};

// Shows the library's about box (non-modal).
HRESULT showAboutBox();

} // namespace vyr::controls
