// devsim on a pseudo-terminal: --link takes over only a missing path or a link to a
// pseudo-terminal and removes only the link it made; --meters sets a device's meter reply.
#include "link/Link.h"
#include "support/Devsim.h"

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

// --meters sets the eight data bytes a device answers to the meter request; a malformed list or
// an address without a device is refused before anything is served.
TEST(DevsimMetersTest, DeviceAnswersTheGivenMeterBytes) {
    DevsimRun devsim;
    ASSERT_TRUE(devsim.start({"--device", "1:Stage", "--meters", "1:7,0,15,63,0,0,0,5"}));
    RealPortEnv env;
    env.st.AppFolder = devsim.dir.path();
    env.st.CommPortNumber = 1;
    Link link(env.st, env.sv);
    link.OpenCommPort();
    ASSERT_TRUE(env.st.PortReady);
    EXPECT_FALSE(link.SendFrame(1, CmdReadMeters));
    ASSERT_EQ(link.LastExchange(), Exchange::Done);
    const std::array<uint8_t, 8> data{env.st.RxBuf[4], env.st.RxBuf[5], env.st.RxBuf[6], env.st.RxBuf[7],
                                      env.st.RxBuf[8], env.st.RxBuf[9], env.st.RxBuf[10], env.st.RxBuf[11]};
    EXPECT_EQ(data, (std::array<uint8_t, 8>{7, 0, 15, 63, 0, 0, 0, 5}));
    link.CloseCommPort();

    for (const char* bad : {"1:7,0,15,63,0,0,0", "1:7,0,15,63,0,0,0,256", "2:0,0,0,0,0,0,0,0", "1"}) {
        QProcess p;
        p.start(DEVSIM_PATH, {"--device", "1", "--meters", bad});
        ASSERT_TRUE(p.waitForFinished(5000)) << bad;
        EXPECT_EQ(p.exitCode(), 2) << bad;
    }
}
