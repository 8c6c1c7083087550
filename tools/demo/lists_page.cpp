// Labels, displays, lists, a table, a tree and a combo box, bound to list and value commands
// of the demo server.
#include "tools/demo/demopage.h"

namespace vyr::demo {
namespace {

using com::Variant;

QWidget* buildLists(DemoContext& ctx)
{
    auto& s = *ctx.server;
    s["Lists.Lamp"].state = 1;
    s["Lists.Power"].value = 12.5;
    s["Lists.Power"].color = 0x0000A0FF;
    s["Lists.Table"].text = "Laser\tPower\tLine\n405 nm\t2.5 mW\tUV\n488 nm\t10 mW\tblue\n561 nm\t5 mW\tyellow\n"
                            "633 nm\t1 mW\tred\n730 nm\t0 mW\tIR";
    auto& objective = s["Lists.Objective"];
    objective.entries = {{"10x/0.40 Air"}, {"20x/0.75 Oil"}, {"40x/1.25 Water"}, {"63x/1.40 Oil"}, {"100x/1.46 Oil"}};
    objective.index = 1;
    objective.text = "20x/0.75 Oil";
    s["Lists.Channel"].entries = {{"Ch1", 0, 1}, {"Ch2", 0, 0}, {"Ch3", 0, 1}, {"Ch4", 0, 0}};
    s["Lists.Channel"].index = 0;
    s["Lists.Dye"].entries = {{"DAPI"}, {"Alexa 488"}, {"Cy3"}, {"Cy5"}};
    s["Lists.Detector"].entries = {{"PMT 1"}, {"HyD 2"}, {"PMT 3"}, {"HyD 4"}};
    s["Lists.Folders"].entries = {{"Objectives"}};
    s["Lists.Folders"].index = 0;
    s["Lists.Items"].entries = objective.entries;
    s["Lists.Items"].index = 2;
    s["Lists.Roots"].entries = {{"Transmission"}, {"Reflection"}};
    s["Lists.Roots"].index = -1;

    auto* page = new QWidget;
    page->setMinimumSize(1040, 190);
    auto* label = ctx.host(page, "VyrControls.Static", QRect(10, 10, 150, 40));
    label->setProperty("Caption", Variant::fromString("Lamp &on"));
    label->setProperty("FrameStyle", Variant::fromShort(4));
    label->setProperty("Command", Variant::fromString("Lists.Lamp"));

    auto* power = ctx.host(page, "VyrControls.Display", QRect(10, 60, 150, 30));
    power->setProperty("Command", Variant::fromString("Lists.Power"));
    power->setProperty("ShowDoubles", Variant::fromBool(true));
    power->setProperty("Precision", Variant::fromShort(2));
    power->setProperty("CommandType", Variant::fromLong(1));
    power->setProperty("FrameStyle", Variant::fromShort(3));

    auto* table = ctx.host(page, "VyrControls.Display", QRect(10, 100, 150, 80));
    table->setProperty("Command", Variant::fromString("Lists.Table"));
    table->setProperty("CommandType", Variant::fromLong(5));
    table->setProperty("FrameStyle", Variant::fromShort(3));
    table->setProperty("VerticalScrollBar", Variant::fromBool(true));
    table->setProperty("HorzScrollBar", Variant::fromBool(true));

    auto* list = ctx.host(page, "VyrControls.List", QRect(170, 10, 150, 170));
    list->setProperty("Command", Variant::fromString("Lists.Objective"));

    auto* combo = ctx.host(page, "VyrControls.ComboBox", QRect(330, 10, 170, 26));
    combo->setProperty("Command", Variant::fromString("Lists.Objective"));
    auto* editable = ctx.host(page, "VyrControls.ComboBox", QRect(330, 50, 170, 26));
    editable->setProperty("Editable", Variant::fromBool(true));
    editable->setProperty("Command", Variant::fromString("Lists.Objective"));

    auto* multi = ctx.host(page, "VyrControls.MultiList", QRect(510, 10, 300, 170));
    multi->setProperty("NumberOfColumns", Variant::fromShort(3));
    multi->setProperty("CheckBox", Variant::fromLong(1));
    const char* commands[] = {"Lists.Channel", "Lists.Dye", "Lists.Detector"};
    const char* titles[] = {"Channel", "Dye", "Detector"};
    for (int c = 0; c < 3; ++c) {
        multi->setProperty("CurrentColumn", Variant::fromShort(int16_t(c)));
        multi->setProperty("Command", Variant::fromString(commands[c]));
        multi->setProperty("ColumnTitleText", Variant::fromString(titles[c]));
        multi->setProperty("ColumnWidth", Variant::fromShort(85));
    }

    auto* tree = ctx.host(page, "VyrControls.Tree", QRect(820, 10, 210, 170));
    tree->setProperty("CommandFolder", Variant::fromString("Lists.Folders"));
    tree->setProperty("CommandItem", Variant::fromString("Lists.Items"));
    tree->setProperty("CommandRootItem", Variant::fromString("Lists.Roots"));
    return page;
}

const DemoPageRegistration reg({50, QStringLiteral("Static, Display, List, ComboBox, MultiList and Tree"), buildLists});

} // namespace
} // namespace vyr::demo
