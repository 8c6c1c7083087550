#include "vtx/ui/diagram.h"

#include "vtx/model/load.h"
#include "vtx/model/store.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QHelpEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace vyr::vtx::ui {

namespace {

constexpr int kWidth = 634;
constexpr int kHeight = 414;
constexpr int kBeamY = 120;
constexpr int kBranchY = 162;   // where the beams to the detectors turn
// Columns of the channels 1 to 4: channels 1 and 4 behind NT2, channels 2 and 3 behind NT1.
constexpr std::array<int, 4> kColumn{80, 300, 410, 190};

QColor fillColour(Fill f)
{
    unsigned bgr = unsigned(f);   // stored as 0x00BBGGRR
    return QColor(int(bgr & 0xff), int((bgr >> 8) & 0xff), int((bgr >> 16) & 0xff));
}

const QColor kBeam(0, 140, 0);
const QColor kDisabled(150, 150, 150);

void splitterShape(QPainter& p, const QRect& r, bool enabled)
{
    p.setPen(QPen(enabled ? Qt::black : kDisabled, 1));
    p.setBrush(enabled ? QColor(170, 200, 255) : QColor(225, 225, 225));
    p.drawRect(r);
    p.setPen(QPen(enabled ? QColor(0, 0, 160) : kDisabled, 2));
    p.drawLine(r.bottomLeft(), r.topRight());
}

} // namespace

DiagramGeometry DiagramGeometry::standard()
{
    DiagramGeometry g;
    for (int i = 0; i < 4; ++i) {
        int x = kColumn[size_t(i)];
        g.filterPicture[size_t(i)] = QRect(x - 18, 185, 36, 22);
        g.filterLabel[size_t(i)] = QRect(x - 50, 211, 100, 20);
        g.detector[size_t(i)] = QRect(x - 28, 250, 56, 60);
    }
    g.nt2Splitter = QRect(135, kBeamY - 15, 30, 30);
    g.nt1Splitter = QRect(340, kBeamY - 15, 30, 30);
    g.sample = QRect(15, 15, 80, 34);
    g.reflectedLabel = QRect(15, 362, 160, 20);
    g.transmittedLabel = QRect(15, 388, 160, 20);
    g.frame1 = QRect(490, 175, 136, 200);
    g.wheelText = QRect(500, kBeamY - 24, 120, 18);
    return g;
}

BeamDiagram::BeamDiagram(QWidget* parent) : QWidget(parent), geo_(DiagramGeometry::standard())
{
    setObjectName("BeamDiagram");
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);

    frame1_ = new QFrame(this);
    frame1_->setObjectName("Frame1");
    frame1_->setFrameShape(QFrame::Box);
    frame1_->setGeometry(geo_.frame1);
    auto* layout = new QVBoxLayout(frame1_);
    layout->setContentsMargins(8, 4, 8, 4);
    layout->setSpacing(2);
    auto option = [&](const char* name, const char* caption) {
        auto* b = new QRadioButton(QString::fromUtf8(caption), frame1_);
        b->setObjectName(name);
        layout->addWidget(b);
        return b;
    };
    layout->addWidget(new QLabel(QStringLiteral("VTX NT1:"), frame1_));
    noNt1_ = option("No_VTX_NT1", "Nothing");
    cubeNt1_ = option("Cube_NT1", "Cube");
    layout->addWidget(new QLabel(QStringLiteral("VTX NT2:"), frame1_));
    noNt2_ = option("No_VTX_NT2", "Nothing");
    cubeNt2_ = option("Cube_NT2", "Cube");
    mirror_ = option("Mirror", "Mirror");
    checkMirror_ = new QCheckBox(QStringLiteral("manual"), frame1_);
    checkMirror_->setObjectName("CheckMirror");
    layout->addWidget(checkMirror_);
    auto* nt1 = new QButtonGroup(this);
    nt1->addButton(noNt1_);
    nt1->addButton(cubeNt1_);
    auto* nt2 = new QButtonGroup(this);
    nt2->addButton(noNt2_);
    nt2->addButton(cubeNt2_);
    nt2->addButton(mirror_);
    auto onToggle = [this](QRadioButton* b, auto apply) {
        connect(b, &QRadioButton::toggled, this, [this, apply](bool on) {
            if (on && !syncing_) {
                apply();
                afterEdit();
            }
        });
    };
    onToggle(noNt1_, [this] { editor_.setNt1(Nt1::Nothing); });
    onToggle(cubeNt1_, [this] { editor_.setNt1(Nt1::Cube); });
    onToggle(noNt2_, [this] { editor_.setNt2(Nt2::Nothing); });
    onToggle(cubeNt2_, [this] { editor_.setNt2(Nt2::Cube); });
    onToggle(mirror_, [this] { editor_.setNt2(Nt2::Mirror); });
    connect(checkMirror_, &QCheckBox::toggled, this, [this](bool on) {
        if (!syncing_) {
            editor_.setManualMirror(on);
            afterEdit();
        }
    });
    syncOptions();
}

QSize BeamDiagram::sizeHint() const
{
    return {kWidth, kHeight};
}

void BeamDiagram::load(dao::Database& db, int32_t version)
{
    db_ = &db;
    version_ = version;
    editor_.reset(loadConfiguration(db, version));
    refresh();
}

void BeamDiagram::setReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    frame1_->setEnabled(!readOnly);
}

void BeamDiagram::refresh()
{
    syncOptions();
    updateMarks();
    update();
}

void BeamDiagram::updateMarks()
{
    marks_.clear();
    const Configuration& c = editor_.configuration();
    auto add = [&](QRect r, const std::string& message) {
        r = r.adjusted(-3, -3, 3, 3);
        for (Mark& m : marks_) {
            if (m.rect == r) {
                m.tip += "\n" + QString::fromStdString(message);
                return;
            }
        }
        marks_.push_back({r, QString::fromStdString(message)});
    };
    for (const StoreRefusal& r : storeRefusals(c)) {
        for (int n : r.channels)
            if (c.channelShown(n))
                add(geo_.detector[size_t(n - 1)], r.message);
        if (r.splitter)
            add(r.splitter == 1 ? geo_.nt1Splitter : geo_.nt2Splitter, r.message);
    }
    if (!db_)
        return;
    try {
        switch (wheelStep(*db_, version_, c)) {
        case WheelStep::AskToDelete: add(geo_.wheelText, "VTX LP680 in FW1. Delete ?"); break;
        case WheelStep::ChoosePlace: add(geo_.wheelText, "No free Position in FW1 !"); break;
        case WheelStep::Nothing: break;
        }
    } catch (const std::exception&) {
        // The wheel cannot be read now; Store will report the error itself.
    }
}

QString BeamDiagram::markTip(const QPoint& pos) const
{
    for (const Mark& m : marks_)
        if (m.rect.contains(pos))
            return m.tip;
    return {};
}

bool BeamDiagram::event(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(e);
        QString tip = markTip(help->pos());
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(e);
}

void BeamDiagram::syncOptions()
{
    syncing_ = true;
    const Configuration& c = editor_.configuration();
    (c.nt1 == Nt1::Cube ? cubeNt1_ : noNt1_)->setChecked(true);
    (c.nt2 == Nt2::Cube ? cubeNt2_ : c.nt2 == Nt2::Mirror ? mirror_ : noNt2_)->setChecked(true);
    checkMirror_->setChecked(c.manualMirror);
    checkMirror_->setVisible(c.nt2 == Nt2::Mirror);
    syncing_ = false;
}

void BeamDiagram::afterEdit()
{
    refresh();
    emit edited();
}

bool BeamDiagram::filterShown(int n) const
{
    const Configuration& c = editor_.configuration();
    return c.channelShown(n) && !(n == 1 && c.transmissionDetector() && c.nt2 != Nt2::Mirror);
}

void BeamDiagram::paintEvent(QPaintEvent*)
{
    const Configuration& c = editor_.configuration();
    drawn_.clear();
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.9);
    // Every text and box goes through these two, which note where it landed.
    auto text = [&](const char* what, const QRect& r, int align, const QString& t) {
        QRect used;
        p.drawText(r, align, t, &used);
        if (!t.isEmpty())
            drawn_.push_back({what, used});
    };
    auto box = [&](const char* what, const QRect& r) { drawn_.push_back({what, r}); };

    // Sample and the excitation beam down to the splitters.
    p.setPen(Qt::black);
    p.setBrush(QColor(255, 250, 215));
    p.drawRect(geo_.sample);
    box("Sample", geo_.sample);
    text("Sample text", geo_.sample, Qt::AlignCenter, QStringLiteral("Sample"));
    int sx = geo_.sample.center().x();
    text("Excitation", QRect(sx + 6, 66, 100, 18), Qt::AlignLeft, QStringLiteral("Excitation"));
    p.setPen(QPen(kBeam, 2));
    p.drawLine(sx, geo_.sample.bottom() + 1, sx, kBeamY);
    p.drawLine(sx, kBeamY, geo_.nt2Splitter.left(), kBeamY);
    p.drawLine(geo_.nt2Splitter.right(), kBeamY, geo_.nt1Splitter.left(), kBeamY);   // VTXLineT1
    p.drawLine(geo_.nt1Splitter.right(), kBeamY, 620, kBeamY);                        // VTXLineT2
    p.setPen(Qt::black);
    text("Transmission", QRect(520, kBeamY + 4, 100, 18), Qt::AlignRight, QStringLiteral("Transmission"));
    text("BeamSplitterTxt(1)", geo_.wheelText, Qt::AlignRight, QString::fromStdString(c.lp680Text));

    // Splitters with their switching units.
    struct Unit { QRect splitter; bool shown; const char* text; const char* name; };
    for (const Unit& u : {Unit{geo_.nt2Splitter, c.nt2 == Nt2::Cube, "VTX NT2:", "NT2"},
                          Unit{geo_.nt1Splitter, c.nt1 == Nt1::Cube, "VTX NT1:", "NT1"}}) {
        splitterShape(p, u.splitter, u.shown);
        box(u.name, u.splitter);
        p.setPen(u.shown ? Qt::black : kDisabled);
        text(u.text, QRect(u.splitter.right() + 6, u.splitter.top() - 22, 80, 18), Qt::AlignLeft, QString::fromUtf8(u.text));
        if (u.shown) {
            QRect unit(u.splitter.center().x() - 50, 16, 100, 30);
            p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(unit);   // Line1 to Line4
            box("Switching Unit", unit);
            p.drawLine(unit.center().x(), unit.bottom(), unit.center().x(), u.splitter.top());
            p.setPen(Qt::black);
            p.drawText(unit, Qt::AlignCenter, QStringLiteral("Switching Unit"));   // Label2, inside its box
        }
    }

    // Channels: branch lines, filter, detector, CAN letter, name.
    for (int n = 1; n <= 4; ++n) {
        if (!c.channelShown(n))
            continue;
        size_t i = size_t(n - 1);
        const Channel& ch = c.channel(n);
        QRect split = n == 2 || n == 3 ? geo_.nt1Splitter : geo_.nt2Splitter;
        int x = kColumn[i];
        p.setPen(QPen(kBeam, 2));
        p.drawLine(split.center().x(), split.bottom(), split.center().x(), kBranchY);   // VTXLineF1
        p.drawLine(split.center().x(), kBranchY, x, kBranchY);                           // VTXLineF2
        p.drawLine(x, kBranchY, x, geo_.detector[i].top());                              // VTXLineF3
        if (filterShown(n)) {
            p.setPen(Qt::black);
            p.setBrush(QColor(255, 200, 120));
            p.drawRoundedRect(geo_.filterPicture[i], 4, 4);
            box("PicFilter", geo_.filterPicture[i]);
            p.setFont(small);
            std::string holder = emissionHolder(n);
            text("FilterName", QRect(x - 92, geo_.filterPicture[i].top() + 2, 72, 18), Qt::AlignRight,
                 QString::fromStdString(holder));
            const auto& list = c.placements.count(holder) ? c.placements.at(holder) : std::vector<std::string>{};
            QString first = list.empty() ? QStringLiteral("None") : QString::fromStdString(list.front());
            p.setPen(QColor(0, 0, 170));
            text("FilterLbl", geo_.filterLabel[i], Qt::AlignCenter, first);
            p.setFont(font());
        }
        p.setPen(Qt::black);
        p.setBrush(fillColour(ch.fill));   // PPmt(n)
        QRect d = geo_.detector[i];
        QPainterPath shape;
        shape.addRoundedRect(d, 10, 10);
        p.drawPath(shape);
        box("PPmt", d);
        if (ch.showsLetter()) {
            QFont big = font();
            big.setBold(true);
            big.setPointSizeF(font().pointSizeF() * 1.6);
            p.setFont(big);
            p.drawText(d, Qt::AlignCenter, QString::fromStdString(ch.letter));   // CANLbl(n), inside its detector
            p.setFont(font());
        }
        text("PmtName", QRect(d.center().x() - 50, d.bottom() + 7, 100, 18), Qt::AlignCenter,
             QString::fromStdString(c.channelName(n)));
    }

    // Lamps.
    p.setPen(Qt::black);
    text("Reflected", QRect(15, 342, 160, 18), Qt::AlignLeft, QStringLiteral("Reflected"));
    QFont underlined = font();
    underlined.setUnderline(true);
    p.setFont(underlined);
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(0, 0, 170));
    text("ReflectedLbl", geo_.reflectedLabel, Qt::AlignLeft | Qt::AlignVCenter,
         QString::fromStdString(editor_.lightLabel(LightSide::Reflected)));
    p.setPen(editor_.lightSideEnabled(LightSide::Transmitted) ? QColor(0, 0, 170) : kDisabled);
    text("TransmittedLbl", geo_.transmittedLabel, Qt::AlignLeft | Qt::AlignVCenter,
         QString::fromStdString(editor_.lightLabel(LightSide::Transmitted)));
    box("Frame1", geo_.frame1);

    // Problem marks: a red outline and a badge; not boxes of the layout, they sit on what they mark.
    const QColor red(210, 0, 0);
    for (const Mark& m : marks_) {
        p.setPen(QPen(red, 2));
        p.setBrush(Qt::NoBrush);
        p.drawRoundedRect(m.rect, 6, 6);
        QRect badge(m.rect.right() - 7, m.rect.top() - 7, 14, 14);
        p.setBrush(red);
        p.drawEllipse(badge);
        p.setPen(Qt::white);
        QFont bold = font();
        bold.setBold(true);
        p.setFont(bold);
        p.drawText(badge, Qt::AlignCenter, QStringLiteral("!"));
        p.setFont(font());
    }
}

void BeamDiagram::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !db_ || readOnly_)
        return;
    QPoint pos = e->position().toPoint();
    QPoint global = e->globalPosition().toPoint();
    const Configuration& c = editor_.configuration();
    for (int n = 1; n <= 4; ++n) {
        size_t i = size_t(n - 1);
        if (!c.channelShown(n))
            continue;
        if (geo_.detector[i].contains(pos))
            return detectorMenu(n, global);
        if (filterShown(n) && (geo_.filterLabel[i].contains(pos) || geo_.filterPicture[i].contains(pos)))
            return filterMenu(emissionHolder(n), global);
    }
    if (c.nt2 == Nt2::Cube && geo_.nt2Splitter.contains(pos))
        return filterMenu("VTX_NT2", global);
    if (c.nt1 == Nt1::Cube && geo_.nt1Splitter.contains(pos))
        return filterMenu("VTX_NT1", global);
    if (geo_.reflectedLabel.contains(pos))
        return lightMenu(LightSide::Reflected, global);
    if (geo_.transmittedLabel.contains(pos) && editor_.lightSideEnabled(LightSide::Transmitted))
        return lightMenu(LightSide::Transmitted, global);
}

QAction* BeamDiagram::popup(QMenu& menu, const QPoint& at)
{
    return runMenu_ ? runMenu_(menu, at) : menu.exec(at);
}

namespace {

// Every popup begins with "Cancel" and a separator.
QMenu* startMenu(QWidget* parent, const char* name, const char* title)
{
    auto* m = new QMenu(QString::fromUtf8(title), parent);
    m->setObjectName(name);
    m->addAction(QStringLiteral("Cancel"))->setObjectName(QString::fromUtf8(name) + "Cancel");
    m->addSeparator();
    return m;
}

QAction* checkable(QMenu* m, const std::string& caption, bool checked)
{
    QAction* a = m->addAction(QString::fromStdString(caption));
    a->setCheckable(true);
    a->setChecked(checked);
    return a;
}

} // namespace

void BeamDiagram::detectorMenu(int channel, const QPoint& at)
{
    std::unique_ptr<QMenu> menu(startMenu(this, "MnuVTX", "VTX"));
    std::vector<std::pair<QAction*, std::string>> choices;
    for (const MenuEntry& e : editor_.canMenu(channel))
        choices.emplace_back(checkable(menu.get(), e.caption, e.checked), e.caption);
    QAction* picked = popup(*menu, at);
    for (const auto& [action, can] : choices) {
        if (action == picked) {
            editor_.setCan(channel, can);
            afterEdit();
        }
    }
}

void BeamDiagram::lightMenu(LightSide side, const QPoint& at)
{
    std::unique_ptr<QMenu> menu(startMenu(this, "MnuLight", "Light"));
    std::vector<MenuEntry> entries = editor_.openLightMenu(side);
    afterEdit();   // opening the other side's menu counts as a change
    std::vector<QAction*> actions;
    for (const MenuEntry& e : entries)
        actions.push_back(checkable(menu.get(), e.caption, e.checked));
    QAction* picked = popup(*menu, at);
    for (size_t i = 0; i < actions.size(); ++i) {
        if (actions[i] != picked)
            continue;
        const std::string& caption = entries[i].caption;
        int light = caption == "None" ? 0 : caption == "HBO" ? 2 : 1;
        editor_.setLight(side, light);
        afterEdit();
    }
}

void BeamDiagram::filterMenu(const std::string& holder, const QPoint& at)
{
    FilterMenu model = editor_.filterMenu(*db_, holder);
    std::unique_ptr<QMenu> menu(startMenu(this, "MnuFilter", "FilterVTX"));
    struct Choice { QAction* action; int place; std::string name; };
    std::vector<Choice> choices;
    for (size_t k = 0; k < model.items.size(); ++k) {
        if (!model.items[k])
            continue;
        QString caption = QString::fromStdString(*model.items[k]);
        if (k >= 3) {
            menu->addAction(caption)->setEnabled(false);   // the fourth place has no selection
            continue;
        }
        QMenu* sub = menu->addMenu(caption);
        sub->setObjectName(QStringLiteral("MnuFilterItem%1").arg(k));
        sub->addAction(QStringLiteral("Cancel"));
        sub->addSeparator();
        const auto& list = editor_.configuration().placements.count(holder) ? editor_.configuration().placements.at(holder)
                                                                            : std::vector<std::string>{};
        std::string current = k < list.size() ? list[k] : std::string(kNone);
        for (const std::string& name : model.selection)
            choices.push_back({checkable(sub, name, name == current), int(k + 1), name});
    }
    QAction* picked = popup(*menu, at);
    for (const Choice& ch : choices) {
        if (ch.action == picked) {
            editor_.setPlacement(holder, ch.place, ch.name);
            afterEdit();
        }
    }
}

} // namespace vyr::vtx::ui
