#include "vtx/ui/single_instance.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace vyr::vtx::ui {
namespace {

QString uniqueName(const char* what)
{
    return QStringLiteral("vyr-vtx-test-%1-%2").arg(what).arg(QCoreApplication::applicationPid());
}

// The second copy runs on a thread of its own so that the first can answer on this one.
int claimElsewhere(const QString& name)
{
    std::atomic<int> result{-1};
    std::thread other([&] {
        SingleInstance second(name);
        result = second.claim() ? 1 : 0;
    });
    while (result == -1)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    other.join();
    return result;
}

TEST(SingleInstance, ASecondCopyAsksTheFirstToComeForwardAndEnds)
{
    QString name = uniqueName("second");
    SingleInstance first(name);
    ASSERT_TRUE(first.claim());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);
    EXPECT_EQ(claimElsewhere(name), 0);
    EXPECT_EQ(activated.count(), 1);
    EXPECT_EQ(claimElsewhere(name), 0);
    EXPECT_EQ(activated.count(), 2);
}

TEST(SingleInstance, TheFirstCopyRunsAndAfterItEndsTheNextOneDoes)
{
    QString name = uniqueName("after");
    {
        SingleInstance first(name);
        ASSERT_TRUE(first.claim());
    }
    SingleInstance next(name);
    EXPECT_TRUE(next.claim());
}

TEST(SingleInstance, ASocketLeftByACrashedCopyIsTakenOver)
{
    QString name = uniqueName("stale");
    QString socketFile = QDir::temp().filePath(name);
    QFile stale(socketFile);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    stale.close();
    SingleInstance first(name);
    EXPECT_TRUE(first.claim());
    QSignalSpy activated(&first, &SingleInstance::activationRequested);
    EXPECT_EQ(claimElsewhere(name), 0);
    EXPECT_EQ(activated.count(), 1);
}

} // namespace
} // namespace vyr::vtx::ui
