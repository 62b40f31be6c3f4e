#include "harness/TestDir.h"

#include "SingleInstanceGuard.h"

#include <QFile>

#include <gtest/gtest.h>
#include <unistd.h>

namespace {

QByteArray readAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

TEST(SingleInstanceGuard, OneHolderPerKey) {
    harness::TestDir dir;
    SingleInstanceGuard first(QStringLiteral("GuardTest"));
    SingleInstanceGuard second(QStringLiteral("GuardTest"));
    ASSERT_EQ(first.acquire(), SingleInstanceGuard::Result::Acquired);
    EXPECT_EQ(second.acquire(), SingleInstanceGuard::Result::AlreadyRunning);
    first.release();
    EXPECT_EQ(second.acquire(), SingleInstanceGuard::Result::Acquired);
}

TEST(SingleInstanceGuard, PlantedLinkIsNotFollowed) {
    harness::TestDir dir;
    const QString victim = dir.file("victim.txt");
    {
        QFile file(victim);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("keep me\n");
    }
    SingleInstanceGuard guard(QStringLiteral("GuardTest"));
    ASSERT_EQ(
        ::symlink(QFile::encodeName(victim).constData(), QFile::encodeName(guard.lockPath()).constData()), 0);
    EXPECT_EQ(guard.acquire(), SingleInstanceGuard::Result::Failed);
    EXPECT_EQ(readAll(victim), QByteArray("keep me\n"));
}

} // namespace
