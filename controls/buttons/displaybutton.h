#pragma once
// DisplayButton and DisplayOptionButton: a Button and an OptionButton whose caption and face
// colour come from the command server. They show the command's text on a face of the
// command's colour (or of BackColor, when UseBackColor is set) and click like their bases.
#include "controls/buttons/button.h"

namespace vyr::controls {

// The text the face shows while the server gives none.
inline constexpr const char* kDisplayDefaultCaption = "Display";

// What a display button adds to its base button.
template <class Base>
class DisplayOf : public Base {
public:
    int useBackColor = 1;
    OLE_COLOR backColorProperty = 0x8000000F;
    OLE_COLOR serverColor = 0x8000000F;

    void onDraw(QPainter& painter, const QRect& bounds) override;
    void refreshFromServer() override;
    // The caption is the application's state text, not a caption the form's author wrote: an
    // '&' in it names no shortcut, so no key press executes the command through it.
    STDMETHOD(GetMnemonic)(char* mnemonic) override
    {
        if (!mnemonic)
            return E_POINTER;
        *mnemonic = 0;
        return S_OK;
    }
    HRESULT OnMnemonic() override { return S_FALSE; }

protected:
    using Base::Base;
    // Reads the option state with the rest (DisplayOptionButton); false: nothing changed.
    virtual bool readSelected(ICommandServer*, LONG) { return false; }
    // The caption is the server's, not a property: setting it marks nothing dirty.
    void showCaption(const std::string& text);
};

class DisplayButton final : public DisplayOf<Button> {
public:
    DisplayButton();
    static const ClassDescriptor& classDescriptor();
};

class DisplayOptionButton final : public DisplayOf<OptionButton> {
public:
    DisplayOptionButton();
    static const ClassDescriptor& classDescriptor();

protected:
    bool readSelected(ICommandServer* server, LONG cookie) override;
};

} // namespace vyr::controls
