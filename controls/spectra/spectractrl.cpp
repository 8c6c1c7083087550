#include "controls/spectra/spectractrl.h"
#include "controls/core/properties.h"
#include "controls/core/valuechange.h"
#include "controls/spectra/curvesource.h"
#include "controls/spectra/spectrapaint.h"
#include "platform/gdi/devicepixels.h"
#include "platform/gdi/syscolors.h"
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <cmath>

namespace vyr::controls {

using com::ComPtr;
using com::Variant;
using namespace vyr::spectra;

namespace {

// Laser lines beyond this many are not read (a hostile count must not allocate without bound).
constexpr LONG kMaxLaserLines = 4096;

const EnumNames& noYesNames()
{
    static const EnumNames names{{"no", "yes"}, VT_I4, {}, nullptr, {"eNo", "eYes"}};
    return names;
}
const EnumNames& displayModeNames()
{
    static const EnumNames names{{"curve above spectra", "curve below spectra", "curve in spectra"},
                                  VT_I4,
                                  {},
                                  "CurveDisplayMode",
                                  {"eCurveAboveSpectra", "eCurveBelowSpectra", "eCurveInSpectra"}};
    return names;
}
const EnumNames& drawModeNames()
{
    static const EnumNames names{{"Polyline", "Spline", "Point"}, VT_I4, {}, "CurveDrawMode", {"ePolyline", "eSpline", "ePixel"}};
    return names;
}

SpectraCtrl& self(ControlBase& b) { return static_cast<SpectraCtrl&>(b); }

// A command string: string puts always apply, re-register every command and, for the main
// command, drop the band of the old axis.
PropertyDesc commandRow(DISPID id, const char* name, CommandBinding& (*binding)(SpectraCtrl&), bool mainCommand)
{
    PropertyDesc p{id, name, PropType::Command, nullptr, nullptr, nullptr};
    p.get = [binding](ControlBase& b) { return Variant::fromString(binding(self(b)).text()); };
    p.put = [binding, id, mainCommand](ControlBase& b, const VARIANT& v, PutKind) {
        SpectraCtrl& c = self(b);
        binding(c).setText(com::utf8(v.bstrVal));
        if (mainCommand)
            c.discardBand();
        c.reregister();
        c.changed(id);
        return S_OK;
    };
    return p;
}

PropertyDesc fontRow()
{
    PropertyDesc p = props::font();
    p.put = [put = p.put](ControlBase& b, const VARIANT& v, PutKind kind) {
        const HRESULT hr = put(b, v, kind);
        if (SUCCEEDED(hr)) {
            SpectraCtrl& c = self(b);
            // The header height follows the font: the buttons move and the band is rebuilt.
            c.updateButtons();
            c.discardBand();
        }
        return hr;
    };
    return p;
}

void rebuild(SpectraCtrl& c) { c.discardBand(); }
void buttonsChanged(SpectraCtrl& c)
{
    c.updateButtons();
    c.discardBand();
}

QIcon arrowIcon(bool pointsLeft)
{
    QPixmap pm(9, 9);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0));
    QPolygon tri;
    if (pointsLeft)
        tri << QPoint(2, 4) << QPoint(6, 0) << QPoint(6, 8);
    else
        tri << QPoint(6, 4) << QPoint(2, 0) << QPoint(2, 8);
    p.drawPolygon(tri);
    return QIcon(pm);
}

} // namespace

SpectraCtrl::SpectraCtrl() : ControlBase(classDescriptor())
{
    addBinding(widthCommand);
    addBinding(spectraCommand);
    addBinding(laserLinesCommand);
}

SpectraCtrl::~SpectraCtrl() = default;

const ClassDescriptor& SpectraCtrl::classDescriptor()
{
    using C = SpectraCtrl;
    static const ClassDescriptor d{
        CLSID_SpectraCtrl,
        IID_ISpectraCtrl,
        GUID_NULL,
        {
            commandRow(50, "Command", [](C& c) -> CommandBinding& { return c.command(); }, true),
            commandRow(96, "CommandWidth", [](C& c) -> CommandBinding& { return c.widthCommand; }, false),
            commandRow(97, "CommandLaserLines", [](C& c) -> CommandBinding& { return c.laserLinesCommand; }, false),
            commandRow(120, "CommandSpectra", [](C& c) -> CommandBinding& { return c.spectraCommand; }, false),
            props::doubleField<C>(93, "SpectraStep", [](C& c) -> double& { return c.spectraStep; }),
            fontRow(),
            props::colorField<C>(DISPID_FORECOLOR, "TextColor", [](C& c) -> OLE_COLOR& { return c.textColor; }),
            props::colorField<C>(DISPID_BACKCOLOR, "BackColor", [](C& c) -> OLE_COLOR& { return c.backColor; },
                                 rebuild),
            props::longField<C>(94, "ShowSpectra", [](C& c) -> int32_t& { return c.showSpectra; }, &noYesNames(),
                                rebuild),
            props::longField<C>(95, "CurveDisplayMode", [](C& c) -> int32_t& { return c.curveDisplayMode; },
                                &displayModeNames(), rebuild),
            props::shortField<C>(89, "ScaleSmall", [](C& c) -> int& { return c.scaleSmall; }),
            props::shortField<C>(88, "ScaleMiddle", [](C& c) -> int& { return c.scaleMiddle; }),
            props::shortField<C>(87, "ScaleLarge", [](C& c) -> int& { return c.scaleLarge; }),
            props::longField<C>(100, "WithButtons", [](C& c) -> int32_t& { return c.withButtons; }, &noYesNames(),
                                buttonsChanged),
            props::shortField<C>(101, "RainbowHeight", [](C& c) -> int& { return c.rainbowHeight; }, nullptr,
                                 rebuild),
            props::longField<C>(104, "CurveDrawMode", [](C& c) -> int32_t& { return c.curveDrawMode; },
                                &drawModeNames(), rebuild),
            props::colorField<C>(105, "LaserLineColor", [](C& c) -> OLE_COLOR& { return c.laserLineColor; },
                                 rebuild),
            props::longField<C>(106, "ShowLaserLinesInSpectra", [](C& c) -> int32_t& { return c.showLaserLines; },
                                &noYesNames(), rebuild),
            props::longField<C>(107, "ShowCurve", [](C& c) -> int32_t& { return c.showCurve; }, &noYesNames(),
                                rebuild),
        },
        {},
        {50, 96, 97, 120, 93, DISPID_FONT, DISPID_FORECOLOR, DISPID_BACKCOLOR, 94, 95, 89, 88, 87, 100, 101, 104, 105,
         106, 107},
    };
    return d;
}

// ---------------------------------------------------------------- geometry

SpectraLayout SpectraCtrl::layout()
{
    return layoutSpectra(clientRect(), withButtons != 0, measureWith(QFontMetrics(qfont())));
}

WavelengthMap SpectraCtrl::map() { return WavelengthMap(axis_, layout().area.size()); }

BandLook SpectraCtrl::look() const
{
    BandLook l;
    l.showSpectra = showSpectra != 0;
    l.displayMode = CurveDisplayMode(curveDisplayMode);
    l.rainbowHeight = rainbowHeight;
    l.showLaserLines = showLaserLines != 0;
    l.backColor = gdi::ColorOf(backColor).rgb();
    l.laserLineColor = gdi::ColorOf(laserLineColor).rgb();
    return l;
}

void SpectraCtrl::discardBand()
{
    band_ = QImage();
    bandDirty_ = true;
    invalidate();
}

// ---------------------------------------------------------------- buttons

void SpectraCtrl::updateButtons()
{
    QWidget* w = window();
    if (!w)
        return;
    // The buttons are made anew when the font changes or they come back.
    delete left_.data();
    delete right_.data();
    if (withButtons) {
        for (const bool isLeft : {true, false}) {
            auto* b = new QPushButton(w);
            b->setIcon(arrowIcon(isLeft));
            setAccessiblePart(b, isLeft ? QStringLiteral("scroll left") : QStringLiteral("scroll right"));
            b->setFocusPolicy(Qt::NoFocus);
            b->setFont(qfont());
            QObject::connect(b, &QPushButton::pressed, b, [this, isLeft] {
                scroll(isLeft ? ScrollInput::PressLeftArrow : ScrollInput::PressRightArrow);
            });
            QObject::connect(b, &QPushButton::released, b, [this] { scroll(ScrollInput::ReleaseArrow); });
            (isLeft ? left_ : right_) = b;
            b->show();
        }
    }
    placeButtons();
}

void SpectraCtrl::placeButtons()
{
    const SpectraLayout l = layout();
    for (QPushButton* b : {left_.data(), right_.data()}) {
        if (!b)
            continue;
        b->setGeometry(b == left_ ? l.leftButton : l.rightButton);
        b->setEnabled(enabledFlag());
    }
}

// ---------------------------------------------------------------- command server

bool SpectraCtrl::readServer()
{
    ICommandServer* s = server();
    const LONG centreCookie = command().cookie();
    SpectraAxis read;
    VARIANT_BOOL enabled = VARIANT_FALSE;
    LONG visible = 1;
    if (FAILED(s->GetMinimum(centreCookie, &read.lo)) || FAILED(s->GetMaximum(centreCookie, &read.hi)) ||
        FAILED(s->GetValue(centreCookie, &read.centre)) || FAILED(s->GetValue(widthCommand.cookie(), &read.width)) ||
        FAILED(s->GetCommandEnabled(centreCookie, &enabled)) || FAILED(s->GetCommandVisible(centreCookie, &visible)))
        return false;

    if (valueDiffers(read.lo, axis_.lo) || valueDiffers(read.hi, axis_.hi) || valueDiffers(read.width, axis_.width))
        discardBand();
    const int enabledNow = enabled ? 1 : 0;
    if (valueDiffers(read.centre, axis_.centre) || enabledNow != enabled_)
        invalidate();
    axis_ = read;
    enabled_ = enabledNow;
    applyShowState((visible & 0xFFFF) != 0);

    // Curves are read anew every time; a source that fails leaves what was read before it.
    // Their plots are kept while the data read is the same as before (a scroll notifies too).
    std::vector<Curve> curves;
    if (spectraCommand.registered()) {
        ComPtr<IUnknown> source;
        if (SUCCEEDED(s->GetObject(spectraCommand.cookie(), source.put())))
            curves = readCurves(source.get());
    }
    if (!sameCurves(curves, curves_))
        plots_.clear();
    curves_ = std::move(curves);
    invalidate();

    if (!laserLinesCommand.registered()) {
        if (!lasers_.empty()) {
            lasers_.clear();
            discardBand();
        }
        return true;
    }
    LONG count = 0;
    if (FAILED(s->GetEntryCount(laserLinesCommand.cookie(), &count)))
        return false;
    std::vector<double> lines;
    for (LONG i = 0; i < std::min(std::max(count, 0), kMaxLaserLines); ++i) {
        double nm = 0;
        if (FAILED(s->GetEntryValue(laserLinesCommand.cookie(), i, &nm)))
            return false;
        lines.push_back(nm);
    }
    const bool same = lines.size() == lasers_.size() &&
                      std::equal(lines.begin(), lines.end(), lasers_.begin(),
                                 [](double a, double b) { return !valueDiffers(a, b); });
    if (!same) {
        lasers_ = std::move(lines);
        discardBand();
    }
    return true;
}

void SpectraCtrl::refreshFromServer()
{
    ICommandServer* s = server();
    if (s && command().registered() && widthCommand.registered()) {
        if (!readServer() && enabled_) {
            // A failed read keeps the last values, but the control no longer trusts them.
            enabled_ = 0;
            invalidate();
        }
    } else {
        if (enabled_) {
            enabled_ = 0;
            invalidate();
        }
        applyShowState(true);
    }
    placeButtons();
}

// Both entries read again and repaint. The band is rebuilt only when the read changed what
// it shows (axis, width or laser lines: readServer discards it then); curves are drawn over
// it at every paint, so new curve data needs no new band.
HRESULT SpectraCtrl::OnCommandStateChanged()
{
    refreshFromServer();
    invalidate();
    return S_OK;
}

HRESULT SpectraCtrl::OnCommandStateChangedEx() { return OnCommandStateChanged(); }

// ---------------------------------------------------------------- painting

void SpectraCtrl::onDraw(QPainter& painter, const QRect&)
{
    const QRect client = clientRect();
    if (client.isEmpty())
        return;
    SpectraScene scene;
    scene.font = qfont();
    scene.layout = layoutSpectra(client, withButtons != 0, measureWith(QFontMetrics(scene.font)));
    scene.map = WavelengthMap(axis_, scene.layout.area.size());
    scene.look = look();
    // Everything is composed at the target's resolution, so the band's columns, the curves and
    // the lines are drawn in its device pixels.
    const qreal scale = gdi::deviceScale(painter);
    if (bandDirty_ || band_.size() != bandSizeAt(scene.map, scale) || band_.devicePixelRatio() != scale) {
        band_ = renderBand(scene.map, scene.look, lasers_, scale);
        bandDirty_ = false;
    }
    scene.band = &band_;
    scene.backColor = gdi::ColorOf(backColor);
    scene.textColor = gdi::ColorOf(textColor);
    scene.spacing = {scaleSmall, scaleMiddle, scaleLarge};
    scene.laserLines = &lasers_;
    scene.curves = showCurve ? &curves_ : nullptr;
    scene.plotCache = &plots_;
    scene.drawMode = CurveDrawMode(curveDrawMode);
    scene.colorOf = [](OLE_COLOR c) { return gdi::ColorOf(c).rgb(); };
    scene.focused = focused();

    // Drawn off screen first: the focus rectangle inverts what is below it. The image is kept
    // for the next paint of the same size.
    if (off_.size() != (QSizeF(client.size()) * scale).toSize() || off_.devicePixelRatio() != scale)
        off_ = gdi::imageAtScale(client.size(), scale, QImage::Format_RGB32);
    {
        QPainter p(&off_);
        paintSpectra(p, scene);
    }
    painter.drawImage(QRectF(client), off_);
}

// ---------------------------------------------------------------- input

void SpectraCtrl::scroll(ScrollInput::Kind kind, int value)
{
    scroller_.setStep(spectraStep);
    scroller_.setWithButtons(withButtons != 0);
    const ScrollEffect e = scroller_.apply({kind, value}, map());
    if (e.stopTimer)
        killTimer(e.stopTimer);
    if (e.startTimer)
        setTimer(e.startTimer);
    if (e.capture)
        captureMouse(true);
    if (e.releaseCapture)
        captureMouse(false);
    if (e.moved) {
        axis_.centre = e.centre;
        invalidate();
    }
    if (e.writeCentre && server() && command().registered())
        server()->SetValue(command().cookie(), axis_.centre);
}

void SpectraCtrl::onMousePress(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    takeFocus();
    const QPoint pos = e->position().toPoint();
    if (withButtons && layout().area.contains(pos))
        scroll(ScrollInput::PressBand, pos.x());
}

void SpectraCtrl::onMouseMove(QMouseEvent* e)
{
    const QPoint pos = e->position().toPoint();
    updateCursor(pos);
    if (scroller_.state() == PressState::Dragging && layout().area.contains(pos))
        scroll(ScrollInput::MoveBand, pos.x());
}

void SpectraCtrl::onMouseRelease(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton)
        scroll(ScrollInput::ReleaseBand);
}

void SpectraCtrl::updateCursor(const QPoint& pos)
{
    if (QWidget* w = window())
        w->setCursor(withButtons && layout().area.contains(pos) ? Qt::OpenHandCursor : Qt::ArrowCursor);
}

bool SpectraCtrl::onKeyPress(QKeyEvent* e)
{
    ScrollKey key;
    switch (e->key()) {
    case Qt::Key_PageUp: key = ScrollKey::PageUp; break;
    case Qt::Key_Up: key = ScrollKey::Up; break;
    case Qt::Key_Right: key = ScrollKey::Right; break;
    case Qt::Key_PageDown: key = ScrollKey::PageDown; break;
    case Qt::Key_Left: key = ScrollKey::Left; break;
    case Qt::Key_Down: key = ScrollKey::Down; break;
    case Qt::Key_Home: key = ScrollKey::Home; break;
    case Qt::Key_End: key = ScrollKey::End; break;
    default: return false;
    }
    scroll(ScrollInput::Key, int(key));
    return true;
}

void SpectraCtrl::onFocusOut()
{
    ControlBase::onFocusOut();
    scroll(ScrollInput::LoseFocus);
}

void SpectraCtrl::onResize()
{
    placeButtons();
    discardBand();
}

void SpectraCtrl::onWindowCreated()
{
    window()->setMouseTracking(true);
    updateButtons();
}

void SpectraCtrl::onTimer(int id) { scroll(ScrollInput::Timer, id); }

HRESULT createSpectraCtrl(REFIID iid, void** out)
{
    auto c = com::make<SpectraCtrl>();
    return c->QueryInterface(iid, out);
}

} // namespace vyr::controls
