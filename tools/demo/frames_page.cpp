// Two Frames with button bars whose pages hold buttons: the controls can be dragged between
// the pages and frames at run time. The first frame's layout is saved to a layout file and
// the second frame is loaded from that file.
#include "tools/demo/demopage.h"
#include "controls/frames/frame.h"
#include "platform/com/memstream.h"
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <cstdio>

namespace vyr::demo {
namespace {

controls::Frame* frameOf(controls::HostWidget* host)
{
    return dynamic_cast<controls::Frame*>(vyr::controls::ControlBase::from(host->dispatch()));
}

void styleFrame(controls::HostWidget* host, const char* caption, int align)
{
    host->setProperty("Caption", com::Variant::fromString(caption));
    host->setProperty("CaptionStyle", com::Variant::fromShort(4));
    host->setProperty("FrameStyle", com::Variant::fromShort(3));
    host->setProperty("CaptionBackColor", com::Variant::fromULong(0x00A06020));
    host->setProperty("CaptionTextColor", com::Variant::fromULong(0x00FFFFFF));
    host->setProperty("ButtonAlign", com::Variant::fromShort(int16_t(align)));
    host->setProperty("ButtonSize", com::Variant::fromLong(align == 0 || align == 2 ? 80 : 28));
    host->setProperty("Locked", com::Variant::fromBool(false));
}

// Writes the layout to `path` and returns its bytes (empty when the save failed).
std::vector<uint8_t> saveLayout(controls::HostWidget* host, const QString& path)
{
    auto stream = com::MemoryStream::create();
    if (FAILED(host->save(stream.get(), false)))
        return {};
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(reinterpret_cast<const char*>(stream->bytes().data()), qint64(stream->bytes().size()));
    return stream->bytes();
}

QWidget* buildFrames(DemoContext& ctx)
{
    auto* page = new QWidget;
    page->setMinimumSize(760, 230);

    auto* lasers = ctx.host(page, "VyrControls.Frame", QRect(10, 10, 360, 210));
    styleFrame(lasers, "Light path", 1);
    lasers->setProperty("ButtonCount", com::Variant::fromLong(3));
    controls::Frame* frame = frameOf(lasers);
    const char* pages[] = {"Lasers", "Detectors", "Filters"};
    const char* items[3][3] = {{"405 nm", "488 nm", "561 nm"}, {"PMT 1", "PMT 2", "HyD"}, {"BP 525", "LP 570", "Mirror"}};
    for (LONG p = 0; frame && p < 3; ++p) {
        frame->setButtonCurrent(p);
        lasers->setProperty("ButtonCaption", com::Variant::fromString(pages[p]));
        for (int i = 0; i < 3; ++i) {
            const LONG y = 10 + i * 40;
            const std::string command = std::string("Frame.") + items[p][i];
            (*ctx.server)[command].enabled = true;
            frame->inner().page(p)->insertControl("VyrControls.Button", RECT{10, y, 120, y + 32});
            controls::HostWidget* b = frame->inner().page(p)->hosts().back();
            b->setProperty("Caption", com::Variant::fromString(items[p][i]));
            b->setProperty("Command", com::Variant::fromString(command));
            b->setCommandServer(ctx.server.get());
        }
    }
    if (frame)
        frame->setButtonCurrent(0);

    // The layout goes to a file and comes back as a second frame.
    const QString path = QDir::current().filePath(QStringLiteral("out/demo-layout.vyr"));
    QDir().mkpath(QFileInfo(path).absolutePath());
    std::vector<uint8_t> bytes = saveLayout(lasers, path);
    auto* copy = new controls::HostWidget(page);
    copy->setGeometry(390, 10, 360, 210);
    auto stream = com::MemoryStream::create(std::move(bytes));
    if (FAILED(copy->createAndLoad("VyrControls.Frame", stream.get())))
        std::fprintf(stderr, "cannot load the layout back from %s\n", qPrintable(path));
    copy->setCommandServer(ctx.server.get());
    copy->setProperty("Caption", com::Variant::fromString("Loaded from the layout file"));
    copy->setProperty("ButtonAlign", com::Variant::fromShort(3));
    copy->setProperty("ButtonSize", com::Variant::fromLong(28));
    if (controls::Frame* f = frameOf(copy))
        f->setButtonCurrent(1);
    return page;
}

const DemoPageRegistration reg({20, QStringLiteral("Frame: pages of controls, dragged at run time, saved and loaded"),
                                buildFrames});

} // namespace
} // namespace vyr::demo
