// The vtx program itself: started offscreen on the demo database, and started twice.
#include "platform/registry/regkey.h"
#include "tests/vtx/model/support.h"
#include "vtx/model/tool.h"
#include "vtx/ui/single_instance.h"

#include <QFile>
#include <QImage>
#include <QLocalSocket>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

namespace vyr::vtx::ui {
namespace {

class ProgramTest : public test::SystemDatabasesAndRegistry {
protected:
    void pointRegistryAt(const std::string& path)
    {
        registry::RegKey key;
        ASSERT_EQ(key.create(HKEY_LOCAL_MACHINE, tool::kDatabaseKey), ERROR_SUCCESS);
        ASSERT_EQ(key.setString(tool::kDatabaseValue, path), ERROR_SUCCESS);
    }
    QProcessEnvironment env(const QString& png = {}) const
    {
        QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
        e.insert("VYR_REGISTRY", QString::fromStdString(file("registry.db")));
        e.insert("QT_QPA_PLATFORM", "offscreen");
        if (png.isEmpty())
            e.remove("VTX_SNAPSHOT_PNG");
        else
            e.insert("VTX_SNAPSHOT_PNG", png);
        return e;
    }
};

TEST_F(ProgramTest, RendersTheMainWindowOffscreen)
{
    pointRegistryAt(build("System.mdb"));
    QString png = QString::fromStdString(file("vtx.png"));
    QProcess vtx;
    vtx.setProcessEnvironment(env(png));
    vtx.start(VTX_PROGRAM, {});
    ASSERT_TRUE(vtx.waitForFinished(30000));
    EXPECT_EQ(vtx.exitCode(), 0) << vtx.readAllStandardError().toStdString();
    EXPECT_EQ(vtx.readAllStandardOutput().trimmed(), png.toUtf8());
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 600);
    EXPECT_GE(image.height(), 400);
}

TEST_F(ProgramTest, AnInvalidArgumentIsRefusedWithoutTouchingTheDatabase)
{
    std::string path = build("System.mdb");
    pointRegistryAt(path);
    std::string bytes = dao::test::readText(path);
    QString png = QString::fromStdString(file("vtx.png"));
    QProcess vtx;
    vtx.setProcessEnvironment(env(png));
    vtx.start(VTX_PROGRAM, {"/X"});
    ASSERT_TRUE(vtx.waitForFinished(30000));
    EXPECT_EQ(vtx.readAllStandardOutput().trimmed(), "Invalid command line argument");
    EXPECT_FALSE(QFile::exists(png));
    EXPECT_EQ(dao::test::readText(path), bytes);
}

TEST_F(ProgramTest, WithNothingConfiguredItSaysHowToConfigureAndFails)
{
    QString png = QString::fromStdString(file("vtx.png"));
    QProcess vtx;
    vtx.setProcessEnvironment(env(png));
    vtx.start(VTX_PROGRAM, {});
    ASSERT_TRUE(vtx.waitForFinished(30000));
    EXPECT_NE(vtx.exitCode(), 0);
    const std::string said = vtx.readAllStandardError().toStdString();
    EXPECT_NE(said.find("No System Database is configured."), std::string::npos) << said;
    EXPECT_NE(said.find("vyr-reg add"), std::string::npos) << said;
    EXPECT_NE(said.find("vtx --demo"), std::string::npos) << said;
    EXPECT_FALSE(QFile::exists(png));

    // A configured path that does not exist keeps the start-up's own message.
    pointRegistryAt(file("gone.mdb"));
    vtx.start(VTX_PROGRAM, {});
    ASSERT_TRUE(vtx.waitForFinished(30000));
    EXPECT_EQ(vtx.readAllStandardOutput().trimmed().toStdString(), "Could not find file '" + file("gone.mdb") + "'");
}

TEST_F(ProgramTest, TheDemoMakesItsDatabaseInTheUsersDataFolderAndOpensIt)
{
    QString png = QString::fromStdString(file("demo.png"));
    QProcessEnvironment e = env(png);
    e.insert("XDG_DATA_HOME", QString::fromStdString(file("data")));
    for (int run = 0; run < 2; ++run) {   // a second run starts from a fresh demo again
        QProcess vtx;
        vtx.setProcessEnvironment(e);
        vtx.start(VTX_PROGRAM, {"--demo"});
        ASSERT_TRUE(vtx.waitForFinished(30000));
        EXPECT_EQ(vtx.exitCode(), 0) << vtx.readAllStandardError().toStdString();
        EXPECT_EQ(vtx.readAllStandardOutput().trimmed(), png.toUtf8());
    }
    const std::string db = file("data/vtx/demo/System.mdb");
    EXPECT_TRUE(std::filesystem::exists(db));
    EXPECT_EQ(tool::databasePath(), db);
    QImage image(png);
    ASSERT_FALSE(image.isNull());
    EXPECT_GE(image.width(), 600);
}

TEST_F(ProgramTest, ASecondCopyBringsTheFirstForwardAndEnds)
{
    pointRegistryAt(build("System.mdb"));
    QProcess first;
    first.setProcessEnvironment(env());
    first.start(VTX_PROGRAM, {});
    ASSERT_TRUE(first.waitForStarted(10000));
    // Wait until the first copy listens.
    QString name = SingleInstance::defaultName();
    bool listening = false;
    for (int i = 0; i < 200 && !listening; ++i) {
        QLocalSocket probe;
        probe.connectToServer(name);
        listening = probe.waitForConnected(100);
        if (!listening)
            QThread::msleep(50);
    }
    ASSERT_TRUE(listening) << first.readAllStandardError().toStdString();

    QString png = QString::fromStdString(file("second.png"));
    QProcess second;
    second.setProcessEnvironment(env(png));
    second.start(VTX_PROGRAM, {"/S"});
    ASSERT_TRUE(second.waitForFinished(15000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_FALSE(QFile::exists(png)) << "the second copy showed no window of its own";
    EXPECT_EQ(first.state(), QProcess::Running);
    first.kill();
    first.waitForFinished(5000);
}

} // namespace
} // namespace vyr::vtx::ui
