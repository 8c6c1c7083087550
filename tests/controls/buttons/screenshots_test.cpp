// Renders the button family in their states to PNGs (docs/screenshots/buttons-family.png when
// VYR_SCREENSHOT_DIR is unset, for the README) and checks a few pixels of each.
#include "controls/buttons/buttonlist.h"
#include "controls/buttons/displaybutton.h"
#include "controls/buttons/radiobutton.h"
#include "platform/com/picture.h"
#include "tests/controls/buttons/hosted.h"
#include <QDir>
#include <QLabel>
#include <QVBoxLayout>

using namespace vyr;
using namespace vyr::controls;
using com::Variant;

TEST(ButtonScreenshots, FamilyInItsStates)
{
    auto server = com::make<vyr::CommandServer>();
    (*server)["Power"].text = "42 mW";
    (*server)["Power"].color = 0x0000FF;
    (*server)["Shutter"].state = 1;
    (*server)["Shutter"].text = "Open";
    (*server)["Shutter"].color = 0x00C000;
    (*server)["Laser"].state = 1;
    (*server)["Gone"].enabled = false;
    (*server)["Gone"].text = "Off line";
    for (const char* t : {"405", "488", "561", "633", "Off"})
        (*server)["Lines"].entries.push_back({t, LONG(0x80000000 | 15), 0, 0});
    (*server)["Lines"].index = 2;

    QWidget top;
    top.resize(460, 290);
    top.setAutoFillBackground(true);
    struct Spec {
        const char* progId;
        QRect where;
        std::vector<std::pair<const char*, Variant>> props;
    };
    const std::vector<Spec> specs{
        {"VyrControls.DisplayButton", {10, 10, 130, 36},
         {{"UseBackColor", Variant::fromBool(false)}, {"ForeColor", Variant::fromULong(0xFFFFFF)},
          {"Command", Variant::fromString("Power")}}},
        {"VyrControls.DisplayOptionButton", {150, 10, 130, 36},
         {{"UseBackColor", Variant::fromBool(false)}, {"Command", Variant::fromString("Shutter")}}},
        {"VyrControls.DisplayButton", {290, 10, 130, 36}, {{"Command", Variant::fromString("Gone")}}},
        {"VyrControls.RadioButton", {10, 56, 100, 36},
         {{"Enabled", Variant::fromBool(true)}, {"Caption", Variant::fromString("&Normal")},
          {"Value", Variant::fromBool(true)}}},
        {"VyrControls.RadioButton", {120, 56, 60, 40},
         {{"Enabled", Variant::fromBool(true)}, {"Caption", Variant::fromString("Circle")},
          {"Style", Variant::fromShort(1)}}},
        {"VyrControls.RadioButton", {190, 56, 60, 40},
         {{"Enabled", Variant::fromBool(true)}, {"Caption", Variant::fromString("Rhomb")}, {"Style", Variant::fromShort(2)},
          {"GroupNumber", Variant::fromLong(2)}, {"Value", Variant::fromBool(true)}}},
        {"VyrControls.RadioButton", {260, 56, 100, 36}, {{"Caption", Variant::fromString("Disabled")}}},
        {"VyrControls.CheckBox", {10, 106, 150, 24},
         {{"Caption", Variant::fromString("Laser &on")}, {"Command", Variant::fromString("Laser")}}},
        {"VyrControls.CheckBox", {170, 106, 150, 24},
         {{"Caption", Variant::fromString("Text left")}, {"CaptionPosition", Variant::fromLong(1)},
          {"Command", Variant::fromString("Laser")}}},
        {"VyrControls.CheckBox", {330, 106, 120, 24}, {{"Caption", Variant::fromString("No server")}}},
        {"VyrControls.ButtonList", {10, 140, 440, 100},
         {{"ButtonRows", Variant::fromLong(2)}, {"Style", Variant::fromLong(2)}, {"ButtonDistance", Variant::fromLong(4)},
          {"Command", Variant::fromString("Lines")}}},
        {"VyrControls.CheckBox", {10, 252, 130, 24},
         {{"Caption", Variant::fromString("On yellow")}, {"BackColor", Variant::fromULong(0x0080FFFF)},
          {"Command", Variant::fromString("Laser")}}},
        {"VyrControls.Button", {150, 248, 130, 32}, {{"Caption", Variant::fromString("Disabled")}}},
        {"VyrControls.DisplayButton", {290, 248, 130, 32}, {{"Command", Variant::fromString("Amp")}}},
    };
    (*server)["Amp"].text = "R&un";
    // A checked back picture under the disabled Button's caption.
    QImage checks(8, 8, QImage::Format_RGB32);
    checks.fill(qRgb(90, 140, 200));
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            checks.setPixel(x, y, qRgb(200, 220, 240)), checks.setPixel(x + 4, y + 4, qRgb(200, 220, 240));
    com::ComPtr<IPictureDisp> back;
    ASSERT_EQ(com::createPicture(checks, back.put()), S_OK);
    std::vector<HostWidget*> hosts;
    for (const Spec& s : specs) {
        auto* h = new HostWidget(&top);
        h->setGeometry(s.where);
        ASSERT_EQ(h->create(s.progId), S_OK) << s.progId;
        for (const auto& [name, value] : s.props)
            EXPECT_EQ(h->setProperty(name, value), S_OK) << s.progId << " " << name;
        if (std::string(s.progId) != "VyrControls.RadioButton" && h->property("Command").toString() != "")
            h->setCommandServer(server.get());
        if (std::string(s.progId) == "VyrControls.Button")
            EXPECT_EQ(h->setProperty("BackPicture", Variant::fromDispatch(back.get())), S_OK);
        hosts.push_back(h);
    }
    top.show();
    QApplication::processEvents();
    const QImage img = top.grab().toImage();
    const QString dir = qEnvironmentVariableIsSet("VYR_SCREENSHOT_DIR") ? qEnvironmentVariable("VYR_SCREENSHOT_DIR")
                                                                        : QDir::tempPath();
    ASSERT_TRUE(img.save(dir + "/buttons-family.png"));

    // The server's red face, the pushed-in option on green, radio group 1 with the first on.
    EXPECT_EQ(img.pixelColor(16, 16), QColor(255, 0, 0));
    EXPECT_EQ(img.pixelColor(157, 17), QColor(0, 192, 0));
    EXPECT_TRUE(test::controlOf<RadioButton>(hosts[3]).value());
    EXPECT_TRUE(test::controlOf<RadioButton>(hosts[5]).value()) << "another group stays on";
    EXPECT_EQ(test::controlOf<ButtonList>(hosts[10]).current, 2);
}
