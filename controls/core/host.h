#pragma once
// HostWidget: the container side of one hosted control. It creates the control by class
// identifier text ("{...}" or a ProgID) through the class factory, gives it a site with the
// ambient properties (user mode, UI dead, font), turns the control's events into a Qt signal
// and the caption's mnemonic into a shortcut. A control that can do without a window of its
// own lives in the host widget itself (one widget per control): the host paints it and hands
// it its events. Others, or every control when the host is asked to, get a window of their
// own inside the host.
#include "controls/core/vyrcontrols.h"
#include "platform/com/comptr.h"
#include "platform/com/font.h"
#include "platform/com/variant.h"
#include <QList>
#include <QVariant>
#include <QWidget>
#include <string>
#include <vector>

class QShortcut;
struct IStream;

namespace vyr::controls {

class HostSite;
class HostEventSink;

class HostWidget : public QWidget {
    Q_OBJECT
public:
    enum class Activation { Windowless, Window };

    explicit HostWidget(QWidget* parent = nullptr);
    ~HostWidget() override;

    // How controls created from now on are activated; windowless where the control can be.
    static void setDefaultActivation(Activation activation);
    static Activation defaultActivation();
    void setActivation(Activation activation) { activation_ = activation; }
    // Whether the current control lives in this widget without a window of its own.
    bool isWindowless() const { return windowless_.get() != nullptr; }

    // Creates and activates the control; any previous control is destroyed first.
    HRESULT create(const std::string& classId);
    // Creates the control and loads its properties from `stream` before activation.
    HRESULT createAndLoad(const std::string& classId, IStream* stream);
    void destroyControl();

    IUnknown* control() const { return unknown_.get(); }
    IDispatch* dispatch() const { return dispatch_.get(); }
    // The widget the control lives in: its own window, or this host when it has none.
    QWidget* controlWindow() const;
    CLSID classId() const { return clsid_; }

    // Ambient properties.
    bool userMode() const { return userMode_; }
    void setUserMode(bool on);
    bool uiDead() const { return uiDead_; }
    void setUiDead(bool on);
    void setAmbientFont(IFontDisp* font);
    IFontDisp* ambientFont() const { return ambientFont_.get(); }

    // Property and method access by name through the control's IDispatch.
    HRESULT setProperty(std::string_view name, const com::Variant& value);
    com::Variant property(std::string_view name, HRESULT* hr = nullptr) const;
    HRESULT call(std::string_view name, const std::vector<com::Variant>& args = {});

    HRESULT setCommandServer(ICommandServer* server);
    HRESULT save(IStream* stream, bool clearDirty = true);
    HRESULT load(IStream* stream);

    // The running controls of this host's container: the hosts beside it under the same
    // parent widget (itself included), in child order. A control page, a frame's page and any
    // plain widget holding hosts are containers alike.
    std::vector<HostWidget*> siblings() const;

    // Called by the site.
    void controlInfoChanged();
    void controlFocusChanged(bool gotFocus);
    void showControl(bool shown);
    bool moveFocus(bool next) { return focusNextPrevChild(next); }

    // A container's show or hide; the control may keep itself hidden.
    void setVisible(bool visible) override;

signals:
    // An event of the control's event interface, with its arguments in natural order.
    void controlEvent(int dispid, const QList<QVariant>& args);
    void controlFocus(bool gotFocus);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    friend class HostEventSink;
    HRESULT instantiate(const std::string& classId);
    HRESULT activate();
    void notifyAmbient(DISPID id);

    com::ComPtr<IUnknown> unknown_;
    com::ComPtr<IDispatch> dispatch_;
    com::ComPtr<IVyrControl> vyrControl_;
    com::ComPtr<IVyrWindowlessControl> windowless_;
    com::ComPtr<IFontDisp> ambientFont_;
    HostSite* site_ = nullptr;
    HostEventSink* sink_ = nullptr;
    DWORD sinkCookie_ = 0;
    QShortcut* mnemonic_ = nullptr;
    CLSID clsid_{};
    bool userMode_ = true;
    bool uiDead_ = false;
    Activation activation_;
    bool controlHidden_ = false;   // hidden by its control
    bool containerHidden_ = false; // hidden by its container
};

} // namespace vyr::controls
