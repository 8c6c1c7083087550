#pragma once
// The drawing shortcuts that carry work from one paint to the next (text widths measured
// once, button faces drawn without an image of their own) give the same pixels as drawing
// everything afresh. While a PlainDrawing lives they are all switched off, so that a test can
// draw both ways and compare.
namespace vyr::gdi {

class PlainDrawing {
public:
    PlainDrawing();
    ~PlainDrawing();
    PlainDrawing(const PlainDrawing&) = delete;
    PlainDrawing& operator=(const PlainDrawing&) = delete;
};

// True while a PlainDrawing lives.
bool plainDrawing();

} // namespace vyr::gdi
