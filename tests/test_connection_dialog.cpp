#include "bus/ConnectionFiles.h"
#include "bus/FrmSelect.h"
#include "support/SimEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void PutFile(const QString& path, const QByteArray& b) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
}

// A connection dialog on the simulated bus; the ID configuration has its own port on that bus.
struct DialogEnv : SimEnv {
    QTemporaryDir dir;
    SimPort idPort{bus, clock};
    FrmSelect frm{st, sv, idPort};
    DialogEnv() {
        st.AppFolder = dir.path();
        dialogs.Script<FrmEquipo>([this](FrmEquipo& e) {
            if (equipoChoice < 0) return e.Command1_Click(1);
            e.Option1[static_cast<size_t>(equipoChoice)].setValue(true);
            e.Command1_Click(0);
        });
    }
    QString path(const char* name) const { return QDir(dir.path()).filePath(QString::fromLatin1(name)); }
    int equipoChoice = 0; // option of the model dialog; -1 cancels it
};
} // namespace

// ---- The two configuration files ----

TEST(ConnectionFilesTest, PortSettingsByteForByte) {
    QTemporaryDir dir;
    const QString p = PortSettingsPath(dir.path());
    // Missing: all zero, and the file now exists, empty.
    PortSettingsRec rec = ReadPortSettings(dir.path());
    EXPECT_EQ(rec.CommPortNumber, 0);
    EXPECT_TRUE(QFile::exists(p));
    EXPECT_EQ(QFileInfo(p).size(), 0);

    // Short: what the file holds, zero after it.
    PutFile(p, QByteArray::fromHex("0500aa"));
    rec = ReadPortSettings(dir.path());
    EXPECT_EQ(rec.CommPortNumber, 5);
    EXPECT_EQ(rec.Rest[0], 0xAA);
    EXPECT_EQ(rec.Rest[1], 0);

    // Long: the 12 carried bytes and whatever follows the record come back unchanged.
    const QByteArray longFile = QByteArray::fromHex("ffff0102030405060708090a0b0c") + "tail";
    PutFile(p, longFile);
    rec = ReadPortSettings(dir.path());
    EXPECT_EQ(rec.CommPortNumber, -1);
    rec.CommPortNumber = 0x0102;
    ASSERT_TRUE(WritePortSettings(dir.path(), rec));
    EXPECT_EQ(FileBytes(p), QByteArray::fromHex("02010102030405060708090a0b0c") + "tail");
}

TEST(ConnectionFilesTest, DeviceIdsByteForByte) {
    QTemporaryDir dir;
    const QString p = DeviceIdPath(dir.path());
    auto ids = ReadDeviceIds(dir.path());
    for (int v : ids)
        EXPECT_EQ(v, 0);
    PutFile(p, QByteArray::fromHex("0300fe7f"));
    ids = ReadDeviceIds(dir.path());
    EXPECT_EQ(ids[0], 3);
    EXPECT_EQ(ids[1], 0x7FFE);
    EXPECT_EQ(ids[2], 0);
    ids[64] = -2;
    ASSERT_TRUE(WriteDeviceIds(dir.path(), ids));
    const QByteArray b = FileBytes(p);
    ASSERT_EQ(b.size(), 130);
    EXPECT_EQ(b.left(4), QByteArray::fromHex("0300fe7f"));
    EXPECT_EQ(b.right(2), QByteArray::fromHex("feff"));
}

// ---- Load, Aceptar and closing ----

TEST(FrmSelectTest, FirstStartWithoutFiles) {
    DialogEnv env;
    env.frm.Form_Load();
    EXPECT_EQ(env.frm.Combo1.text(), "NONE");
    EXPECT_EQ(env.st.CommPortNumber, 0);
    EXPECT_TRUE(env.frm.Option1[0].value());
    EXPECT_FALSE(env.st.NetworkMode);
    EXPECT_EQ(env.st.SingleDeviceAddress, 1);
    EXPECT_TRUE(env.frm.Option3[0].value());
    EXPECT_EQ(env.frm.Check1[0].value(), 1);
    EXPECT_EQ(env.frm.Check1[1].value(), 1);
    for (int i = 0; i < 20; ++i)
        EXPECT_EQ(env.st.ChainIds[static_cast<size_t>(i)], 1) << i;
    EXPECT_EQ(FileBytes(env.path("init.cfg")), QByteArray(14, '\0'));
    EXPECT_FALSE(env.frm.Frame6.Visible);
    EXPECT_EQ(env.frm.Width, 2805);
}

TEST(FrmSelectTest, StoredValuesOutsideTheListsReadAsNoneAndOne) {
    DialogEnv env;
    PutFile(env.path("init.cfg"), QByteArray::fromHex("2100") + QByteArray(12, '\x07'));
    QByteArray ids(130, '\0');
    ids[0] = 7;      // ID 7
    ids[2] = 66;     // outside 0..65
    ids[4] = '\xff'; // -1
    ids[5] = '\xff';
    ids[6] = 0;  // 0 reads as 1 as well
    ids[40] = 9; // entry 20: never shown, carried
    PutFile(env.path("TenDev.cfg"), ids);
    env.frm.Form_Load();
    EXPECT_EQ(env.st.CommPortNumber, 0);
    EXPECT_EQ(FileBytes(env.path("init.cfg")), QByteArray(2, '\0') + QByteArray(12, '\x07'));
    EXPECT_EQ(env.st.ChainIds[0], 7);
    EXPECT_EQ(env.st.ChainIds[1], 1);
    EXPECT_EQ(env.st.ChainIds[2], 1);
    EXPECT_EQ(env.st.ChainIds[3], 1);
    env.frm.Command1_Click(0);
    const QByteArray saved = FileBytes(env.path("TenDev.cfg"));
    ASSERT_EQ(saved.size(), 130);
    EXPECT_EQ(saved[2], 1);
    EXPECT_EQ(saved[40], 9);
}

TEST(FrmSelectTest, ZeroSelectsOneAndModesSetFlagsAndWidth) {
    DialogEnv env;
    env.frm.Form_Load();
    env.frm.Combo2.setListIndex(0);
    EXPECT_EQ(env.frm.Combo2.listIndex(), 1);
    EXPECT_EQ(env.st.SingleDeviceAddress, 1);
    env.frm.Combo3[4].setListIndex(12);
    env.frm.Combo3[4].setListIndex(0);
    EXPECT_EQ(env.st.ChainIds[4], 1);

    struct Case {
        int option;
        bool net, ten, twenty;
        int width;
    };
    for (const Case c : {Case{3, true, false, false, 2805}, Case{2, true, true, false, 5190},
                         Case{1, true, false, true, 7600}, Case{0, false, false, false, 2805}}) {
        env.frm.Option1[static_cast<size_t>(c.option)].setValue(true);
        EXPECT_EQ(env.st.NetworkMode, c.net) << c.option;
        EXPECT_EQ(env.st.TenIdChain, c.ten) << c.option;
        EXPECT_EQ(env.st.TwentyIdChain, c.twenty) << c.option;
        EXPECT_EQ(env.frm.Width, c.width) << c.option;
        EXPECT_EQ(env.frm.Combo2.Enabled, c.option == 0);
        EXPECT_EQ(env.frm.Frame12[1].Visible, c.option == 0);
    }
    env.frm.Combo1.setListIndex(7);
    EXPECT_EQ(env.st.CommPortNumber, 7);
    EXPECT_EQ(FileBytes(env.path("init.cfg")).left(2), QByteArray::fromHex("0700"));
}

TEST(FrmSelectTest, AceptarChecksDifferentIdsOfTheActiveChain) {
    DialogEnv env;
    env.frm.Form_Load();
    for (int i = 0; i < 20; ++i)
        env.frm.Combo3[static_cast<size_t>(i)].setListIndex(i + 1);
    env.frm.Combo3[15].setListIndex(3); // equal to box 2, in the second group
    env.frm.Option1[2].setValue(true);  // ten IDs: boxes 11..20 do not matter
    EXPECT_TRUE(env.frm.CheckTenIdsDifferent());
    EXPECT_FALSE(env.frm.CheckTwentyIdsDifferent());
    env.frm.Option1[1].setValue(true); // twenty IDs
    env.frm.Command1_Click(0);
    EXPECT_EQ(env.msg.texts(), QStringList{"All ID must be different!"});
    EXPECT_FALSE(env.frm.closed());
    EXPECT_FALSE(QFile::exists(env.path("TenDev.cfg")) && QFileInfo(env.path("TenDev.cfg")).size() > 0);

    env.frm.Option1[2].setValue(true);
    env.frm.Command1_Click(0);
    EXPECT_TRUE(env.frm.closed());
    EXPECT_FALSE(env.frm.endProgram());
    EXPECT_EQ(env.st.ModelMask, 3);
    EXPECT_EQ(FileBytes(env.path("TenDev.cfg")).mid(30, 2), QByteArray::fromHex("0300"));
}

TEST(FrmSelectTest, ModelMaskByMode) {
    struct Case {
        int option;
        int option3;
        int check0, check1;
        int want;
    };
    for (const Case c : {Case{0, 0, 1, 1, 1}, Case{0, 1, 1, 1, 2}, Case{3, 0, 1, 0, 1}, Case{3, 0, 0, 1, 2},
                         Case{3, 0, 1, 1, 3}}) {
        DialogEnv env;
        env.frm.Form_Load();
        env.frm.Option1[static_cast<size_t>(c.option)].setValue(true);
        env.frm.Option3[static_cast<size_t>(c.option3)].setValue(true);
        env.frm.Check1[0].setValue(c.check0);
        env.frm.Check1[1].setValue(c.check1);
        env.frm.Command1_Click(0);
        EXPECT_TRUE(env.frm.closed());
        EXPECT_EQ(env.st.ModelMask, c.want);
    }
}

TEST(FrmSelectTest, RefusedAceptarNeverLetsStartUpGoOnWithoutAModel) {
    DialogEnv env;
    env.frm.Form_Load();
    env.frm.Option1[3].setValue(true);
    env.frm.Check1[0].setValue(0);
    env.frm.Check1[1].setValue(0);
    env.frm.Command1_Click(0);
    EXPECT_EQ(env.msg.texts(), QStringList{"Seleccionar equipo"});
    EXPECT_FALSE(env.frm.closed());
    EXPECT_EQ(env.st.ModelMask, 0);
    // The close box now asks; No keeps the dialog, Yes ends the program.
    env.msg.answers = {MsgAnswer::No, MsgAnswer::Yes};
    EXPECT_FALSE(env.frm.Unload());
    EXPECT_TRUE(env.frm.Unload());
    EXPECT_TRUE(env.frm.endProgram());
    EXPECT_EQ(env.msg.shown.back().text, "                Esta seguro ? ");
    EXPECT_EQ(env.msg.shown.back().title, "Salir");
}

TEST(FrmSelectTest, SalirAsksAndKeepsEveryChoiceOnNo) {
    DialogEnv env;
    env.frm.Form_Load();
    env.frm.Combo3[0].setListIndex(9);
    env.msg.answers = {MsgAnswer::No};
    env.frm.Command1_Click(1);
    EXPECT_FALSE(env.frm.closed());
    EXPECT_EQ(env.st.ChainIds[0], 9);
    env.msg.answers = {MsgAnswer::Yes};
    env.frm.Command1_Click(1);
    EXPECT_TRUE(env.frm.closed());
    EXPECT_TRUE(env.frm.endProgram());
    EXPECT_EQ(QFileInfo(env.path("TenDev.cfg")).size(), 0); // chain IDs not saved
}

// ---- Device ID configuration ----

TEST(IdConfigTest, SearchListsFoundDevicesAndFreeIds) {
    DialogEnv env;
    env.bus.addDevice(3, "Stage");
    env.bus.addDevice(7, "FrontL");
    env.bus.addDevice(36, "Other"); // second model: not searched
    env.frm.Form_Load();
    env.frm.Combo1.setListIndex(1);
    env.frm.Option1[3].setValue(true);
    env.frm.Command3_Click();
    EXPECT_TRUE(env.idPort.isOpen());
    EXPECT_EQ(env.st.ModelMask, 1);
    EXPECT_TRUE(env.st.IdConfigPending);
    EXPECT_TRUE(env.frm.Frame6.Visible);
    EXPECT_TRUE(env.frm.Option1[0].value());
    EXPECT_EQ(env.frm.Width, 2805);
    EXPECT_EQ(env.frm.Label3.Caption, "Equipo = Kestrino");
    EXPECT_EQ(env.frm.Combo5.items, (QStringList{"ID:3 = Stage   ", "ID:7 = FrontL  "}));
    ASSERT_EQ(env.frm.Combo4.items.size(), 30);
    EXPECT_EQ(env.frm.Combo4.items.first(), "1");
    EXPECT_EQ(env.frm.Combo4.items[2], "4");
    EXPECT_EQ(env.frm.Combo4.listIndex(), 0);
    EXPECT_EQ(env.frm.Command3.Caption, "Buscando equipo ID..32");
    EXPECT_FALSE(env.frm.Frame1.Enabled);
    // 32 pings with 'e', plus a name read for each device found.
    EXPECT_EQ(env.bus.framesWithCommand(CmdPing).size(), 32u);
    EXPECT_EQ(env.bus.framesWithCommand(CmdRead8).size(), 2u);
    for (const auto& f : env.bus.frames)
        EXPECT_EQ(f[1], kBankFirst);
    // The main link's port saw nothing.
    EXPECT_EQ(env.port.writes, 0);

    // Closing is refused silently while the panel lists devices.
    EXPECT_FALSE(env.frm.Unload());
    EXPECT_TRUE(env.msg.shown.empty());
}

TEST(IdConfigTest, SettingAnIdSendsTheFrameAndUpdatesTheLists) {
    // The device answers the change from its old ID or from its new one.
    for (bool fromNewId : {false, true}) {
        SCOPED_TRACE(fromNewId ? "answered from the new ID" : "answered from the old ID");
        DialogEnv env;
        env.bus.addDevice(3, "Stage").setIdFromNewId = fromNewId;
        env.frm.Form_Load();
        env.frm.Combo1.setListIndex(1);
        env.frm.Command3_Click();
        env.frm.Combo4.setListIndex(3); // "5"
        ASSERT_EQ(env.frm.Combo4.text(), "5");
        env.bus.frames.clear();
        env.frm.Command2_Click(0);
        ASSERT_EQ(env.bus.frames.size(), 1u);
        EXPECT_EQ(env.bus.frames[0], FrameOf({0xF0, 0x65, 0x03, 0x26, 0x05, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
        EXPECT_EQ(env.msg.texts(), QStringList{"Actualizando ID"});
        EXPECT_EQ(env.msg.shown[0].title, "Configurar ID equipo");
        EXPECT_EQ(env.frm.Combo5.items[0], "ID:5 = Stage   ");
        EXPECT_EQ(env.frm.Combo4.items[3], "3");
        ASSERT_NE(env.bus.device(5), nullptr);

        // A second change of the same entry reaches the device at its new ID.
        env.frm.Combo4.setListIndex(0); // "1"
        env.frm.Command2_Click(0);
        EXPECT_EQ(env.bus.frames.back(), FrameOf({0xF0, 0x65, 0x05, 0x26, 0x01, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
        EXPECT_NE(env.bus.device(1), nullptr);

        // "<<" signs off, closes the panel's port and lets the dialog close again.
        env.frm.Command2_Click(1);
        EXPECT_EQ(env.bus.frames.back(), FrameOf({0xF0, 0x65, 0, 0x8F, 0, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
        EXPECT_FALSE(env.idPort.isOpen());
        EXPECT_FALSE(env.st.IdConfigPending);
        EXPECT_FALSE(env.frm.Frame6.Visible);
        EXPECT_TRUE(env.frm.Frame1.Enabled);
        EXPECT_EQ(env.frm.Command3.Caption, "Configurar ID equipo");
    }
}

TEST(IdConfigTest, SecondModelUsesBankFAndAddsThirtyThree) {
    DialogEnv env;
    env.bus.addDevice(35, "Sub");
    env.equipoChoice = 1;
    env.frm.Form_Load();
    env.frm.Combo1.setListIndex(2);
    env.frm.Command3_Click();
    EXPECT_EQ(env.frm.Label3.Caption, "Equipo = Valdoran");
    EXPECT_EQ(env.frm.FoundCount, 1);
    EXPECT_EQ(env.frm.FoundIds[0], 35);
    EXPECT_EQ(env.frm.Combo5.items, QStringList{"ID:2 = Sub     "});
    EXPECT_EQ(env.bus.framesWithCommand(CmdPing).size(), 32u);
    EXPECT_EQ(env.bus.framesWithCommand(CmdPing).front()[2], 1);
    for (const auto& f : env.bus.frames)
        EXPECT_EQ(f[1], kBankSecond);
    env.frm.Combo4.setListIndex(5); // "7"
    env.frm.Command2_Click(0);
    EXPECT_EQ(env.frm.NewId, 40);
    EXPECT_EQ(env.bus.frames.back(), FrameOf({0xF0, 0x66, 0x02, 0x26, 0x07, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
}

TEST(IdConfigTest, FailedSetIdIsReportedAndChangesNoList) {
    DialogEnv env;
    env.bus.addDevice(3, "Stage");
    env.frm.Form_Load();
    env.frm.Combo1.setListIndex(1);
    env.frm.Command3_Click();
    const QStringList found = env.frm.Combo5.items, free = env.frm.Combo4.items;
    env.bus.device(3)->silent = true;
    env.frm.Command2_Click(0);
    EXPECT_EQ(env.msg.texts(), QStringList{"Equipo esta desconectado"});
    EXPECT_EQ(env.frm.Combo5.items, found);
    EXPECT_EQ(env.frm.Combo4.items, free);
    EXPECT_EQ(env.frm.FoundIds[0], 3);
}

TEST(IdConfigTest, NoPortNoDeviceAndPortErrors) {
    { // "NONE": no port, the main column comes back.
        DialogEnv env;
        env.frm.Form_Load();
        env.frm.Command3_Click();
        EXPECT_EQ(env.msg.texts(), QStringList{"COM no encontrado"});
        EXPECT_TRUE(env.frm.Frame1.Enabled);
        EXPECT_EQ(env.frm.Command3.Caption, "Configurar ID equipo");
        EXPECT_TRUE(env.bus.frames.empty());
    }
    { // Nobody answers.
        DialogEnv env;
        env.frm.Form_Load();
        env.frm.Combo1.setListIndex(1);
        env.frm.Command3_Click();
        EXPECT_EQ(env.msg.texts(), QStringList{"Equipo esta desconectado"});
        EXPECT_FALSE(env.st.IdConfigPending);
        EXPECT_FALSE(env.frm.Frame6.Visible);
        // The dialog's own port is closed when the dialog closes, before the main window.
        env.frm.Command1_Click(0);
        EXPECT_TRUE(env.frm.closed());
        EXPECT_FALSE(env.idPort.isOpen());
    }
    { // A port that fails every write: nothing counts as a device.
        DialogEnv env;
        env.idPort.failWrites_ = true;
        env.frm.Form_Load();
        env.frm.Combo1.setListIndex(1);
        env.frm.Command3_Click();
        EXPECT_EQ(env.frm.FoundCount, 0);
        EXPECT_EQ(env.msg.texts(), QStringList{"Equipo esta desconectado"});
    }
    { // Cancelling the model dialog changes nothing.
        DialogEnv env;
        env.equipoChoice = -1;
        env.frm.Form_Load();
        env.frm.Combo1.setListIndex(1);
        env.frm.Command3_Click();
        EXPECT_FALSE(env.idPort.isOpen());
        EXPECT_TRUE(env.msg.shown.empty());
        EXPECT_EQ(env.frm.Command3.Caption, "Configurar ID equipo");
    }
}

TEST(IdConfigTest, WrongEchoAndSilentNameRead) {
    DialogEnv env;
    env.bus.addDevice(4).wrongEcho = true;
    env.bus.addDevice(9, "Stage").silentAfter = 1; // answers the ping, not the name read
    env.frm.Form_Load();
    env.frm.Combo1.setListIndex(1);
    env.frm.Command3_Click();
    ASSERT_EQ(env.frm.FoundCount, 1);
    EXPECT_EQ(env.frm.FoundIds[0], 9);
    // An unanswered name read leaves the name empty rather than decoding the ping's reply.
    EXPECT_EQ(env.frm.Combo5.items, QStringList{"ID:9 = "});
}

TEST(IdConfigTest, ABusMixingBothFramingsListsEveryDeviceWithItsName) {
    // At the line's pace, each device shows by its own replies whether they repeat the request's
    // head. Bytes that a device whose replies echo sends after each reply never head its name.
    struct Case {
        int echoing, other;
        int appended; // bytes the echoing device sends after each reply
        QStringList listed;
    };
    const Case cases[] = {
        {3, 4, 0, {"ID:3 = Echoes  ", "ID:4 = Other   "}},
        {4, 3, 3, {"ID:3 = Other   ", "ID:4 = Echoes  "}},
    };
    for (const auto& c : cases) {
        DialogEnv env;
        env.bus.byteTime = SimBus::kByteTime9600;
        env.bus.addDevice(c.echoing, "Echoes").extraBytes = c.appended;
        env.bus.addDevice(c.other, "Other").otherHead = true;
        env.frm.Form_Load();
        env.frm.Combo1.setListIndex(1);
        env.frm.Command3_Click();
        EXPECT_EQ(env.frm.Combo5.items, c.listed) << c.echoing;
    }
}

TEST(IdConfigTest, AReplyEndingLikeAHeadIsTakenByItsLengthAtTheLimit) {
    // Before the device has shown how its replies are framed, 13 bytes whose last two could
    // begin its head hold the wait open; when the panel's 300 ms run out they are the reply.
    DialogEnv env;
    env.st.CommPortNumber = 1;
    env.st.ModelMask = 1;
    env.frm.OpenSerialPort();
    ASSERT_TRUE(env.idPort.isOpen());
    env.idPort.injectAt(QByteArray("\x00\x00\x00\x00\x65\x00\x00\x00\x00\x00\x00\xF0\x65", 13),
                        env.clock.nowSeconds() + 0.02);
    bool failed = true;
    env.frm.SendFrameWait(CmdPing, 5, 0, 0, 0, 0, failed);
    EXPECT_FALSE(failed);
    EXPECT_EQ(env.st.RxBuf[12], 0x65);
}

TEST(IdConfigTest, ALatePingAnswerNeverListsTheNextId) {
    // A ping answered 350 ms late (the panel waits 300 ms) lands while the next ID is pinged:
    // that ID is not listed, whether the late answer is the port's very first or comes after
    // an answered ping has shown that replies echo.
    struct Case {
        int lateId;
        QStringList listed;
    };
    const Case cases[] = {
        {1, {"ID:3 = Three   "}},
        {3, {"ID:1 = One     "}},
    };
    for (const auto& c : cases) {
        DialogEnv env;
        env.bus.addDevice(1, "One");
        env.bus.addDevice(3, "Three");
        env.bus.device(c.lateId)->lateReplies.push_back({CmdPing, 1, 0.35});
        env.frm.Form_Load();
        env.frm.Combo1.setListIndex(1);
        env.frm.Command3_Click();
        EXPECT_EQ(env.frm.Combo5.items, c.listed) << c.lateId;
        EXPECT_EQ(env.frm.Combo4.items.size(), 31) << c.lateId;
    }
}
