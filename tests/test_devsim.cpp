// devsim --link takes over only a missing path or a link to a pseudo-terminal, and removes only
// the link it made; --meters, --silent, --silent-after, --erase-on-usr1, --late, --append,
// --set-id-from-new, --other-framing and --pace set how a device answers.
#include "link/Link.h"
#include "support/Devsim.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>
#include <signal.h>

namespace {
// devsim started with the given options, and a link with its "COM 1" open on it.
struct DevsimOnCom1 {
    DevsimRun devsim;
    RealPortEnv env;
    std::optional<Link> link;
    bool start(const QStringList& args) {
        if (!devsim.start(args)) return false;
        env.st.AppFolder = devsim.dir.path();
        env.st.CommPortNumber = 1;
        link.emplace(env.st, env.sv);
        link->OpenCommPort();
        return true;
    }
};
} // namespace

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

TEST(DevsimMetersTest, DeviceAnswersTheGivenMeterBytes) {
    DevsimOnCom1 sim;
    ASSERT_TRUE(sim.start({"--device", "1", "--meters", "1:7,0,15,63,0,0,0,5"}));
    Link& link = *sim.link;
    ASSERT_FALSE(link.SendFrame(1, CmdReadMeters));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&sim.env.st.RxBuf[4]), 8),
              QByteArray("\x07\0\x0F\x3F\0\0\0\x05", 8));
}

// --silent and --silent-after act on their device whatever the order of the options; the pings
// of one device, in turn, answer (+) or not (-).
TEST(DevsimSilentTest, SilentFromTheStartOrAfterNFramesInAnyOrder) {
    struct Case {
        QStringList args;
        int dev;
        const char* answers;
    };
    const Case cases[] = {
        {{"--silent", "1", "--device", "1", "--device", "2"}, 1, "---"},
        {{"--silent", "1", "--device", "1", "--device", "2"}, 2, "+++"},
        {{"--silent-after", "2:2", "--device", "1", "--device", "2"}, 2, "++--"},
        {{"--device", "2", "--silent-after", "2:1"}, 2, "+--"},
    };
    for (const Case& c : cases) {
        DevsimOnCom1 sim;
        ASSERT_TRUE(sim.start(c.args));
        Link& link = *sim.link;
        std::string answers;
        for (size_t i = 0; c.answers[i]; ++i)
            answers += link.PingDevice(c.dev, CmdPing) ? '+' : '-';
        EXPECT_EQ(answers, c.answers) << c.args.join(' ').toStdString() << " device " << c.dev;
    }
}

// An address where no device is, or an option without its value, ends devsim with status 2 and
// a message that names the option given.
TEST(DevsimSilentTest, NoDeviceAtTheAddressOrAMalformedValueIsRefused) {
    const std::pair<QStringList, QByteArray> cases[] = {
        {{"--device", "1", "--silent", "3"}, "--silent names"},
        {{"--silent-after", "3:4", "--device", "1"}, "--silent-after names"},
        {{"--device", "1", "--silent-after", "3:0"}, "--silent-after names"},
        {{"--device", "1", "--silent-after", "1"}, "--silent-after takes"},
        {{"--device", "1", "--silent", "x"}, "--silent takes"},
        {{"--device", "1", "--append", "1:x"}, "--append takes"},
        {{"--device", "1", "--set-id-from-new", "2"}, "--set-id-from-new names"},
        {{"--device", "1", "--other-framing", "2"}, "--other-framing names"},
        {{"--device", "1", "--other-framing", "x"}, "--other-framing takes"},
    };
    for (const auto& [args, message] : cases) {
        QProcess p;
        p.start(DEVSIM_PATH, args);
        ASSERT_TRUE(p.waitForFinished(5000));
        EXPECT_EQ(p.exitCode(), 2) << args.join(' ').toStdString();
        EXPECT_TRUE(p.readAllStandardError().contains(message)) << args.join(' ').toStdString();
    }
}

TEST(DevsimPaceTest, PacedRepliesWithBytesAfterThemAndAnIdChangeAnsweredFromTheNewId) {
    DevsimOnCom1 sim;
    ASSERT_TRUE(sim.start({"--device", "1:Stage", "--pace", "--append", "1:3", "--set-id-from-new", "1"}));
    Link& link = *sim.link;
    AppState& st = sim.env.st;
    ASSERT_TRUE(link.PingDevice(1, CmdPing)); // the port learns that replies echo
    QElapsedTimer header;
    header.start();
    ASSERT_TRUE(link.SendFrameRead48(1, CmdRecallMemory, {0xFF}));
    EXPECT_GE(header.elapsed(), 48 * 10 * 1000 / 9600); // 48 bytes at 9600 baud
    for (int i = 0; i < 48; ++i) // a new device's program: none of the bytes sent after a reply
        EXPECT_EQ(st.RxBuf[static_cast<size_t>(i)], 0) << i;
    EXPECT_FALSE(link.SendFrame(1, CmdReadByte, {0, 32}));
    EXPECT_EQ(st.RxBuf[8], 19); // "S" of "Stage"
    EXPECT_FALSE(link.SendFrame(1, CmdSetId, {5}));
    EXPECT_TRUE(link.LastDone());
    EXPECT_EQ(st.RxBuf[2], 5);
    EXPECT_TRUE(link.PingDevice(5, CmdPing));
}

TEST(DevsimPaceTest, ABusMixingBothFramingsAnswersEachDeviceAsItFrames) {
    // Device 1 frames its replies otherwise, device 3 repeats the request's head.
    DevsimOnCom1 sim;
    ASSERT_TRUE(sim.start({"--pace", "--device", "1:Stage", "--device", "3:Mon", "--other-framing", "1"}));
    Link& link = *sim.link;
    AppState& st = sim.env.st;
    ASSERT_TRUE(link.PingDevice(1, CmdPing));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(st.RxBuf.data()), 13),
              QByteArray("\0\0\0\0\x65\0\0\0\0\0\0\0\0", 13));
    EXPECT_TRUE(link.PingDevice(3, CmdPing));
    EXPECT_TRUE(link.RepliesEcho(3));
    EXPECT_FALSE(link.SendFrame(1, CmdReadByte, {0, 32}));
    EXPECT_EQ(st.RxBuf[8], 19); // "S" of "Stage"
    EXPECT_FALSE(link.SendFrame(3, CmdReadByte, {0, 32}));
    EXPECT_EQ(st.RxBuf[8], 13); // "M" of "Mon"
}

TEST(DevsimEraseTest, Usr1ErasesTheNamedMemory) {
    DevsimOnCom1 sim;
    ASSERT_TRUE(sim.start({"--device", "1", "--erase-on-usr1", "1:3"}));
    Link& link = *sim.link;
    const Data8 recall3{2, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_TRUE(link.SendFrameRead48(1, CmdRecallMemory, recall3));
    EXPECT_EQ(sim.env.st.RxBuf[0], 0); // a new device's memory: zeros, status 0xFF

    ASSERT_EQ(::kill(static_cast<pid_t>(sim.devsim.process.processId()), SIGUSR1), 0);
    QByteArray out;
    while (!out.contains("erased memory 3 of 1\n") && sim.devsim.process.waitForReadyRead(5000))
        out += sim.devsim.process.readAllStandardOutput();
    ASSERT_TRUE(out.contains("erased memory 3 of 1\n"));

    ASSERT_TRUE(link.SendFrameRead48(1, CmdRecallMemory, recall3));
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(sim.env.st.RxBuf[static_cast<size_t>(i)], 0xFF) << i;
}

TEST(DevsimLateTest, TheNamedRequestIsAnsweredLateAndNeverAnswersTheNextPing) {
    // Device 1's second ping is answered 300 ms late, while the empty address 3 is pinged.
    DevsimOnCom1 sim;
    ASSERT_TRUE(sim.start({"--device", "1", "--late", "1:0x00:2:300"}));
    Link& link = *sim.link;
    EXPECT_TRUE(link.PingDevice(1, CmdPing));
    EXPECT_FALSE(link.PingDevice(1, CmdPing));
    EXPECT_FALSE(link.PingDevice(3, CmdPing));
    EXPECT_TRUE(link.PingDevice(1, CmdPing));

    for (const char* bad : {"1:zz:1:5", "1:0:0:5", "2:0:1:5", "1:0:1"}) { // no device at 2
        QProcess p;
        p.start(DEVSIM_PATH, {"--device", "1", "--late", bad});
        ASSERT_TRUE(p.waitForFinished(5000)) << bad;
        EXPECT_EQ(p.exitCode(), 2) << bad;
    }
}
