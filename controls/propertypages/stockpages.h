#pragma once
// The stock pages for colours, fonts and pictures. Each lists every property of its kind that
// all its objects have (found through their type information alone), edits the selected one,
// and on Apply writes each edited property into every object through its setter.
#include "controls/propertypages/browsermodel.h"
#include "controls/propertypages/propertypage.h"
#include <QFont>
#include <QImage>
#include <map>

class QCheckBox;
class QFontComboBox;
class QLabel;
class QListWidget;
class QSpinBox;

namespace vyr::controls {

namespace browser {
class ColorPicker;
}

class StockPage : public PropertyPageBase {
public:
    StockPage(PageInfo info, const GUID& kind);
    // Names of the listed properties, in list order.
    std::vector<std::string> propertyNames() const;
    // Selects a listed property by name; false when absent.
    bool selectProperty(const std::string& name);
    // The value Apply would write for the selected property (pending edit or current value).
    com::Variant currentValue() const;

protected:
    void buildPanel(QWidget* panel) override;
    HRESULT showValues() override;
    HRESULT applyValues() override;
    HRESULT focusProperty(DISPID id) override;

    // The editor beside the list, and how it shows a value.
    virtual void buildEditor(QWidget* area) = 0;
    virtual void showValue(const com::Variant& value) = 0;
    // The editor changed the selected property's value.
    void edited(const com::Variant& value);
    int selectedLine() const;

private:
    void selectionChanged();
    GUID kind_;
    browser::BrowserModel model_;
    std::vector<size_t> lines_; // model lines of the listed properties
    std::map<DISPID, com::Variant> pending_;
    QListWidget* list_ = nullptr;
    bool showingFlag_ = false; // the editor is being set from a value
};

class ColorPpg final : public StockPage {
public:
    ColorPpg();
    browser::ColorPicker* picker() const { return picker_; }

protected:
    void buildEditor(QWidget* area) override;
    void showValue(const com::Variant& value) override;

private:
    browser::ColorPicker* picker_ = nullptr;
};

class FontPpg final : public StockPage {
public:
    FontPpg();
    // Sets the editor's font (as the user's choices do).
    void setFont(const QFont& font);
    QFont editedFont() const;

protected:
    void buildEditor(QWidget* area) override;
    void showValue(const com::Variant& value) override;

private:
    void changed();
    QFontComboBox* family_ = nullptr;
    QSpinBox* size_ = nullptr;
    QCheckBox *bold_ = nullptr, *italic_ = nullptr, *underline_ = nullptr, *strike_ = nullptr;
    QLabel* sample_ = nullptr;
    bool updating_ = false;
};

class PictPpg final : public StockPage {
public:
    PictPpg();
    // Loads a picture file for the selected property; false when it cannot be read.
    bool loadFile(const QString& path);
    void clearPicture();

protected:
    void buildEditor(QWidget* area) override;
    void showValue(const com::Variant& value) override;

private:
    QLabel* preview_ = nullptr;
};

} // namespace vyr::controls
