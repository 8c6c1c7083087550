#include "platform/registry/keyname.h"
#include <gtest/gtest.h>

using namespace vyr::registry;

TEST(FoldName, UpperCasesLettersOfEveryCoveredScript)
{
    struct Row { const char* in; const char* out; };
    const Row rows[] = {
        {"InprocServer32", "INPROCSERVER32"},
        {"{a19f6964-7884-11d0}", "{A19F6964-7884-11D0}"},
        {"Grüße", "GRÜßE"},  // ß has no single upper-case letter
        {"ÿ", "Ÿ"},
        {"łódź", "ŁÓDŹ"},
        {"σίς", "ΣίΣ"},
        {"ключ", "КЛЮЧ"},
        {"ёж", "ЁЖ"},
        {"÷×", "÷×"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(foldName(r.in), r.out) << r.in;
}

TEST(FoldName, LeavesMalformedBytesAlone)
{
    const std::string bad = std::string("a\xC3", 2) + "b\xFF" + "\xE2\x82";
    EXPECT_EQ(foldName(bad), std::string("A\xC3", 2) + "B\xFF" + "\xE2\x82");
    const std::string overlong = "\xC0\xAF";  // '/' in a too long form is not decoded
    EXPECT_EQ(foldName(overlong), overlong);
}

TEST(FoldName, OrdersUnderscoreAfterLetters)
{
    // Subkeys enumerate by folded name; the upper-case fold puts '_' (0x5F) after 'Z'.
    EXPECT_LT(foldName("zeta"), foldName("_x"));
}

TEST(SplitKeyPath, SplitsAndRejects)
{
    using S = KeyPath::Status;
    struct Row { std::string in; S status; size_t parts; };
    const Row rows[] = {
        {"", S::Ok, 0},
        {"\\", S::Ok, 0},
        {"CLSID", S::Ok, 1},
        {"CLSID\\{X}\\InprocServer32", S::Ok, 3},
        {"a\\b\\", S::Ok, 2},
        {"\\a", S::Malformed, 0},
        {"a\\\\b", S::Malformed, 0},
        {std::string(255, 'k'), S::Ok, 1},
        {std::string(256, 'k'), S::TooLong, 0},
    };
    for (const Row& r : rows) {
        const KeyPath p = splitKeyPath(r.in);
        EXPECT_EQ(p.status, r.status) << r.in;
        if (r.status == S::Ok) {
            EXPECT_EQ(p.parts.size(), r.parts) << r.in;
        }
    }
    std::string deep;
    for (size_t i = 0; i <= kMaxKeyDepth; ++i)
        deep += "k\\";
    EXPECT_EQ(splitKeyPath(deep).status, S::TooLong);
    EXPECT_EQ(splitKeyPath("a\\b\\c").parts[1], "b");
}
