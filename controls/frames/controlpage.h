#pragma once
// ControlPage: a child window that hosts controls of any class, created by class identifier
// text, and keeps them: saves and loads them (as cached data while it has no window), lets the
// user drag them within the page and to other pages while unlocked, arranges nested pages and
// switches its controls between run behaviour (locked) and design behaviour (unlocked).
#include "controls/frames/nestedpage.h"
#include "controls/frames/pageset.h"
#include "controls/frames/pagestore.h"
#include "controls/core/vyrcontrols.h"
#include "platform/com/picture.h"
#include <QPointer>
#include <QWidget>
#include <QRect>
#include <functional>
#include <memory>
#include <vector>

class QMimeData;
class QWidget;

namespace vyr::controls {
class HostWidget;
}

namespace vyr::frames {

class PageWidget;
class DragWatch;
class PageOwnerLink;

// The clipboard format a dragged control travels in.
constexpr const char* kControlFormat = "Halvern Vyr Control";

// Runs a platform drag of `data` (which it takes over) from `source` and returns the effect the
// drop reported. Tests replace it to deliver the drop events themselves.
using DragRunner = std::function<Qt::DropAction(QWidget* source, QMimeData* data, Qt::DropActions allowed)>;

class ControlPage final : public PageSlot, private HostedControls {
public:
    ControlPage();
    ~ControlPage() override;
    ControlPage(const ControlPage&) = delete;
    ControlPage& operator=(const ControlPage&) = delete;

    // --- What the holding set gives every page.
    void setParentWidget(QWidget* parent);
    // The set holding the page; it outlives the page.
    // Stores the owner and announces the page again to the controls that want their page.
    void setOwner(IControlPageOwner* owner);
    // The owner's container changed an ambient (the font, or DISPID_UNKNOWN for several): the
    // hosted controls get it anew.
    void ambientChanged(DISPID id);
    void setCommandServer(ICommandServer* server);
    void setBackColor(OLE_COLOR color);
    void setBackPicture(IPictureDisp* picture);
    void setAlignTopLevel(bool align);
    OLE_COLOR backColor() const { return backColor_; }
    IPictureDisp* backPicture() const { return backPicture_.get(); }
    bool alignTopLevel() const { return alignTopLevel_; }

    // Locked: run behaviour for the controls, no dragging. Unlocked: design behaviour.
    void setLocked(bool locked);
    // Own flag, owner missing or owner locked.
    bool isLocked() const;
    bool userMode() const { return userMode_; }
    // Gives the ambient user mode to every hosted control.
    void setUserMode(bool on);

    bool dragControls() const { return dragControls_; }
    void setDragControls(bool drag) { dragControls_ = drag; }

    // --- Hosted controls.
    QWidget* widget() const;
    std::vector<controls::HostWidget*> hosts() const;
    HRESULT insertControl(const std::string& classId, const RECT& rect);
    HRESULT forwardDispatch(IDispatch* object, bool add);
    // Whether a point of the page lies on a hosted control and in that control's window.
    void pointTest(LONG x, LONG y, bool& onControl, bool& inClient) const;
    // The window of the first (or last) hosted control that takes the focus; null for none.
    QWidget* tabStop(bool backwards) const;
    // Passes the keyboard focus on to that control.
    void passFocus(bool backwards);
    // The saved form kept while the page has no window (null when there is none).
    const std::vector<uint8_t>* cachedData() const { return store_.cache(); }
    // The dragged control's outline while a drag is over the page (empty otherwise).
    QRect feedbackRect() const { return feedback_; }

    // --- PageSlot
    bool hasWindow() const override;
    HRESULT createWindow(const RECT& rect) override;
    void destroyWindow() override;
    void setShown(bool shown) override;
    bool isShown() const override;
    RECT windowRect() const override;
    void moveWindow(const RECT& rect) override;
    void arrange(LONG mode, LONG distance) override;
    HRESULT save(IStream* s) override;
    HRESULT load(IStream* s, uint64_t limit) override;

    static void setDragRunner(DragRunner runner);

private:
    friend class PageWidget;
    friend class PageOwnerLink;

    // HostedControls
    size_t count() const override;
    ControlRecord record(size_t index) const override;
    HRESULT save(size_t index, IStream* s) override;
    HRESULT create(const ControlRecord& record, IStream* data, uint32_t dataLength) override;

    std::vector<controls::HostWidget*> reachable() const;
    HRESULT host(const std::string& classId, const RECT& rect, IStream* data, controls::HostWidget** out);
    void prepare(controls::HostWidget* host);
    // Gives the control this page as its IControlPageOwner, when it wants one.
    void announceOwner(controls::HostWidget* host);
    // The ambients the owner passes on (the font), given to a host.
    void passAmbients(controls::HostWidget* host);

    // Dragging, source side.
    // `pressed` is the window the press landed on, at `at` in its coordinates: a press that
    // starts no drag is given to it afterwards (a control may act on it in design mode).
    void pressOnHost(controls::HostWidget* host, QPoint grab, QPoint global, int64_t ms, QWidget* pressed, QPoint at,
                     Qt::KeyboardModifiers modifiers);
    void runDrag();
    // Drop target side.
    bool acceptsDrag(const QMimeData* data) const;
    Qt::DropAction effectFor(Qt::DropActions possible, Qt::KeyboardModifiers modifiers) const;
    // A drag entered the page: a drag from elsewhere shows the outline of the control it
    // carries, read once here (the data of a drag from another program is fetched per read).
    void enterDrag(const QMimeData* data);
    // Moves the outline so that the mouse is at its grab point.
    void showFeedback(QPoint mouse, const QMimeData* data);
    void hideFeedback();
    HRESULT dropRecord(const QMimeData* data, QPoint at);

    QPointer<QWidget> parent_;
    QPointer<PageWidget> widget_;
    std::vector<QPointer<controls::HostWidget>> hosts_; // in child window order
    std::vector<controls::HostWidget*> saving_;          // the controls a save is writing
    PageStore store_;
    IControlPageOwner* owner_ = nullptr;
    com::ComPtr<PageOwnerLink> link_;
    com::ComPtr<ICommandServer> server_;
    OLE_COLOR backColor_ = 0x8000000F;
    com::ComPtr<IPictureDisp> backPicture_;
    bool alignTopLevel_ = false;
    bool dragControls_ = false;
    bool userMode_ = true;
    bool locked_ = false;
    RECT rect_{};

    // Drag state.
    std::unique_ptr<DragWatch, void (*)(DragWatch*)> watch_;
    QPointer<controls::HostWidget> dragged_;
    QPoint grab_;
    QRect feedback_;
    QRect carried_; // outline of a drag from elsewhere, relative to the mouse
    const QMimeData* ownDrag_ = nullptr;
    bool replaying_ = false; // a press given back after the drag detection passes untouched
};

} // namespace vyr::frames
