// Every control of the class table, hosted and bound to enabled commands, looks the same
// whether drawn with the shortcuts that keep work between paints (measured text widths, faces
// drawn without an image) or drawn afresh without them: once cold, once warm, once plain.
#include "controls/core/classtable.h"
#include "controls/core/host.h"
#include "platform/gdi/plaindrawing.h"
#include "controls/qtwidget/commandserver.h"
#include <gtest/gtest.h>

using namespace vyr;
using namespace vyr::controls;

namespace {

struct Shots {
    QImage cold, warm, plain;
};

Shots shoot(const ClassRow& row, vyr::CommandServer* server, const char* caption)
{
    QWidget top;
    top.resize(240, 110);
    auto* host = new HostWidget(&top);
    host->setGeometry(10, 10, 220, 90);
    Shots s;
    if (FAILED(host->create(row.progId)))
        return s;
    // Not every class has these; a refused put leaves the control as it was.
    host->setProperty("Caption", com::Variant::fromString(caption));
    host->setProperty("Text", com::Variant::fromString(caption));
    host->setProperty("Command", com::Variant::fromString("Shared"));
    host->setCommandServer(server);
    top.show();
    auto shot = [&] { return top.grab().toImage().convertToFormat(QImage::Format_RGB32); };
    s.cold = shot();
    s.warm = shot();
    {
        gdi::PlainDrawing plain;
        s.plain = shot();
    }
    host->setCommandServer(nullptr);
    return s;
}

TEST(PlainDrawing, EveryControlLooksTheSameWithAndWithoutTheShortcuts)
{
    auto server = com::make<vyr::CommandServer>();
    int shot = 0;
    for (const ClassRow& row : classTable()) {
        if (row.kind != ClassKind::Control || !row.create)
            continue;
        for (const char* caption : {"&Scan 1", "Two words\\nand a line && more"}) {
            const Shots s = shoot(row, server.get(), caption);
            if (s.cold.isNull())
                continue;
            ++shot;
            EXPECT_EQ(s.warm, s.cold) << row.className << " drawn again, \"" << caption << "\"";
            EXPECT_EQ(s.plain, s.cold) << row.className << " drawn plainly, \"" << caption << "\"";
        }
    }
    EXPECT_GT(shot, 40);
}

} // namespace
