// Renders the labels, lists, table, tree and combo boxes side by side as a container shows them
// (the display modes are rendered by display_test). With VYR_SCREENSHOT_DIR set the image is
// written there as lists-controls.png.
#include "controls/lists/multilist.h"
#include "controls/lists/tree.h"
#include "tests/controls/lists/hosted.h"

using namespace vyr;
using namespace vyr::controls;
using com::Variant;

TEST(Screenshots, ListControls)
{
    auto server = com::make<vyr::CommandServer>();
    auto& s = *server;
    s["Lamp"].state = 1;
    s["Objective"].entries = {{"10x/0.40 Air"}, {"20x/0.75 Oil"}, {"40x/1.25 Water"}, {"63x/1.40 Oil"}};
    s["Objective"].index = 2;
    s["Objective"].text = "40x/1.25 Water";
    s["Channel"].entries = {{"Ch1", 0, 1}, {"Ch2", 0, 0}, {"Ch3", 0, 1}};
    s["Channel"].index = 1;
    s["Dye"].entries = {{"DAPI"}, {"Alexa 488"}, {"Cy5"}};
    s["Folders"].entries = {{"Objectives"}};
    s["Folders"].index = 0;
    s["Items"].entries = s["Objective"].entries;
    s["Items"].index = 1;
    s["Roots"].entries = {{"Transmission"}, {"Reflection"}};
    s["Roots"].index = -1;

    QWidget top;
    top.resize(900, 190);
    top.setAutoFillBackground(true);
    auto host = [&](const char* progId, QRect r, const std::function<void(HostWidget&)>& setup) {
        auto* h = new HostWidget(&top);
        h->setGeometry(r);
        EXPECT_EQ(h->create(progId), S_OK);
        setup(*h);
        h->setCommandServer(server.get());
        return h;
    };
    const char* captions[] = {"No Frame", "Normal", "Raised", "Sunken", "Raised Dot", "Sunken Dot"};
    for (int style = 0; style < 6; ++style)
        host("VyrControls.Static", QRect(10, 10 + style * 29, 110, 25), [&](HostWidget& h) {
            h.setProperty("Caption", Variant::fromString(captions[style]));
            h.setProperty("FrameStyle", Variant::fromShort(int16_t(style)));
        });
    host("VyrControls.List", QRect(130, 10, 140, 170), [](HostWidget& h) {
        h.setProperty("Command", Variant::fromString("Objective"));
    });
    host("VyrControls.ComboBox", QRect(280, 10, 160, 26), [](HostWidget& h) {
        h.setProperty("Command", Variant::fromString("Objective"));
    });
    host("VyrControls.ComboBox", QRect(280, 46, 160, 26), [](HostWidget& h) {
        h.setProperty("Editable", Variant::fromBool(true));
        h.setProperty("Command", Variant::fromString("Objective"));
    });
    host("VyrControls.MultiList", QRect(450, 10, 220, 170), [](HostWidget& h) {
        h.setProperty("NumberOfColumns", Variant::fromShort(2));
        h.setProperty("CheckBox", Variant::fromLong(1));
        const char* commands[] = {"Channel", "Dye"};
        const char* titles[] = {"Channel", "Dye"};
        for (int c = 0; c < 2; ++c) {
            h.setProperty("CurrentColumn", Variant::fromShort(int16_t(c)));
            h.setProperty("Command", Variant::fromString(commands[c]));
            h.setProperty("ColumnTitleText", Variant::fromString(titles[c]));
            h.setProperty("ColumnWidth", Variant::fromShort(95));
        }
    });
    auto* tree = host("VyrControls.Tree", QRect(680, 10, 210, 170), [](HostWidget& h) {
        h.setProperty("CommandFolder", Variant::fromString("Folders"));
        h.setProperty("CommandItem", Variant::fromString("Items"));
        h.setProperty("CommandRootItem", Variant::fromString("Roots"));
    });
    top.show();
    auto* t = dynamic_cast<Tree*>(vyr::controls::ControlBase::from(tree->dispatch()));
    ASSERT_EQ(t->view()->topLevelItemCount(), 3);
    EXPECT_EQ(t->view()->currentItem(), t->view()->topLevelItem(0)->child(1));
    const QImage img = top.grab().toImage();
    EXPECT_EQ(img.size(), QSize(900, 190));
    test::saveScreenshot(img, "lists-controls.png");
}
