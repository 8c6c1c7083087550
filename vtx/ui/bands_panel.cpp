#include "vtx/ui/bands_panel.h"

#include "controls/core/host.h"
#include "controls/core/vyrcontrols.h"
#include "controls/spectra/curveshapes.h"
#include "controls/spectra/spectramodes.h"
#include "platform/com/guid.h"
#include "platform/registry/regkey.h"
#include "controls/qtwidget/commandserver.h"
#include "vtx/model/tool.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vyr::vtx::ui {

namespace {

constexpr const char* kCentre = "Bands.Centre";
constexpr const char* kWidth = "Bands.Width";
constexpr const char* kLasers = "Bands.Lasers";
constexpr const char* kCurves = "Bands.Curves";
constexpr const char* kDefaultLasers = "405 488 561 633";

std::string bandsKey()
{
    return std::string(tool::kUserKey) + "\\VTX\\Bands";
}

// An edge as a step over the whole axis: 0 on the side the splitter reflects, 1 where it passes.
std::vector<spectra::CurvePoint> edgeCurve(const SplitterEdge& e)
{
    double below = e.longPass ? 0 : 1;
    return {{kShortestWavelength, below}, {e.wavelength, below}, {e.wavelength, 1 - below}, {kLongestWavelength, 1 - below}};
}

} // namespace

std::vector<double> rememberedLaserLines()
{
    registry::RegKey key;
    std::string text;
    if (key.open(HKEY_CURRENT_USER, bandsKey(), KEY_READ) != ERROR_SUCCESS ||
        key.queryString("LaserLines", text) != ERROR_SUCCESS)
        text = kDefaultLasers;
    return parseLaserLines(text);
}

void rememberLaserLines(const std::vector<double>& lines)
{
    registry::RegKey key;
    if (key.create(HKEY_CURRENT_USER, bandsKey()) == ERROR_SUCCESS)
        key.setString("LaserLines", formatLaserLines(lines));   // like the form positions, a failed write is silent
}

DetectionBandsPanel::DetectionBandsPanel(QWidget* parent)
    : QDialog(parent), server_(com::make<vyr::CommandServer>()), curves_(com::make<spectra::CurveSource>())
{
    setObjectName("DetectionBands");
    setWindowTitle(QStringLiteral("Detection Bands"));
    auto& s = *server_;
    auto& centre = s[kCentre];
    centre.minimum = 350;
    centre.maximum = 850;
    centre.value = 600;
    s[kWidth].value = 500;
    s[kCurves].object = com::ComPtr<IUnknown>(curves_->unknown());

    spectra_ = new controls::HostWidget(this);
    spectra_->setObjectName("Spectra");
    spectra_->setFixedSize(640, 220);
    if (SUCCEEDED(spectra_->create(com::formatGuid(controls::CLSID_SpectraCtrl)))) {
        spectra_->setProperty("Command", com::Variant::fromString(kCentre));
        spectra_->setProperty("CommandWidth", com::Variant::fromString(kWidth));
        spectra_->setProperty("CommandSpectra", com::Variant::fromString(kCurves));
        spectra_->setProperty("CommandLaserLines", com::Variant::fromString(kLasers));
        spectra_->setProperty("ShowSpectra", com::Variant::fromLong(1));
        // Curves above the colour band, where the channels' colours stand out.
        spectra_->setProperty("CurveDisplayMode", com::Variant::fromShort(spectra::eCurveAboveSpectra));
        spectra_->setProperty("RainbowHeight", com::Variant::fromShort(14));
        spectra_->setCommandServer(server_.get());
    }

    lasers_ = new QLineEdit(QString::fromStdString(formatLaserLines(rememberedLaserLines())), this);
    lasers_->setObjectName("LaserLines");
    auto* apply = new QPushButton(QStringLiteral("Apply"), this);
    apply->setObjectName("CmdApplyLasers");
    connect(apply, &QPushButton::clicked, this, &DetectionBandsPanel::applyLaserLines);
    connect(lasers_, &QLineEdit::returnPressed, this, &DetectionBandsPanel::applyLaserLines);

    auto* legend = new QLabel(this);
    QString text;
    for (int n = 1; n <= 4; ++n) {
        OLE_COLOR c = kChannelColours[size_t(n - 1)];
        text += QStringLiteral("<span style='color:#%1%2%3'>&#9632; VTX %4</span>&nbsp;&nbsp;")
                    .arg(c & 0xff, 2, 16, QChar('0')).arg((c >> 8) & 0xff, 2, 16, QChar('0'))
                    .arg((c >> 16) & 0xff, 2, 16, QChar('0')).arg(n);
    }
    legend->setText(text + QStringLiteral("<span style='color:#808080'>&#9632; splitter edges</span>"));

    auto* laserRow = new QHBoxLayout;
    laserRow->addWidget(new QLabel(QStringLiteral("Laser lines (nm):"), this));
    laserRow->addWidget(lasers_, 1);
    laserRow->addWidget(apply);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(spectra_);
    layout->addWidget(legend);
    layout->addLayout(laserRow);
    applyLaserLines();
}

DetectionBandsPanel::~DetectionBandsPanel()
{
    spectra_->destroyControl();   // the control lets go of the server before the server goes
}

ICurveSource* DetectionBandsPanel::curveSource() const
{
    return curves_.get();
}

void DetectionBandsPanel::applyLaserLines()
{
    std::vector<double> lines = parseLaserLines(lasers_->text().toStdString());
    lasers_->setText(QString::fromStdString(formatLaserLines(lines)));
    rememberLaserLines(lines);
    auto& entries = (*server_)[kLasers].entries;
    entries.clear();
    for (double l : lines)
        entries.push_back({formatLaserLines({l}), 0, 0, l});
    server_->notify(kLasers);
}

void DetectionBandsPanel::showBands(const Configuration& c, const SpectrumCatalogue& catalogue)
{
    bands_ = detectionBands(c, catalogue);
    curves_->clear();
    for (const SplitterEdge& e : bands_.edges)
        curves_->addCurve(kEdgeColour, edgeCurve(e));
    for (const PassBand& b : bands_.bands)
        curves_->addCurve(kChannelColours[size_t(b.channel - 1)], spectra::bandPassCurve(b.from, b.to));
    server_->notify(kCurves);
}

} // namespace vyr::vtx::ui
