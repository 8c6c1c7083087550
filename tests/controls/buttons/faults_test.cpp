// Faults found by using the buttons as a user would: an option set on the server drawn raised
// after losing the focus, a disabled button running its command by its mnemonic, and painting
// that cleared the dirty mark.
#include "controls/buttons/button.h"
#include "tests/controls/buttons/hosted.h"

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
