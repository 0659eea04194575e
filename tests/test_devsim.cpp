// devsim's --link: it takes over only a missing path or a link to a pseudo-terminal, and removes
// only the link it made.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Starts devsim linked at path; the terminal's path when it runs, empty when it ended at once.
QString StartLinked(QProcess& p, const QString& path) {
    p.start(DEVSIM_PATH, {"--link", path});
    if (!p.waitForStarted(5000)) return {};
    if (!p.waitForReadyRead(5000)) {
        p.waitForFinished(5000);
        return {};
    }
    return QString::fromLocal8Bit(p.readLine()).trimmed();
}

void Stop(QProcess& p) {
    p.terminate();
    EXPECT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
}
} // namespace

TEST(DevsimLinkTest, RefusesAnythingButAPseudoTerminalLink) {
    QTemporaryDir dir;
    const QString file = dir.filePath("COM1");
    const QString realPort = dir.filePath("COM2");
    {
        QFile f(file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("the user's file");
    }
    ASSERT_TRUE(QFile::link("/dev/null", realPort)); // stands for a link to a real port
    for (const QString& path : {file, realPort}) {
        QProcess p;
        EXPECT_TRUE(StartLinked(p, path).isEmpty()) << path.toStdString();
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit);
        EXPECT_NE(p.exitCode(), 0);
        EXPECT_TRUE(p.readAllStandardError().contains("not a link to a pseudo-terminal"));
    }
    EXPECT_EQ(FileBytes(file), "the user's file");
    EXPECT_EQ(QFileInfo(realPort).symLinkTarget(), "/dev/null");
}

TEST(DevsimLinkTest, ReplacesAnOldTerminalLinkAndRemovesOnlyItsOwn) {
    QTemporaryDir dir;
    const QString path = dir.filePath("COM1");
    ASSERT_TRUE(QFile::link("/dev/pts/9999", path)); // left by an earlier run
    {
        QProcess p;
        const QString pty = StartLinked(p, path);
        ASSERT_TRUE(pty.startsWith("/dev/pts/")) << pty.toStdString();
        EXPECT_EQ(QFileInfo(path).symLinkTarget(), pty);
        Stop(p);
        EXPECT_FALSE(QFileInfo(path).isSymLink());
    }
    { // Something else took the path during the run: devsim leaves it there.
        QProcess p;
        ASSERT_FALSE(StartLinked(p, path).isEmpty());
        ASSERT_TRUE(QFile::remove(path));
        ASSERT_TRUE(QFile::link("/dev/null", path));
        Stop(p);
        EXPECT_EQ(QFileInfo(path).symLinkTarget(), "/dev/null");
    }
}
