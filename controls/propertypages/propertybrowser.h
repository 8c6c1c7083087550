#pragma once
// PropertyBrowser: lists the properties of one or more automation objects as rows of name and
// value, read from their type information, and edits them in place: an edit field for plain
// values, a drop-down list for enumerations and booleans, the colour picker for colours. It
// follows the objects through their property-change notifications.
#include "controls/core/control.h"
#include "controls/propertypages/browsermodel.h"
#include "controls/propertypages/colorpicker.h"
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QScrollBar>

namespace vyr::controls {

class PropertyBrowser final : public ControlBase {
public:
    PropertyBrowser();
    ~PropertyBrowser() override;
    static const ClassDescriptor& classDescriptor();

    // IVyrPropertyBrowser, reached through the dispatch table and the dual interface.
    HRESULT setDispatch(IDispatch* object);
    HRESULT addDispatch(IDispatch* object);
    bool isPointInClientArea(int x, int y) const;

    const browser::BrowserModel& model() const { return model_; }
    browser::BrowserModel& model() { return model_; }

    OLE_COLOR foreColor = 0x80000012;
    OLE_COLOR backColor = 0x8000000F;

    // Selection and editing, as the keyboard and the mouse drive them.
    int selected() const { return selected_; }
    void select(int line);
    // Opens the line's editor: edit field, choice list or colour picker, or for a font or a
    // picture the property frame on its stock page. False when the line cannot be edited.
    bool beginEdit(int line);
    // Writes the edit field's text; false when it did not convert or the write failed.
    bool commitEdit();
    void cancelEdit();
    bool editing() const;

    int rowHeight();
    int topLine() const;
    int visibleLines();
    QRect lineRect(int line);
    QRect valueRect(int line);
    int lineAt(QPoint p);

    QLineEdit* editField() const { return edit_; }
    QScrollBar* scrollBar() const { return scroll_; }
    QListWidget* choiceList() const { return choices_; }
    browser::ColorPicker* colorPicker() const { return picker_; }

    void refreshFromServer() override;
    void describe(AccessFacts& facts) const override;
    void onDraw(QPainter& painter, const QRect& bounds) override;
    void onWindowCreated() override;
    void onResize() override;
    void onMousePress(QMouseEvent* e) override;
    void onMouseDoubleClick(QMouseEvent* e) override;
    bool onKeyPress(QKeyEvent* e) override;
    bool onEvent(QEvent* e) override;
    HRESULT onWindowDestroying() override;

private:
    void layOut();
    void ensureVisible(int line);
    void modelChanged(DISPID id);
    void choose(const com::Variant& value);
    bool editKey(QKeyEvent* e);
    void destroyChildren();

    browser::BrowserModel model_;
    int selected_ = -1;
    int editLine_ = -1; // the line whose edit field is open
    std::string editName_;
    QPointer<QLineEdit> edit_;
    QPointer<QScrollBar> scroll_;
    QPointer<QListWidget> choices_;
    QPointer<browser::ColorPicker> picker_;
};

} // namespace vyr::controls
