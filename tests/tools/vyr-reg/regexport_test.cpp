#include "platform/registry/regkey.h"
#include "tests/platform/registry/tempstore.h"
#include "tools/vyr-reg/regexport.h"

using namespace vyr::registry;
using vyr::tools::exportKey;
using vyr::tools::formatRegValue;

namespace {

std::vector<BYTE> bytes(std::string_view s) { return {s.begin(), s.end()}; }

std::vector<BYTE> counting(size_t n)
{
    std::vector<BYTE> v(n);
    for (size_t i = 0; i < n; ++i)
        v[i] = BYTE(i);
    return v;
}

} // namespace

TEST(FormatRegValue, WritesEachKindAsRegeditDoes)
{
    using namespace std::string_literals;
    struct Row { std::string name; DWORD type; std::vector<BYTE> data; std::string line; };
    const Row rows[] = {
        {"", REG_SZ, bytes("Button Control\0"s), R"(@="Button Control")"},
        {"ThreadingModel", REG_SZ, bytes("Apartment\0"s), R"("ThreadingModel"="Apartment")"},
        {"NoNul", REG_SZ, bytes("abc"), R"("NoNul"="abc")"},
        {"Empty", REG_SZ, {}, R"("Empty"="")"},
        {R"(a"b\c)", REG_SZ, bytes("C:\\x \"y\"\0"s), R"("a\"b\\c"="C:\\x \"y\"")"},
        {"Count", REG_DWORD, {10, 0, 0, 0}, R"("Count"=dword:0000000a)"},
        {"Big", REG_DWORD, {0xD0, 0xC0, 0xB0, 0xA0}, R"("Big"=dword:a0b0c0d0)"},
        {"Short", REG_DWORD, {1, 2}, R"("Short"=hex(4):01,02)"},
        {"Left", REG_NONE, {0x0C, 0xFE, 0xFF, 0xFF}, R"("Left"=hex(0):0c,fe,ff,ff)"},
        {"Nothing", REG_NONE, {}, R"("Nothing"=hex(0):)"},
        {"Blob", REG_BINARY, {0, 0xAB}, R"("Blob"=hex:00,ab)"},
        {"Expand", REG_EXPAND_SZ, bytes("%A%\0"s), R"("Expand"=hex(2):25,41,25,00)"},
        {"Inner", REG_SZ, bytes("a\0b\0"s), R"("Inner"=hex(1):61,00,62,00)"},
        {"Lines", REG_SZ, bytes("a\nb"), R"("Lines"=hex(1):61,0a,62)"},
        {"Wide", REG_QWORD, counting(8), R"("Wide"=hex(b):00,01,02,03,04,05,06,07)"},
    };
    for (const Row& r : rows)
        EXPECT_EQ(formatRegValue(r.name, r.type, r.data), r.line) << r.name;
}

TEST(FormatRegValue, WrapsLongHexDataBelowEightyColumns)
{
    // 22 bytes fill the first line after "Blob"=hex:, 25 each further line.
    const std::string line = formatRegValue("Blob", REG_BINARY, counting(50));
    EXPECT_EQ(line,
              "\"Blob\"=hex:00,01,02,03,04,05,06,07,08,09,0a,0b,0c,0d,0e,0f,10,11,12,13,14,15,\\\n"
              "  16,17,18,19,1a,1b,1c,1d,1e,1f,20,21,22,23,24,25,26,27,28,29,2a,2b,2c,2d,2e,\\\n"
              "  2f,30,31");
    size_t start = 0;
    while (start < line.size()) {
        const size_t end = std::min(line.find('\n', start), line.size());
        EXPECT_LE(end - start, 80u);
        start = end + 1;
    }
    // Data that ends exactly at the limit ends the line without a continuation.
    EXPECT_EQ(formatRegValue("Blob", REG_BINARY, counting(22)).find('\n'), std::string::npos);
}

using ExportTest = vyr::registry::test::StoreTest;

TEST_F(ExportTest, WritesTheBranchWithParentsBeforeChildren)
{
    const char* cls = "CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}";
    RegKey k;
    ASSERT_EQ(k.create(HKEY_CLASSES_ROOT, cls), ERROR_SUCCESS);
    for (auto [sub, text] : {std::pair{"", "Button Control"}, {"ProgID", "VyrControls.Button.1"},
                             {"MiscStatus", "0"}, {"MiscStatus\\1", "135569"},
                             {"InprocServer32", "/opt/vyr/libvyrcontrols.so"}, {"Control", ""}})
        ASSERT_EQ(RegSetValue(k.get(), sub, REG_SZ, text, 0), ERROR_SUCCESS);
    ASSERT_EQ(k.setDword("Count", 10), ERROR_SUCCESS);
    ASSERT_EQ(k.setValue("Left", REG_NONE, {0x0C, 0xFE, 0xFF, 0xFF}), ERROR_SUCCESS);
    RegKey server;
    ASSERT_EQ(server.open(k.get(), "InprocServer32", KEY_SET_VALUE), ERROR_SUCCESS);
    ASSERT_EQ(server.setString("ThreadingModel", "Apartment"), ERROR_SUCCESS);
    RegKey other;  // a sibling that must stay out of the export
    ASSERT_EQ(other.create(HKEY_CLASSES_ROOT, "CLSID\\{B0000000-0000-0000-0000-000000000000}"),
              ERROR_SUCCESS);

    std::string text;
    ASSERT_EQ(exportKey(k.get(), std::string("HKEY_CLASSES_ROOT\\") + cls, text), ERROR_SUCCESS);
    EXPECT_EQ(text,
              "Windows Registry Editor Version 5.00\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}]\n"
              "@=\"Button Control\"\n"
              "\"Count\"=dword:0000000a\n"
              "\"Left\"=hex(0):0c,fe,ff,ff\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}\\Control]\n"
              "@=\"\"\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}\\InprocServer32]\n"
              "@=\"/opt/vyr/libvyrcontrols.so\"\n"
              "\"ThreadingModel\"=\"Apartment\"\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}\\MiscStatus]\n"
              "@=\"0\"\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}\\MiscStatus\\1]\n"
              "@=\"135569\"\n"
              "\n"
              "[HKEY_CLASSES_ROOT\\CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}\\ProgID]\n"
              "@=\"VyrControls.Button.1\"\n"
              "\n");
}
