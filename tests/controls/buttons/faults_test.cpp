// Faults found by using the buttons as a user would: an option set on the server drawn raised
// after losing the focus, a disabled button running its command by its mnemonic, painting that
// cleared the dirty mark, a mnemonic set in design mode dead in run mode, a server text's '&'
// executing a DisplayButton, a disabled face with a back picture losing its caption, a
// RadioButton silent while the pointer crosses it, a CheckBox ignoring its BackColor.
#include "controls/buttons/button.h"
#include "controls/buttons/checkbox.h"
#include "controls/buttons/displaybutton.h"
#include "controls/buttons/radiobutton.h"
#include "platform/com/picture.h"
#include "platform/gdi/syscolors.h"
#include "tests/controls/buttons/hosted.h"
#include <QCheckBox>

using namespace vyr;
using namespace vyr::controls;
using test::HostedButton;

TEST(ButtonFaults, ASetOptionStaysPushedInAfterLosingTheFocus)
{
    HostedButton<OptionButton> h("VyrControls.OptionButton");
    QWidget other(&h.top);
    other.setFocusPolicy(Qt::StrongFocus);
    other.show();
    h.go().state = 1;
    h.server->notify("Go");
    h.window()->setFocus();
    ASSERT_TRUE(h.control().focused());
    other.setFocus();
    ASSERT_FALSE(h.control().focused());
    EXPECT_EQ(h.control().face.pressed, 1);
    // Nothing changed on the server: the next notification must not be needed to mend it.
    h.server->notify("Go");
    EXPECT_EQ(h.control().face.pressed, 1);
    // A press held while the focus goes returns to the option's state too.
    h.window()->setFocus();
    h.go().state = 0;
    h.server->notify("Go");
    QTest::keyPress(h.window(), Qt::Key_Space);
    EXPECT_EQ(h.control().face.pressed, 1);
    other.setFocus();
    EXPECT_EQ(h.control().face.pressed, 0);
}

TEST(ButtonFaults, ADisabledButtonIgnoresItsMnemonic)
{
    HostedButton<Button> h("VyrControls.Button");
    h.put("Caption", com::Variant::fromString("&Go"));
    h.go().enabled = false;
    h.server->notify("Go");
    QTest::keyClick(&h.top, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(h.go().executed, 0);
    EXPECT_TRUE(h.spy->events.empty());

    h.go().enabled = true;
    h.server->notify("Go");
    QTest::keyClick(&h.top, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(h.go().executed, 1) << "the enabled button answers the same key";
    EXPECT_EQ(h.spy->ids(), std::vector<DISPID>{DISPID_CLICK});
}

TEST(ButtonFaults, PaintingKeepsTheDirtyMarkOnlySavingClearsIt)
{
    HostedButton<Button> h("VyrControls.Button");
    test::savedBytes(h.host->control());
    ASSERT_FALSE(h.control().isDirty());
    h.put("Caption", com::Variant::fromString("Changed"));
    h.window()->repaint();
    h.grab();
    EXPECT_TRUE(h.control().isDirty()) << "a container saving only dirty controls would lose the caption";
    test::savedBytes(h.host->control());
    EXPECT_FALSE(h.control().isDirty());
}

TEST(ButtonFaults, AMnemonicSetInDesignModeWorksInRunMode)
{
    HostedButton<Button> h("VyrControls.Button");
    h.host->setUserMode(false);
    h.put("Caption", com::Variant::fromString("&Go"));
    h.host->setUserMode(true);
    QTest::keyClick(&h.top, Qt::Key_G, Qt::AltModifier);
    EXPECT_EQ(h.go().executed, 1);
    EXPECT_EQ(h.spy->ids(), std::vector<DISPID>{DISPID_CLICK});
}

TEST(ButtonFaults, AnAmpersandInADisplayButtonsServerTextIsNoShortcut)
{
    HostedButton<DisplayButton> h("VyrControls.DisplayButton");
    h.go().text = "R&un";
    h.server->notify("Go");
    ASSERT_EQ(h.control().captionText(), "R&un");
    QTest::keyClick(&h.top, Qt::Key_U, Qt::AltModifier);
    EXPECT_EQ(h.go().executed, 0) << "the application's state text names no key";
    EXPECT_TRUE(h.spy->events.empty());
    // The mouse still executes.
    QTest::mouseClick(h.window(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_EQ(h.go().executed, 1);
}

TEST(ButtonFaults, ADisabledFaceWithABackPictureKeepsItsCaption)
{
    // A back picture of a mid colour, tiled over the whole face; a wide black caption.
    QImage tile(8, 8, QImage::Format_RGB32);
    tile.fill(qRgb(40, 90, 160));
    com::ComPtr<IPictureDisp> back;
    ASSERT_EQ(com::createPicture(tile, back.put()), S_OK);
    HostedButton<Button> h("VyrControls.Button", QSize(120, 40), false);
    h.put("Caption", com::Variant::fromString("WWWWWW"));
    h.put("ForeColor", com::Variant::fromULong(0));
    h.put("BackPicture", com::Variant::fromDispatch(back.get()));
    ASSERT_FALSE(h.control().enabledFlag());
    const QImage face = h.grab().convertToFormat(QImage::Format_RGB32);
    const QRgb shadow = gdi::SysColor(gdi::COLOR_BTNSHADOW).rgb();
    const QRgb faceColour = gdi::SysColor(gdi::COLOR_BTNFACE).rgb();
    int shadowInside = 0, faceInside = 0;
    for (int y = 6; y < 34; ++y) {
        for (int x = 6; x < 114; ++x) {
            shadowInside += face.pixel(x, y) == shadow;
            faceInside += face.pixel(x, y) == faceColour;
        }
    }
    const int inside = 28 * 108;
    // Embossed: the caption's strokes in shadow on the button face, not one shadow block.
    EXPECT_GT(shadowInside, 20);
    EXPECT_LT(shadowInside, inside / 3);
    EXPECT_GT(faceInside, inside / 2);
    // Row by row the caption's ink lies in the middle band only.
    EXPECT_EQ(face.pixel(60, 6), faceColour);
}

TEST(ButtonFaults, ARadioButtonFiresMouseMoveWithoutAButtonHeld)
{
    HostedButton<RadioButton> h("VyrControls.RadioButton", QSize(120, 40), false);
    h.put("Enabled", com::Variant::fromBool(true));
    h.spy->clear();
    QTest::mouseMove(h.window(), QPoint(10, 12));
    QTest::mouseMove(h.window(), QPoint(30, 15));
    ASSERT_FALSE(h.spy->events.empty());
    const test::FiredEvent& last = h.spy->events.back();
    EXPECT_EQ(last.id, DISPID_MOUSEMOVE);
    ASSERT_EQ(last.args.size(), 4u);
    EXPECT_EQ(last.args[0].toLong().value_or(-1), 0) << "no button held";
    EXPECT_EQ(last.args[2].toLong().value_or(-1), 30);
    EXPECT_EQ(last.args[3].toLong().value_or(-1), 15);
}

TEST(ButtonFaults, ACheckBoxPaintsItsBackColorAndReadsInOrder)
{
    HostedButton<CheckBox> h("VyrControls.CheckBox", QSize(140, 24));
    h.put("Caption", com::Variant::fromString("Laser"));
    h.put("BackColor", com::Variant::fromULong(0x00FF8000)); // blue 255, green 128
    const QImage img = h.grab().convertToFormat(QImage::Format_RGB32);
    // Far right of the text: only the background.
    EXPECT_EQ(img.pixel(136, 12), qRgb(0, 0x80, 0xFF));
    EXPECT_EQ(img.pixel(136, 1), qRgb(0, 0x80, 0xFF));

    h.server->log.clear();
    h.server->notify("Go");
    EXPECT_EQ(h.server->log, (std::vector<std::string>{"GetCommandEnabled Go", "GetCommandState Go",
                                                        "GetCommandVisible Go"}));
}
