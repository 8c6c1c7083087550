#pragma once
// Display: the current value of a command shown as text (a string or a number with a chosen
// precision), as a colour, as a recoloured picture, as a picture the server supplies, or as a
// tab-separated table with optional scroll bars. Drawn like Static: frame, background,
// picture, text.
#include "controls/core/control.h"
#include "controls/lists/displaytable.h"
#include <QPointer>
#include <QScrollBar>


namespace vyr::controls {

class Display final : public ControlBase {
public:
    // CommandType values.
    enum Type { String = 0, StringBackColor, StringPictureColor, BackColor, PictureColor, Table, PictureViaInterface };

    Display();
    static const ClassDescriptor& classDescriptor();

    int32_t commandType = String;
    OLE_COLOR textColor = 0x80000008;
    OLE_COLOR backColor = 0x8000000F;
    int useBackColor = 1;
    com::ComPtr<IPictureDisp> picture, backPicture;
    int captionPosition = 4;
    int picturePosition = 4;
    int frameStyle = 0;
    int showDoubles = 0;
    int precision = 3;
    int tabWidth = 2;
    int verticalScrollBar = 0;
    int horzScrollBar = 0;

    const std::string& text() const { return text_; }
    OLE_COLOR serverColor() const { return serverColor_; }
    IPictureDisp* serverPicture() const { return serverPicture_.get(); }
    const lists::TextTable& table() const { return table_; }
    const lists::TableLayout& tableLayout() const { return layout_; }
    QScrollBar* horizontalBar() const { return hBar_; }
    QScrollBar* verticalBar() const { return vBar_; }

    void onDraw(QPainter& painter, const QRect& bounds) override;
    // Named by the text it shows.
    void describe(AccessFacts& facts) const override;
    void refreshFromServer() override;
    void onWindowCreated() override;
    void onResize() override;

private:
    void readServer(bool& visible);
    void relayoutTable(bool reset);
    void drawTable(QPainter& painter);

    std::string text_ = "Display";
    OLE_COLOR serverColor_ = 0x8000000F;
    com::ComPtr<IPictureDisp> serverPicture_;
    lists::TextTable table_;
    lists::TableLayout layout_;
    QPointer<QScrollBar> hBar_, vBar_;
};

HRESULT createDisplay(REFIID iid, void** out);

} // namespace vyr::controls
