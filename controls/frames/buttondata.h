#pragma once
// What a Frame keeps per page for the page's button: caption, picture, back picture and command.
// Saved at the start of the page's block as a length-prefixed record (the length counts its own
// 4 bytes) of four values in the variant stream form.
#include "controls/frames/persistblock.h"
#include "platform/com/comptr.h"
#include "platform/com/dispatch.h"
#include "platform/com/picture.h"
#include <string>

namespace vyr::frames {

struct ButtonData {
    std::string caption;
    com::ComPtr<IPictureDisp> picture;
    com::ComPtr<IPictureDisp> backPicture;
    std::string command;
};

HRESULT writeButtonData(IStream* s, const ButtonData& data);
// Reads the record inside `outer`. Values the record does not hold keep their current value;
// a value of the wrong type (a picture that is no picture) is DISP_E_TYPEMISMATCH.
HRESULT readButtonData(IStream* s, const BlockReader& outer, ButtonData& data);

} // namespace vyr::frames
