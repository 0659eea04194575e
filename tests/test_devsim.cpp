// devsim --link takes over only a missing path or a link to a pseudo-terminal, and removes only
// the link it made.
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DevsimLinkTest, TakesOnlyATerminalLinkAndRemovesOnlyItsOwn) {
    QTemporaryDir dir;
    const QString path = dir.filePath("COM1");
    for (const char* target : {"/dev/null", "/dev/pts/9999"}) { // a real port, an earlier run
        QFile::remove(path);
        ASSERT_TRUE(QFile::link(target, path));
        QProcess p;
        p.start(DEVSIM_PATH, {"--link", path});
        ASSERT_TRUE(p.waitForStarted(5000));
        if (QByteArray(target) == "/dev/null") { // refused, and the link stays
            ASSERT_TRUE(p.waitForFinished(5000));
            EXPECT_NE(p.exitCode(), 0);
            EXPECT_EQ(QFileInfo(path).symLinkTarget(), target);
            continue;
        }
        ASSERT_TRUE(p.waitForReadyRead(5000));
        EXPECT_EQ(QFileInfo(path).symLinkTarget(), QString::fromLocal8Bit(p.readLine()).trimmed());
        p.terminate();
        EXPECT_TRUE(p.waitForFinished(5000));
        EXPECT_FALSE(QFileInfo(path).isSymLink());
    }
}
