// The TimeEdit's rules and the Edit's read and commit rules, by plain calls.
#include "controls/values/edit_logic.h"
#include "controls/values/time_fields.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vyr::values;

namespace {

// 2024-03-05 is OLE day 45356; 13:45:30 is 49530 seconds into it.
constexpr double kDay = 45356.0;
double at(long h, long m, long s) { return kDay + (h * 3600 + m * 60 + s) / 86400.0; }

TEST(TimeFields, SplitsTheTimeOfDayToTheSecond)
{
    const TimeOfDay t = splitTime(at(13, 45, 30));
    EXPECT_EQ(t.hours, 13);
    EXPECT_EQ(t.minutes, 45);
    EXPECT_EQ(t.seconds, 30);
    // Negative dates count their time away from the day as well: -1.25 is 6:00.
    EXPECT_EQ(splitTime(-1.25).hours, 6);
    // Just short of midnight does not round to a 24th hour; wild values show 00:00:00.
    EXPECT_EQ(splitTime(kDay + 0.9999999).hours, 23);
    EXPECT_EQ(splitTime(NAN).hours, 0);
    EXPECT_EQ(splitTime(INFINITY).seconds, 0);
}

TEST(TimeFields, ReplacingAPartKeepsTheDateAndTheOtherParts)
{
    const double v = withTimePart(at(13, 45, 30), TimeField::Minutes, 5);
    EXPECT_NEAR(v, at(13, 5, 30), 1e-9);
    EXPECT_EQ(std::floor(v), kDay);
    EXPECT_NEAR(withTimePart(-1.25, TimeField::Hours, 12), -1.5, 1e-9);
}

TEST(TimeFields, TheChecksAcceptTwentyFourAndSixty)
{
    EXPECT_TRUE(fieldInRange(TimeField::Hours, 24));
    EXPECT_FALSE(fieldInRange(TimeField::Hours, 25));
    EXPECT_TRUE(fieldInRange(TimeField::Minutes, 60));
    EXPECT_TRUE(fieldInRange(TimeField::Seconds, 60));
    EXPECT_FALSE(fieldInRange(TimeField::Seconds, 61));
    EXPECT_FALSE(fieldInRange(TimeField::Minutes, -1));
    EXPECT_EQ(readFieldNumber(" 7x"), 7);
    EXPECT_EQ(readFieldNumber("-3"), -3);
    EXPECT_EQ(readFieldNumber("x7"), std::nullopt);
    EXPECT_EQ(readFieldNumber(""), std::nullopt);
    EXPECT_GT(*readFieldNumber("99999999999999999999999999"), 60) << "no overflow into range";
    EXPECT_EQ(fieldText(7), "07");
}

TEST(TimeFields, OneSecondPastTheLastOfTheDayIsTheNextMidnight)
{
    // 23:59:59 with the seconds field set to 60: the check accepts it and the date carries.
    const TimeCommit c = commitTime(at(23, 59, 59), {"23", "59", "60"});
    EXPECT_TRUE(c.allValid);
    EXPECT_NEAR(c.value, kDay + 1, 1e-9);
    const TimeOfDay t = splitTime(c.value);
    EXPECT_EQ(t.hours + t.minutes + t.seconds, 0);
}

TEST(TimeFields, AnInvalidFieldKeepsItsPartAndTheValidOnesApply)
{
    const TimeCommit c = commitTime(at(13, 45, 30), {"25", "10", "ab"});
    EXPECT_FALSE(c.allValid);
    EXPECT_NEAR(c.value, at(13, 10, 30), 1e-9);
}

TEST(TimeFields, DigitsAdvanceOverwriteOrInsert)
{
    struct Case {
        TimeField field;
        const char* text;
        int caret;
        bool selection;
        DigitAction want;
    };
    const Case cases[] = {
        {TimeField::Hours, "12", 2, false, DigitAction::Advance},  // full and valid
        {TimeField::Hours, "25", 2, false, DigitAction::Insert},   // full but not valid
        {TimeField::Minutes, "59", 2, false, DigitAction::Advance},
        {TimeField::Seconds, "59", 2, false, DigitAction::Insert}, // the last field has nowhere to go
        {TimeField::Hours, "12", 1, false, DigitAction::Overwrite},
        {TimeField::Hours, "12", 0, false, DigitAction::Overwrite},
        {TimeField::Hours, "12", 2, true, DigitAction::Insert},    // a selection is replaced
        {TimeField::Hours, "1", 1, false, DigitAction::Insert},
    };
    for (const Case& c : cases)
        EXPECT_EQ(digitAction(c.field, c.text, c.caret, c.selection), c.want) << c.text << " at " << c.caret;
}

TEST(TimeFields, ArrowsLeaveAFieldOnlyAtItsEdges)
{
    EXPECT_EQ(arrowMove(TimeField::Minutes, true, 0, 2, false), FieldMove::Previous);
    EXPECT_EQ(arrowMove(TimeField::Hours, true, 0, 2, false), FieldMove::Stay);
    EXPECT_EQ(arrowMove(TimeField::Minutes, false, 2, 2, false), FieldMove::Next);
    EXPECT_EQ(arrowMove(TimeField::Seconds, false, 2, 2, false), FieldMove::Stay);
    EXPECT_EQ(arrowMove(TimeField::Minutes, false, 1, 2, false), FieldMove::Stay);
    EXPECT_EQ(arrowMove(TimeField::Minutes, true, 0, 2, true), FieldMove::Stay);
}

TEST(TimeFields, LayoutPutsEachFieldAtTheRightOfItsThird)
{
    const TimeEditLayout l = layoutTimeEdit({0, 0, 150, 24}, 20, 17);
    EXPECT_EQ(l.fields[0], (PixelRect{24, 3, 44, 20}));
    EXPECT_EQ(l.frames[0], (PixelRect{18, 0, 50, 24}));
    EXPECT_EQ(l.labels[0], (PixelRect{0, 0, 18, 24}));
    EXPECT_EQ(l.labels[1], (PixelRect{50, 0, 68, 24})) << "between the previous frame and this one";
    EXPECT_EQ(l.frames[2].right, 150);
}

TEST(EditLogic, ServerTextReplacesTheFieldOnlyWhenItChanged)
{
    EditLogic e;
    TextRefresh r = e.refresh({"abc", true, false});
    EXPECT_TRUE(r.showText);
    EXPECT_TRUE(r.placeField);
    r = e.refresh({"abc", true, false});
    EXPECT_FALSE(r.showText);
    EXPECT_FALSE(r.repaint) << "the same text: no repaint";
    r = e.refresh({"abd", true, false});
    EXPECT_TRUE(r.showText);
    EXPECT_TRUE(r.repaint);
    r = e.refresh({"", false, true});
    EXPECT_FALSE(e.enabled());
    EXPECT_TRUE(r.repaint);
    EXPECT_EQ(e.text(), "abd") << "a failed read keeps the text";
}

TEST(EditLogic, ReturnCommitsAChangedTextAndFocusLossAlways)
{
    EditLogic e;
    e.refresh({"abc", true, false});
    EXPECT_EQ(e.commit("abc", false, CommitCause::Return), std::nullopt);
    EXPECT_EQ(e.commit("xyz", true, CommitCause::Return), "xyz");
    EXPECT_EQ(e.text(), "xyz");
    EXPECT_EQ(e.commit("xyz", false, CommitCause::FocusLoss), "xyz");
}

} // namespace
