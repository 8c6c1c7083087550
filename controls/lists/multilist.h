#pragma once
// MultiList: a table in report view, one list command per column. The first column's command
// also carries the current row, the check marks and the edited texts, and receives the
// user's selection, activation, check and edit actions.
#include "controls/lists/viewcontrol.h"
#include "controls/lists/reporttable.h"
#include <QPointer>
#include <QTreeWidget>

namespace vyr::controls {

class MultiList final : public lists::ViewControl {
public:
    static constexpr int kMaxColumns = 1000;
    static constexpr int kShownWidth = 30; // a column without a width of its own

    struct Column {
        CommandBinding command;
        std::string title;
        int flag = 0; // kept and persisted, not otherwise used
        int width = 0;
    };

    MultiList();
    static const ClassDescriptor& classDescriptor();

    OLE_COLOR foreColor = 0x80000008;
    OLE_COLOR backColor = 0x80000005;
    int32_t editable = 0;
    int32_t checkBox = 0;
    int32_t selectable = 1;

    const std::vector<Column>& columns() const { return columns_; }
    int currentColumn() const { return currentColumn_; }
    const lists::ReportTable& table() const { return table_; }
    QTreeWidget* view() const { return view_; }

    HRESULT setNumberOfColumns(int count);
    HRESULT setCurrentColumn(int column);
    HRESULT setColumnCommand(const std::string& text);
    HRESULT setColumnWidth(int width);
    int columnWidth() const;
    HRESULT setColumnTitle(const std::string& title);
    // Applies editing, check boxes, selection mode, colours and font to the view and reads
    // the table again.
    void renew();

    // The user's actions, as the view reports them.
    void userSelected(int row);
    HRESULT userActivated();
    void userChecked(int row, bool on);
    void userEdited(const std::string& text);

    // `CurrentColumn` browses as "Column 1" ... "Column n", cookies 0 ... n - 1.
    STDMETHOD(GetDisplayString)(DISPID id, BSTR* text) override;
    STDMETHOD(GetPredefinedStrings)(DISPID id, CALPOLESTR* strings, CADWORD* cookies) override;
    STDMETHOD(GetPredefinedValue)(DISPID id, DWORD cookie, VARIANT* value) override;

    STDMETHOD(SetCommandServer)(ICommandServer* server) override;
    STDMETHOD(Load)(IStream* stream) override;
    STDMETHOD(Save)(IStream* stream, BOOL clearDirty) override;
    void refreshFromServer() override;
    void onWindowCreated() override;

private:
    void apply(const lists::ReportTable::Changes& changes);
    void applyColumns();
    LONG firstCookie() const;

    std::vector<Column> columns_;
    int currentColumn_ = 0;
    lists::ReportTable table_;
    QPointer<QTreeWidget> view_;
    bool refilling_ = false;
};

HRESULT createMultiList(REFIID iid, void** out);

} // namespace vyr::controls
