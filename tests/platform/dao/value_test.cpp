#include "platform/dao/error.h"
#include "platform/dao/value.h"

#include <gtest/gtest.h>

namespace vyr::dao {
namespace {

TEST(Value, NumberFromText)
{
    struct Row { const char* text; double number; };
    for (Row r : {Row{"2.08", 2.08}, Row{" 2.1 ", 2.1}, Row{"20800", 20800}, Row{"-0.5", -0.5}, Row{"+3", 3}})
        EXPECT_DOUBLE_EQ(Value(r.text).number(), r.number) << r.text;
}

TEST(Value, TextThatIsNoNumberIsATypeMismatch)
{
    for (const char* bad : {"", "   ", "abc", "2.08a", "2,08", "nan", "inf", "1e400", "--1"}) {
        try {
            Value(bad).number();
            ADD_FAILURE() << "accepted '" << bad << "'";
        } catch (const DaoError& e) {
            EXPECT_NE(e.description().find("Type mismatch"), std::string::npos) << bad;
        }
    }
}

TEST(Value, NullRefusesEveryConversion)
{
    Value null;
    EXPECT_TRUE(null.isNull());
    EXPECT_THROW(null.text(), DaoError);
    EXPECT_THROW(null.number(), DaoError);
    EXPECT_THROW(null.boolean(), DaoError);
    EXPECT_FALSE(null.isText(""));
}

TEST(Value, TextOfOtherKinds)
{
    EXPECT_EQ(Value(20800.0).text(), "20800");
    EXPECT_EQ(Value(2.5).text(), "2.5");
    EXPECT_EQ(Value(true).text(), "True");
    EXPECT_TRUE(Value("TRUE").boolean());
    EXPECT_FALSE(Value("False").boolean());
    EXPECT_TRUE(Value(-1).boolean());
}

TEST(Value, IsTextComparesExactly)
{
    EXPECT_TRUE(Value("Do not use").isText("Do not use"));
    EXPECT_FALSE(Value("do not use").isText("Do not use"));
    EXPECT_FALSE(Value(5).isText("5"));
}

} // namespace
} // namespace vyr::dao
