#include "vtx/ui/diagram.h"

#include "vtx/model/load.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vyr::vtx::ui {

namespace {

constexpr int kWidth = 634;
constexpr int kHeight = 414;
constexpr int kBeamY = 110;
// Columns of the channels 1 to 4: channels 1 and 4 behind NT2, channels 2 and 3 behind NT1.
constexpr std::array<int, 4> kColumn{95, 320, 420, 205};

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
    g.nt1Splitter = QRect(355, kBeamY - 15, 30, 30);
    g.sample = QRect(15, 15, 90, 34);
    g.reflectedLabel = QRect(15, 362, 160, 20);
    g.transmittedLabel = QRect(15, 388, 160, 20);
    g.frame1 = QRect(490, 175, 136, 200);
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
    editor_.reset(loadConfiguration(db, version, editor_.configuration()));
    refresh();
}

void BeamDiagram::refresh()
{
    syncOptions();
    update();
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
    syncOptions();
    update();
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
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.9);

    // Sample and the excitation beam down to the splitters.
    p.setPen(Qt::black);
    p.setBrush(QColor(255, 250, 215));
    p.drawRect(geo_.sample);
    p.drawText(geo_.sample, Qt::AlignCenter, QStringLiteral("Sample"));
    p.drawText(QRect(15, 52, 100, 18), Qt::AlignLeft, QStringLiteral("Excitation"));
    p.setPen(QPen(kBeam, 2));
    int sx = geo_.sample.center().x();
    p.drawLine(sx, geo_.sample.bottom() + 20, sx, kBeamY);
    p.drawLine(sx, kBeamY, geo_.nt2Splitter.left(), kBeamY);
    p.drawLine(geo_.nt2Splitter.right(), kBeamY, geo_.nt1Splitter.left(), kBeamY);   // VTXLineT1
    p.drawLine(geo_.nt1Splitter.right(), kBeamY, 620, kBeamY);                        // VTXLineT2
    p.setPen(Qt::black);
    p.drawText(QRect(520, kBeamY + 4, 100, 18), Qt::AlignRight, QStringLiteral("Transmission"));
    p.drawText(QRect(500, kBeamY - 24, 120, 18), Qt::AlignRight, QString::fromStdString(c.lp680Text));   // BeamSplitterTxt(1)

    // Splitters with their switching units.
    struct Unit { QRect splitter; bool shown; const char* text; };
    for (const Unit& u : {Unit{geo_.nt2Splitter, c.nt2 == Nt2::Cube, "VTX NT2:"},
                          Unit{geo_.nt1Splitter, c.nt1 == Nt1::Cube, "VTX NT1:"}}) {
        splitterShape(p, u.splitter, u.shown);
        p.setPen(u.shown ? Qt::black : kDisabled);
        p.drawText(QRect(u.splitter.right() + 6, u.splitter.top() - 22, 80, 18), Qt::AlignLeft, QString::fromUtf8(u.text));
        if (u.shown) {
            QRect unit(u.splitter.center().x() - 45, 22, 90, 30);
            p.setPen(QPen(Qt::darkGray, 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRect(unit);   // Line1 to Line4
            p.drawLine(unit.center().x(), unit.bottom(), unit.center().x(), u.splitter.top());
            p.setPen(Qt::black);
            p.drawText(unit, Qt::AlignCenter, QStringLiteral("Switching Unit"));   // Label2
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
        p.drawLine(split.center().x(), split.bottom(), split.center().x(), 160);   // VTXLineF1
        p.drawLine(split.center().x(), 160, x, 160);                                // VTXLineF2
        p.drawLine(x, 160, x, geo_.detector[i].top());                              // VTXLineF3
        if (filterShown(n)) {
            p.setPen(Qt::black);
            p.setBrush(QColor(255, 200, 120));
            p.drawRoundedRect(geo_.filterPicture[i], 4, 4);
            p.setFont(small);
            std::string holder = emissionHolder(n);
            p.drawText(QRect(x - 92, geo_.filterPicture[i].top() + 2, 72, 18), Qt::AlignRight,
                       QString::fromStdString(holder));   // FilterName(n)
            const auto& list = c.placements.count(holder) ? c.placements.at(holder) : std::vector<std::string>{};
            QString first = list.empty() ? QStringLiteral("None") : QString::fromStdString(list.front());
            p.setPen(QColor(0, 0, 170));
            p.drawText(geo_.filterLabel[i], Qt::AlignCenter, first);   // FilterLbl(n)
            p.setFont(font());
        }
        p.setPen(Qt::black);
        p.setBrush(fillColour(ch.fill));   // PPmt(n)
        QRect d = geo_.detector[i];
        QPainterPath shape;
        shape.addRoundedRect(d, 10, 10);
        p.drawPath(shape);
        if (ch.letterShown) {
            QFont big = font();
            big.setBold(true);
            big.setPointSizeF(font().pointSizeF() * 1.6);
            p.setFont(big);
            p.drawText(d, Qt::AlignCenter, QString::fromStdString(ch.letter));   // CANLbl(n)
            p.setFont(font());
        }
        p.drawText(QRect(d.center().x() - 50, d.bottom() + 4, 100, 18), Qt::AlignCenter,
                   QString::fromStdString(c.channelName(n)));   // PmtName
    }

    // Lamps.
    p.setPen(Qt::black);
    p.drawText(QRect(15, 342, 160, 18), Qt::AlignLeft, QStringLiteral("Reflected"));
    QFont underlined = font();
    underlined.setUnderline(true);
    p.setFont(underlined);
    p.setBrush(Qt::NoBrush);
    p.setPen(QColor(0, 0, 170));
    p.drawText(geo_.reflectedLabel, Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(editor_.lightLabel(LightSide::Reflected)));
    p.setPen(editor_.lightSideEnabled(LightSide::Transmitted) ? QColor(0, 0, 170) : kDisabled);
    p.drawText(geo_.transmittedLabel, Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(editor_.lightLabel(LightSide::Transmitted)));
}

void BeamDiagram::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !db_)
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
