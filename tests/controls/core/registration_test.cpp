// Registration of the class table in the registry store, and its removal.
#include "controls/core/classtable.h"
#include "controls/core/module.h"
#include "controls/core/registration.h"
#include "controls/core/usersettings.h"
#include "controls/core/vyrcontrols.h"
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <cstdlib>
#include <vector>

using namespace vyr;
using namespace vyr::controls;

namespace {

class Registry : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        setenv("VYR_REGISTRY", (dir_.path() + "/registry.db").toUtf8().constData(), 1);
    }
    void TearDown() override { unsetenv("VYR_REGISTRY"); }

    static std::string value(HKEY root, const std::string& key, const char* name = nullptr)
    {
        HKEY k = nullptr;
        if (RegOpenKeyEx(root, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS)
            return "<missing key>";
        DWORD type = 0, size = 0;
        std::string r = "<missing value>";
        if (RegQueryValueEx(k, name, nullptr, &type, nullptr, &size) == ERROR_SUCCESS) {
            std::vector<char> buf(size + 1, 0);
            RegQueryValueEx(k, name, nullptr, &type, reinterpret_cast<BYTE*>(buf.data()), &size);
            r = buf.data();
        }
        RegCloseKey(k);
        return r;
    }
    static bool exists(const std::string& key)
    {
        HKEY k = nullptr;
        const bool ok = RegOpenKeyEx(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, &k) == ERROR_SUCCESS;
        if (ok)
            RegCloseKey(k);
        return ok;
    }

    QTemporaryDir dir_;
};

} // namespace

TEST_F(Registry, EveryRowIsWrittenInItsLayoutAndRemovedAgain)
{
    const std::string path = modulePath();
    ASSERT_FALSE(path.empty());
    for (int round = 0; round < 2; ++round)
        ASSERT_EQ(DllRegisterServer(), S_OK);

    const std::string button = "CLSID\\{A19F6964-7884-11D0-BEF3-00400538977D}";
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, button), "Button Control");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, button + "\\ProgID"), "VyrControls.Button.1");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, button + "\\InprocServer32"), path);
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, button + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, button + "\\ToolboxBitmap32"), path + ", 1");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, button + "\\MiscStatus"), "0");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, button + "\\MiscStatus\\1"), "135569");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, button + "\\TypeLib"), "{A19F6957-7884-11D0-BEF3-00400538977D}");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, button + "\\Version"), "1.0");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, button + "\\Insertable"), "");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, "VyrControls.Button.1\\CLSID"), "{A19F6964-7884-11D0-BEF3-00400538977D}");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, "VyrControls.Button\\CurVer"), "VyrControls.Button.1");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, "CLSID\\{1C042062-CF9B-11D4-ADED-00805FC13A04}\\ToolboxBitmap32"),
              path + ", 454");

    // A page: no ProgID, bitmap, MiscStatus, Control, TypeLib, Version or Insertable entries.
    const std::string page = "CLSID\\{7BBB4243-45D2-11D2-A183-0000CB751FFC}";
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, page), "Button Property Page");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, page + "\\InprocServer32", "ThreadingModel"), "Apartment");
    EXPECT_FALSE(exists(page + "\\ProgID"));
    EXPECT_FALSE(exists(page + "\\Insertable"));
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, "Vyr.MultiPageFrame\\CurVer"), "Vyr.MultiPageFrame.1");
    EXPECT_EQ(value(HKEY_CLASSES_ROOT, "TypeLib\\{A19F6957-7884-11D0-BEF3-00400538977D}\\1.0"), "VYRCTRLSLib");

    for (const ClassRow& row : classTable())
        EXPECT_TRUE(exists("CLSID\\" + com::formatGuid(row.clsid))) << row.className;
    EXPECT_FALSE(exists("CLSID\\{A30BB631-2196-4E0E-A44F-D93D8806462E}"));

    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(DllUnregisterServer(), S_OK);
    for (const ClassRow& row : classTable()) {
        EXPECT_FALSE(exists("CLSID\\" + com::formatGuid(row.clsid))) << row.className;
        EXPECT_FALSE(exists(row.progId)) << row.className;
        EXPECT_FALSE(exists(versionIndependentProgId(row))) << row.className;
    }
}

TEST_F(Registry, UserSettingsKeepStringsAndClampHex)
{
    EXPECT_EQ(UserSettings::ReadString("Property Browser", "CustomColor 1", "none"), "none");
    EXPECT_TRUE(UserSettings::WriteString("Property Browser", "CustomColor 1", "ff00ff"));
    EXPECT_EQ(UserSettings::ReadString("Property Browser", "CustomColor 1", "none"), "ff00ff");
    EXPECT_EQ(value(HKEY_CURRENT_USER, "software\\Halvern\\Vyr\\Property Browser", "CustomColor 1"), "ff00ff");
    EXPECT_EQ(UserSettings::ReadHex("Property Browser", "CustomColor 1", 0, 0, 0xFFFFFF), 0xFF00FFu);
    EXPECT_EQ(UserSettings::ReadHex("Property Browser", "CustomColor 1", 0, 0, 0xFF), 0xFFu);
    EXPECT_EQ(UserSettings::ReadHex("Property Browser", "missing", 0x500, 0, 0x100), 0x100u);
    EXPECT_TRUE(UserSettings::WriteHex("Section", "Value", 0xABC));
    EXPECT_EQ(UserSettings::ReadString("Section", "Value", ""), "abc");
    EXPECT_TRUE(UserSettings::WriteString("Section", "Value", nullptr));
    EXPECT_EQ(UserSettings::ReadString("Section", "Value", "gone"), "gone");
    EXPECT_TRUE(UserSettings::WriteString("Section", nullptr, nullptr));
    HKEY k = nullptr;
    EXPECT_NE(RegOpenKeyEx(HKEY_CURRENT_USER, "software\\Halvern\\Vyr\\Section", 0, KEY_READ, &k), ERROR_SUCCESS);
    // Only REG_SZ is read as a string.
    HKEY root = UserSettings::OpenSection("Typed", true);
    ASSERT_NE(root, nullptr);
    const DWORD n = 7;
    RegSetValueEx(root, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&n), sizeof n);
    RegCloseKey(root);
    EXPECT_EQ(UserSettings::ReadString("Typed", "Number", "default"), "default");
}

#ifdef VYR_REGSVR_TOOL
#include <QProcess>

namespace {
struct ToolRun {
    int code;
    QString out;
};
ToolRun run(const char* program, const QStringList& args)
{
    QProcess p;
    p.start(QString::fromUtf8(program), args);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput())};
}
} // namespace

TEST_F(Registry, RegsvrThenExportShowTheLayoutAndUnregisterRemovesIt)
{
    const QString lib = QString::fromUtf8(VYR_CONTROLS_LIBRARY);
    const QString libPath = QFileInfo(lib).canonicalFilePath();
    for (int round = 0; round < 2; ++round)
        ASSERT_EQ(run(VYR_REGSVR_TOOL, {lib}).code, 0);

    for (const ClassRow& row : classTable()) {
        const QString key = QStringLiteral("HKEY_CLASSES_ROOT\\CLSID\\") + QString::fromStdString(com::formatGuid(row.clsid));
        const ToolRun r = run(VYR_REG_TOOL, {QStringLiteral("export"), key});
        ASSERT_EQ(r.code, 0) << row.className;
        EXPECT_TRUE(r.out.startsWith(QStringLiteral("Windows Registry Editor Version 5.00\n\n[") + key + "]\n@=\"" +
                                     QString::fromUtf8(row.description) + "\"\n"))
            << row.className << "\n" << r.out.toStdString();
        EXPECT_TRUE(r.out.contains("\\InprocServer32]\n@=\"" + libPath + "\"\n\"ThreadingModel\"=\"Apartment\"\n"))
            << row.className;
        const bool control = row.kind == ClassKind::Control;
        EXPECT_EQ(r.out.contains(QStringLiteral("\\ToolboxBitmap32]\n@=\"%1, %2\"").arg(libPath).arg(row.bitmapId)),
                  control)
            << row.className;
        EXPECT_EQ(r.out.contains(QStringLiteral("\\MiscStatus\\1]\n@=\"%1\"").arg(row.miscStatus)), control)
            << row.className;
    }

    for (int round = 0; round < 2; ++round)
        ASSERT_EQ(run(VYR_REGSVR_TOOL, {QStringLiteral("/u"), lib}).code, 0);
    EXPECT_NE(run(VYR_REG_TOOL, {QStringLiteral("export"), QStringLiteral("HKEY_CLASSES_ROOT\\VyrControls.Button")}).code,
              0);
}
#endif
