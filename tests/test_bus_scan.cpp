#include "bus/DeviceRead.h"
#include "bus/FrmSelect.h"
#include "bus/ScanBus.h"
#include "bus/Speaker.h"
#include "platform/QtSerialPortAdapter.h"
#include "startup/MDIFrmMain.h"
#include "support/Devsim.h"
#include "support/SimEnv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>

namespace {
std::vector<int> Found(const AppState& st) {
    std::vector<int> out;
    for (int r = 0; r <= st.FoundLast; ++r)
        out.push_back(st.FoundList[static_cast<size_t>(r)]);
    return out;
}

// Bus addresses the pings went to, in order (one entry per ping frame).
std::vector<int> Pinged(const SimBus& bus) {
    std::vector<int> out;
    for (const auto& f : bus.framesWithCommand(CmdPing))
        out.push_back(f[2] + (f[1] == kBankSecond ? 33 : 0));
    return out;
}

struct RecordingList : DeviceListHost {
    QStringList shown;
    int unloaded = 0;
    void ShowDeviceList(const QString& caption) override { shown << caption; }
    void UnloadDeviceList() override { ++unloaded; }
    void ShowRenamedRow(int) override {}
};

// Labels of the start-up scan with every caption recorded at each refresh.
struct RecordedLabels {
    Label percent, model;
    QStringList percents, models;
    ScanLabels labels() {
        return {&percent, &model, [this] {
                    if (percents.isEmpty() || percents.back() != percent.Caption) percents << percent.Caption;
                    if (models.isEmpty() || models.back() != model.Caption) models << model.Caption;
                }};
    }
};

void WriteFile(const QString& path, const QByteArray& b) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(b);
}
} // namespace

// ---- ScanBus ----

TEST(ScanBusTest, OnlyTheSecondPingCountsAndModelsComeInOrder) {
    SimEnv env;
    env.bus.addDevice(38);
    env.bus.addDevice(5).answerFromAttempt = 2; // misses the first ping
    env.bus.addDevice(9).silentAfter = 1;       // answers only the first ping
    env.bus.addDevice(2);
    env.st.ModelMask = 3;
    env.st.DevTable[9].Present = 1;
    EXPECT_TRUE(ScanBus(env.st, env.link, env.clock));
    EXPECT_EQ(Found(env.st), (std::vector<int>{2, 5, 38}));
    EXPECT_EQ(env.st.DevTable[38].Address, 38);
    EXPECT_EQ(env.st.DevTable[38].Present, 1);
    EXPECT_EQ(env.st.DevTable[9].Present, 0);
    // Two pings per address, and a third for device 9: its own echo answered the first ping.
    EXPECT_EQ(Pinged(env.bus).size(), 128u + 1u);
    for (bool d : env.st.DeviceDisconnected)
        EXPECT_TRUE(d);
}

TEST(ScanBusTest, SecondModelOnlyWithItsCaptions) {
    SimEnv env;
    env.bus.addDevice(1);
    env.bus.addDevice(34);
    env.st.ModelMask = 2;
    RecordedLabels rec;
    EXPECT_TRUE(ScanBus(env.st, env.link, env.clock, rec.labels()));
    EXPECT_EQ(Found(env.st), std::vector<int>{34});
    const auto pinged = Pinged(env.bus);
    EXPECT_EQ(pinged.front(), 34);
    EXPECT_EQ(pinged.back(), 65);
    EXPECT_EQ(rec.models, QStringList{"Valdoran"});
    ASSERT_EQ(rec.percents.size(), 34); // empty, 32 entries, then "0 %"
    EXPECT_EQ(rec.percents[1], "3.1 %");
    EXPECT_EQ(rec.percents[2], "6.2 %");
    EXPECT_EQ(rec.percents[32], "100 %");
    EXPECT_EQ(rec.percents[33], "0 %");
    EXPECT_FALSE(rec.percent.Visible);
    EXPECT_FALSE(rec.model.Visible);
}

TEST(ScanBusTest, PercentTextCutsAndUsesTheLocaleSign) {
    struct Case {
        int i, divisor, comma;
        const char* want;
    };
    for (const Case c :
         {Case{1, 32, 0, "3.1"}, Case{1, 32, 1, "3,1"}, Case{0, 9, 0, "0"}, Case{1, 9, 0, "11.1"},
          Case{2, 9, 0, "22.2"}, Case{9, 9, 0, "100"}, Case{18, 19, 0, "94.7"}, Case{31, 32, 0, "96.8"}})
        EXPECT_EQ(ScanPercentText(c.i, c.divisor, c.comma), c.want) << c.i << "/" << c.divisor;
}

TEST(ScanBusTest, ChainOfTenProbesOnlyTheConfiguredIds) {
    SimEnv env;
    env.st.TenIdChain = true;
    env.st.ModelMask = 3;
    const int ids[10] = {4, 1, 9, 12, 20, 2, 3, 30, 32, 7};
    for (int i = 0; i < 10; ++i)
        env.st.ChainIds[static_cast<size_t>(i)] = static_cast<int16_t>(ids[i]);
    env.st.ChainIds[10] = 5; // beyond the ten: never probed
    env.bus.addDevice(5);
    env.bus.addDevice(9);
    env.bus.addDevice(42); // ID 9 of the second model
    RecordedLabels rec;
    EXPECT_TRUE(ScanBus(env.st, env.link, env.clock, rec.labels()));
    EXPECT_EQ(Found(env.st), (std::vector<int>{9, 42}));
    std::vector<int> want;
    for (int m = 0; m < 2; ++m)
        for (int id : ids)
            want.insert(want.end(), {id + 33 * m, id + 33 * m});
    EXPECT_EQ(Pinged(env.bus), want);
    EXPECT_EQ(rec.percents.mid(1, 4), (QStringList{"0 %", "11.1 %", "22.2 %", "33.3 %"}));
    EXPECT_TRUE(rec.percents.contains("100 %"));
    EXPECT_EQ(rec.percents.back(), "0 %");
}

TEST(ScanBusTest, ChainOfTwentyGoesOnPastAnAddressBeyondTheTable) {
    SimEnv env;
    env.st.TwentyIdChain = true;
    env.st.ModelMask = 3;
    for (int i = 0; i < 20; ++i)
        env.st.ChainIds[static_cast<size_t>(i)] = static_cast<int16_t>(i + 1);
    env.st.ChainIds[3] = 40; // 40 for the first model, 73 for the second
    env.bus.addDevice(40);
    env.bus.addDevice(53); // ID 20 of the second model, after the entry that cannot be probed
    EXPECT_TRUE(ScanBus(env.st, env.link, env.clock));
    // Address 40 is also ID 7 of the second model: found once, listed once.
    EXPECT_EQ(Found(env.st), (std::vector<int>{40, 53}));
    EXPECT_EQ(Pinged(env.bus).size(), 2u * (20u + 18u));
}

TEST(ScanBusTest, NothingFoundAndDemoMode) {
    SimEnv env;
    env.st.ModelMask = 1;
    env.st.FoundLast = 3;
    EXPECT_FALSE(ScanBus(env.st, env.link, env.clock));
    EXPECT_EQ(env.st.FoundLast, -1);
    env.bus.addDevice(1);
    env.st.DemoMode = true;
    env.bus.frames.clear();
    EXPECT_FALSE(ScanBus(env.st, env.link, env.clock));
    EXPECT_TRUE(env.bus.frames.empty());
}

// ---- Rescan ----

TEST(RescanTest, BothModelsWhateverTheMaskThenTheList) {
    SimEnv env;
    RecordingList list;
    env.st.ModelMask = 1;
    env.st.NetworkMode = true;
    env.bus.addDevice(60);
    env.st.DevTable[7] = {7, {1, 2, 3, 4, 5, 6, 7, 8, 9}, 1};
    FrmWait w(env.st, env.link, &list);
    QStringList captions;
    w.Refresh = [&] { captions << w.Label2.Caption; };
    w.Form_Load();
    EXPECT_EQ(w.Timer1.Interval, 300);
    EXPECT_TRUE(w.Timer1.Enabled);
    w.Timer1_Timer();
    EXPECT_FALSE(w.Timer1.Enabled);
    EXPECT_TRUE(w.closed());
    EXPECT_EQ(Found(env.st), std::vector<int>{60});
    EXPECT_FALSE(env.st.NetworkMode); // exactly one device
    EXPECT_EQ(env.st.DevTable[7].Present, 0);
    EXPECT_EQ(env.st.DevTable[7].Unused[8], 9); // other words kept
    ASSERT_EQ(captions.size(), 64);
    EXPECT_EQ(captions[0], "Kestrino 3.1%");
    EXPECT_EQ(captions[31], "Kestrino 100%");
    EXPECT_EQ(captions[32], "Valdoran 3.1%");
    EXPECT_EQ(list.shown, QStringList{"Lista ID"});
    EXPECT_EQ(Pinged(env.bus).size(), 128u);

    // A second device makes it a bus again; a second tick does nothing.
    env.bus.addDevice(2);
    w.Form_Load();
    w.Timer1_Timer();
    w.Timer1_Timer();
    EXPECT_EQ(Found(env.st), (std::vector<int>{2, 60}));
    EXPECT_TRUE(env.st.NetworkMode);
    EXPECT_EQ(list.shown.size(), 2);
}

// ---- Demo devices ----

struct DemoEnv {
    QTemporaryDir dir;
    AppState st;
    ScriptedMessageBox msg;
    DemoEnv() { st.AppFolder = dir.path(); }
    void write(const QByteArray& b) { WriteFile(DemoDeviceFilePath(dir.path()), b); }
};

TEST(DemoDevicesTest, LoadersListTheRecordsInOrder) {
    DemoEnv env;
    env.write(DemoDeviceFileBytes({40, 3}));
    ASSERT_TRUE(LoadSpeakersCfgAll(env.st, env.msg));
    EXPECT_EQ(Found(env.st), (std::vector<int>{3, 40}));
    ASSERT_TRUE(LoadSpeakersCfgFirst(env.st, env.msg));
    EXPECT_EQ(Found(env.st), std::vector<int>{3});
    env.st.ModelMask = 2;
    env.st.SingleDeviceAddress = 4;
    ASSERT_TRUE(LoadSpeakersCfgModel(env.st, env.msg));
    EXPECT_EQ(Found(env.st), std::vector<int>{37});
    EXPECT_EQ(env.st.DevTable[3].Address, 37); // the entry stays at its index
    env.st.ModelMask = 1;
    ASSERT_TRUE(LoadSpeakersCfgModel(env.st, env.msg));
    EXPECT_EQ(Found(env.st), std::vector<int>{4});
    env.st.ModelMask = 3;
    ASSERT_TRUE(LoadSpeakersCfgModel(env.st, env.msg));
    EXPECT_EQ(Found(env.st), std::vector<int>{3});
    EXPECT_TRUE(env.msg.shown.empty());
}

TEST(DemoDevicesTest, RecordAddressesAndWordsFromTheFile) {
    DemoEnv env;
    QByteArray b = DemoDeviceFileBytes({5, 6, 7, 8});
    b[5 * 128] = 12;         // record 5 lists bus address 12
    b[7 * 128] = 12;         // and so does record 7: one row
    b[6 * 128] = 70;         // record 6 lists an address outside the table
    b[5 * 128 + 2] = '\x34'; // a word that is carried along
    b[5 * 128 + 3] = '\x12';
    b[8 * 128 + 20] = 2;      // any non-zero present word lists the record
    b.truncate(8 * 128 + 10); // record 8 is cut short: not present
    env.write(b);
    ASSERT_TRUE(LoadSpeakersCfgAll(env.st, env.msg));
    EXPECT_EQ(Found(env.st), std::vector<int>{12});
    EXPECT_EQ(env.st.DevTable[5].Address, 12);
    EXPECT_EQ(env.st.DevTable[5].Unused[0], 0x1234);
    EXPECT_EQ(env.st.DevTable[8].Present, 0);
    EXPECT_EQ(env.st.DevTable[40].Present, 0);
}

TEST(DemoDevicesTest, NoDeviceOrNoFileIsReportedAndTheFileIsNeverCreated) {
    {
        DemoEnv env;
        EXPECT_FALSE(LoadSpeakersCfgAll(env.st, env.msg));
        EXPECT_FALSE(QFile::exists(DemoDeviceFilePath(env.dir.path())));
        ASSERT_EQ(env.msg.shown.size(), 1u);
        EXPECT_EQ(env.msg.shown[0].text, "Puerto no encontrado o el equipo esta desconectado");
        EXPECT_EQ(env.msg.shown[0].title, "Salir");
        EXPECT_EQ(env.msg.shown[0].icon, MsgIcon::Critical);
    }
    {
        DemoEnv env;
        env.write(DemoDeviceFileBytes({}));
        EXPECT_FALSE(LoadSpeakersCfgFirst(env.st, env.msg));
        EXPECT_EQ(env.msg.shown.size(), 1u);
        EXPECT_EQ(env.st.FoundLast, -1);
    }
}

TEST(DemoDevicesTest, OfflineRecordFromTheDefaultProgram) {
    AppState st;
    st.DevProgs[37].SetByte(100, 0xEE);
    st.DevProgs[37].SetByte(226, 9);
    InitDeviceRecordOffline(st, 37);
    const ProgRecord& img = st.DevProgs[37];
    for (int i = 0; i < 208; ++i)
        ASSERT_EQ(img.Byte(i), st.Tables.DefaultProgram[static_cast<size_t>(i)]) << i;
    EXPECT_EQ(img.Byte(225), 45);
    EXPECT_EQ(img.Byte(226), 0);
    EXPECT_EQ(img.Byte(227), 1);
    EXPECT_EQ(img.Byte(230), 1);
    EXPECT_EQ(img.Byte(232), 0);
    const DeviceRec& rec = st.DevRecs[37];
    EXPECT_EQ(rec.TempSlider, 45);
    EXPECT_EQ(rec.TempUnit, 1);
    EXPECT_EQ(rec.DelayUnit, 1);
    EXPECT_EQ(rec.UnitLock, 0);
    for (int m = 0; m < 16; ++m) {
        EXPECT_EQ(rec.MemName[static_cast<size_t>(m)], "Vacia");
        EXPECT_EQ(rec.MemProg[static_cast<size_t>(m)], 0);
    }
    EXPECT_EQ(rec.CurProgName, "Def. ");
}

TEST(DemoDevicesTest, ShippedFileListsTheDemonstrationDevices) {
    QFile f(QStringLiteral(DATA_DIR "/Speakers.cfg"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    const QByteArray b = f.readAll();
    ASSERT_EQ(b.size(), 66 * 128);
    EXPECT_EQ(b, DemoDeviceFileBytes({1, 2, 34}));
    AppState st;
    ScriptedMessageBox msg;
    st.AppFolder = QStringLiteral(DATA_DIR);
    ASSERT_TRUE(LoadSpeakersCfgAll(st, msg));
    EXPECT_EQ(Found(st), (std::vector<int>{1, 2, 34}));
    for (int a : {1, 2, 34})
        EXPECT_EQ(st.DevTable[static_cast<size_t>(a)].Present, 1); // exactly 1
    for (const char* m : {"Kestrino", "Valdoran"})
        for (const char* s : {"preset", "PresetOutput", "FirmwareLib"})
            EXPECT_TRUE(QDir(QStringLiteral(DATA_DIR "/%1/%2").arg(m, s)).exists()) << m << "/" << s;
}

// ---- Main window ----

struct MainEnv : SimEnv {
    QTemporaryDir dir;
    RecordingList list;
    MDIFrmMain frm{st, sv, link};
    MainEnv() {
        st.AppFolder = dir.path();
        WriteFile(DemoDeviceFilePath(dir.path()), DemoDeviceFileBytes({1, 2, 34}));
        frm.setDeviceList(&list);
        link.CloseCommPort();
        st.CommPortNumber = 0; // "NONE" unless a test chooses a port
    }
};

TEST(MainWindowTest, SingleDeviceOfTheSecondModelIsPingedThirtyThreeHigher) {
    struct Case {
        int mask;
        int pinged;
    };
    for (const Case c : {Case{2, 38}, Case{1, 5}, Case{0, 5}}) {
        MainEnv env;
        env.bus.addDevice(c.pinged);
        env.st.CommPortNumber = 1;
        env.st.ModelMask = static_cast<int16_t>(c.mask);
        env.st.SingleDeviceAddress = 5;
        env.frm.MDIForm_Load();
        EXPECT_TRUE(env.frm.loaded());
        EXPECT_EQ(Pinged(env.bus), std::vector<int>{c.pinged});
        EXPECT_EQ(Found(env.st), std::vector<int>{c.pinged});
        EXPECT_EQ(env.st.DevTable[static_cast<size_t>(c.pinged)].Present, 1);
        EXPECT_FALSE(env.st.DemoMode);
        EXPECT_TRUE(env.list.shown.isEmpty()); // shown by the start-up once this window is up
        env.frm.ShowDeviceList();
        EXPECT_EQ(env.list.shown.size(), 1);
        EXPECT_TRUE(env.frm.Timer3.Enabled);
        EXPECT_EQ(env.frm.Timer3.Interval, 1000);
    }
}

TEST(MainWindowTest, DemoQuestionsAndTheirLoaders) {
    { // One device, no port: the model loader.
        MainEnv env;
        env.st.ModelMask = 2;
        env.st.SingleDeviceAddress = 4;
        env.frm.MDIForm_Load();
        EXPECT_EQ(env.msg.texts(), QStringList{"COM no encontrado, le gustaria continuar en modo DEMO?"});
        EXPECT_TRUE(env.st.DemoMode);
        EXPECT_EQ(Found(env.st), std::vector<int>{37});
    }
    { // One device that does not answer: the first demo device.
        MainEnv env;
        env.st.CommPortNumber = 1;
        env.st.ModelMask = 1;
        env.st.SingleDeviceAddress = 9;
        env.frm.MDIForm_Load();
        EXPECT_EQ(env.msg.texts(),
                  QStringList{"Dispositivos desconectados, le gustaria continuar en modo DEMO?"});
        EXPECT_FALSE(env.st.PortOpened);
        EXPECT_TRUE(env.st.DemoMode);
        EXPECT_EQ(Found(env.st), std::vector<int>{1});
    }
    { // A bus with nobody on it: every demo device.
        MainEnv env;
        env.st.CommPortNumber = 1;
        env.st.NetworkMode = true;
        env.st.ModelMask = 3;
        env.frm.MDIForm_Load();
        EXPECT_EQ(env.msg.shown.size(), 1u);
        EXPECT_EQ(env.msg.shown[0].title, "Advertencia");
        EXPECT_EQ(env.msg.shown[0].buttons, MsgButtons::YesNo);
        EXPECT_EQ(Found(env.st), (std::vector<int>{1, 2, 34}));
        EXPECT_TRUE(env.frm.loaded());
        // Timer3 keeps the Connection menu off in demo mode.
        env.frm.Timer3_Timer();
        EXPECT_FALSE(env.frm.Connection.Enabled);
        EXPECT_EQ(env.frm.Timer3.Interval, 500);
    }
}

TEST(MainWindowTest, RefusingDemoModeSendsNothingAndEnds) {
    for (bool network : {false, true}) {
        MainEnv env;
        env.st.CommPortNumber = 1;
        env.st.NetworkMode = network;
        env.st.ModelMask = 1;
        env.msg.answers = {MsgAnswer::No};
        env.frm.MDIForm_Load();
        EXPECT_FALSE(env.frm.loaded());
        EXPECT_TRUE(env.frm.closed());
        EXPECT_TRUE(env.st.QuitSilently);
        EXPECT_FALSE(env.st.DemoMode);
        EXPECT_EQ(env.msg.shown.size(), 1u); // no closing question
        EXPECT_TRUE(env.bus.framesWithCommand(CmdSignOff).empty());
        EXPECT_FALSE(env.port.isOpen());
        EXPECT_TRUE(env.list.shown.isEmpty());
    }
    { // The demo file lists nothing: the program ends after the loader's message.
        MainEnv env;
        WriteFile(DemoDeviceFilePath(env.dir.path()), DemoDeviceFileBytes({}));
        env.frm.MDIForm_Load();
        EXPECT_FALSE(env.frm.loaded());
        EXPECT_TRUE(env.frm.closed());
    }
}

TEST(MainWindowTest, ClosingSignsOffBothBanks) {
    MainEnv env;
    env.bus.addDevice(1);
    env.st.CommPortNumber = 1;
    env.st.ModelMask = 1;
    env.frm.MDIForm_Load();
    env.bus.frames.clear();
    env.msg.answers = {MsgAnswer::No};
    EXPECT_FALSE(env.frm.Unload());
    EXPECT_TRUE(env.bus.frames.empty());
    EXPECT_TRUE(env.port.isOpen());
    env.frm.Exit_Click();
    EXPECT_TRUE(env.frm.closed());
    EXPECT_EQ(env.msg.shown.back().text, "                Esta seguro ? ");
    EXPECT_EQ(env.msg.shown.back().title, "Salir");
    ASSERT_EQ(env.bus.frames.size(), 2u);
    EXPECT_EQ(env.bus.frames[0], FrameOf({0xF0, 0x65, 0, 0x8F, 0, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
    EXPECT_EQ(env.bus.frames[1], FrameOf({0xF0, 0x66, 0, 0x8F, 0, 0, 0, 0, 0, 0, 0, 0, 0xF7}));
    EXPECT_FALSE(env.port.isOpen());
}

TEST(MainWindowTest, ClosingEndsEvenWhenASignOffFrameFails) {
    MainEnv env;
    env.bus.addDevice(1);
    env.st.CommPortNumber = 1;
    env.st.ModelMask = 1;
    env.frm.MDIForm_Load();
    env.st.ReportCommErrors = true;
    env.port.failWrites_ = true;
    const int before = env.port.writes;
    EXPECT_TRUE(env.frm.Unload());
    EXPECT_EQ(env.port.writes - before, 2); // both frames tried
    EXPECT_EQ(env.msg.texts(), QStringList{"                Esta seguro ? "}); // no failure message
    EXPECT_FALSE(env.port.isOpen());
}

TEST(MainWindowTest, ClosingInDemoModeSendsNothing) {
    MainEnv env;
    env.st.CommPortNumber = 1;
    env.st.ModelMask = 1;
    env.frm.MDIForm_Load(); // the port opens, nobody answers, demo accepted
    ASSERT_TRUE(env.st.DemoMode);
    env.bus.frames.clear();
    EXPECT_TRUE(env.frm.Unload());
    EXPECT_TRUE(env.bus.frames.empty());
    EXPECT_FALSE(env.port.isOpen());
}

TEST(MainWindowTest, SearchNewIdRescansOnYesOnly) {
    MainEnv env;
    env.bus.addDevice(3);
    env.st.CommPortNumber = 1;
    env.st.NetworkMode = true;
    env.st.ModelMask = 1;
    env.frm.MDIForm_Load();
    env.frm.ShowDeviceList();
    env.frm.Timer3_Timer();
    EXPECT_TRUE(env.frm.Connection.Enabled);
    env.st.OpenWindowCount = 0;
    env.frm.Timer3_Timer();
    EXPECT_FALSE(env.frm.Connection.Enabled);
    env.st.OpenWindowCount = -1;

    env.bus.frames.clear();
    env.msg.answers = {MsgAnswer::No};
    env.frm.SearchNewID_Click();
    EXPECT_TRUE(env.bus.frames.empty());
    EXPECT_EQ(env.list.unloaded, 0);

    env.bus.addDevice(40);
    int shownWaits = 0;
    env.dialogs.Script<FrmWait>([&](FrmWait& w) {
        ++shownWaits;
        EXPECT_EQ(env.frm.MousePointer, 13);
        w.Timer1_Timer();
    });
    env.frm.SearchNewID_Click();
    EXPECT_EQ(env.msg.shown.back().text, "Desea continuar?\r\nTodos los ajustes se perderan");
    EXPECT_EQ(env.msg.shown.back().title, "Buscando nuevo ID");
    EXPECT_EQ(shownWaits, 1);
    EXPECT_EQ(env.list.unloaded, 1);
    EXPECT_EQ(env.list.shown, (QStringList{"", "Lista ID"}));
    EXPECT_EQ(Found(env.st), (std::vector<int>{3, 40}));
    EXPECT_EQ(env.frm.MousePointer, 0);
}

// ---- From the connection dialog to the main window ----

TEST(StartUpPathTest, DemoModeWithTheShippedDevices) {
    QTemporaryDir dir;
    QFile::copy(QStringLiteral(DATA_DIR "/Speakers.cfg"), QDir(dir.path()).filePath("Speakers.cfg"));
    SimEnv env;
    env.link.CloseCommPort();
    env.st.AppFolder = dir.path();
    SimPort idPort(env.bus, env.clock);
    FrmSelect select(env.st, env.sv, idPort);
    select.Form_Load();
    select.Option1[3].setValue(true);
    select.Command1_Click(0);
    ASSERT_TRUE(select.closed());
    MDIFrmMain main(env.st, env.sv, env.link);
    RecordingList list;
    main.setDeviceList(&list);
    main.MDIForm_Load();
    ASSERT_TRUE(main.loaded());
    EXPECT_TRUE(env.st.DemoMode);
    EXPECT_EQ(Found(env.st), (std::vector<int>{1, 2, 34}));
    // The list waits until the start-up has shown the main window.
    EXPECT_TRUE(list.shown.empty());
    main.ShowDeviceList();
    EXPECT_EQ(list.shown.size(), 1);
    EXPECT_TRUE(env.bus.frames.empty());
}

TEST(StartUpPathTest, DevsimDeviceFoundByTheScanThroughTheRealPort) {
    DevsimRun devsim;
    ASSERT_TRUE(devsim.start({"--device", "2:Stage"})) << devsim.pty.toStdString();
    RealPortEnv env;
    QtSerialPortAdapter idPort;
    auto& [port, clock, events, msg, dialogs, sv, st] = env;
    st.AppFolder = devsim.dir.path();
    Link link(st, sv);

    FrmSelect select(st, sv, idPort);
    select.Form_Load();
    select.Combo1.setListIndex(1);
    select.Option1[2].setValue(true); // chain of ten IDs, the first model only
    for (int i = 0; i < 10; ++i)
        select.Combo3[static_cast<size_t>(i)].setListIndex(i + 1);
    select.Check1[1].setValue(0);
    select.Command1_Click(0);
    ASSERT_TRUE(select.closed());
    EXPECT_EQ(st.ModelMask, 1);

    MDIFrmMain main(st, sv, link);
    RecordingList list;
    main.setDeviceList(&list);
    main.MDIForm_Load();
    EXPECT_TRUE(main.loaded());
    EXPECT_TRUE(msg.shown.empty());
    EXPECT_FALSE(st.DemoMode);
    EXPECT_EQ(Found(st), std::vector<int>{2});
    EXPECT_TRUE(list.shown.empty());
    main.ShowDeviceList();
    EXPECT_EQ(list.shown.size(), 1);
    EXPECT_TRUE(main.Unload());
    EXPECT_FALSE(port.isOpen());
}

TEST(ScanBusTest, ASecondPingAnsweredLateListsTheDeviceAndNoPhantom) {
    // Device 3's second reply comes 450 ms late, while the next, empty address is pinged.
    for (bool rescan : {false, true}) {
        SimEnv env;
        env.bus.addDevice(1);
        env.bus.addDevice(3).lateReplies.push_back({CmdPing, 2, 0.45});
        env.st.ModelMask = 1;
        if (rescan) {
            FrmWait wait(env.st, env.link, nullptr);
            wait.Form_Load();
            wait.Timer1_Timer();
        } else {
            EXPECT_TRUE(ScanBus(env.st, env.link, env.clock));
        }
        EXPECT_EQ(Found(env.st), (std::vector<int>{1, 3})) << rescan;
        EXPECT_EQ(env.st.DevTable[4].Present, 0) << rescan;
    }
}

TEST(ScanBusTest, APingBegunJustBeforeItsLimitShiftsNoLaterReply) {
    // On a line at its real pace, device 1's first or second ping reply begins 192 ms after the
    // request: its first bytes are in when the 200 ms run out, the rest arrive during the next
    // ping. The port still learns that replies echo, and both devices are found, no phantom.
    for (int nth : {1, 2}) {
        SimEnv env;
        env.bus.byteTime = SimBus::kByteTime9600;
        env.bus.addDevice(1).lateReplies.push_back({CmdPing, nth, 0.172});
        env.bus.addDevice(3);
        env.st.ModelMask = 1;
        EXPECT_TRUE(ScanBus(env.st, env.link, env.clock)) << nth;
        EXPECT_EQ(Found(env.st), (std::vector<int>{1, 3})) << nth;
        EXPECT_TRUE(env.link.RepliesEcho(1)) << nth;
    }
}

TEST(ScanBusTest, ABusMixingBothFramingsFindsEveryDeviceInEitherOrder) {
    // Each device shows by its own replies whether they repeat the request's head; whichever
    // answers first, a device framed otherwise is still found by the length of its replies.
    struct Case {
        int echoing, other;
    };
    for (const Case c : {Case{1, 3}, Case{3, 1}, Case{1, 34}})
        for (bool paced : {false, true}) {
            SimEnv env;
            if (paced) env.bus.byteTime = SimBus::kByteTime9600;
            env.bus.addDevice(c.echoing);
            env.bus.addDevice(c.other).otherHead = true;
            env.st.ModelMask = 3;
            EXPECT_TRUE(ScanBus(env.st, env.link, env.clock));
            std::vector<int> want{c.echoing, c.other};
            std::sort(want.begin(), want.end());
            EXPECT_EQ(Found(env.st), want) << c.echoing << paced;
            EXPECT_TRUE(env.link.RepliesEcho(c.echoing)) << c.echoing << paced;
            EXPECT_FALSE(env.link.RepliesEcho(c.other)) << c.other << paced;
        }
}

TEST(ScanBusTest, RepliesFramedOtherwiseScanReadAndEditAsThoseThatEcho) {
    // A device whose replies carry zero bytes in place of the request's head and 0xF7 is found,
    // read and edited with the same frames, results and times as one whose replies echo, alone
    // on the bus or after a device whose replies echo has answered.
    struct Run {
        std::vector<int> found;
        std::vector<Frame13> frames;
        ProgRecord image;
        uint8_t lockByte = 0;
        double seconds = 0;
        bool echoes = false;
    };
    auto run = [](bool otherHead, bool echoingNeighbour) {
        SimEnv env;
        if (echoingNeighbour) env.bus.addDevice(1); // found first, its replies echo
        SimDevice& d = env.bus.addDevice(2);
        d.otherHead = otherHead;
        for (int i = 0; i < 48; ++i)
            d.current[static_cast<size_t>(i)] = static_cast<uint8_t>(i + 1);
        for (int a = 112; a < 272; ++a)
            d.mem[static_cast<size_t>(a)] = static_cast<uint8_t>(a % 97);
        env.st.ModelMask = 1;
        Run r;
        const double t0 = env.clock.nowSeconds();
        EXPECT_TRUE(ScanBus(env.st, env.link, env.clock));
        EXPECT_TRUE(ReadDeviceImage(env.link, env.st, 2));
        EXPECT_FALSE(env.link.SendFrame(2, CmdWriteByte, {0, 23, 0, 0, 1, 0, 0, 0}));
        r.seconds = env.clock.nowSeconds() - t0;
        r.found = Found(env.st);
        r.frames = env.bus.frames;
        r.image = env.st.DevProgs[2];
        r.lockByte = d.mem[23];
        r.echoes = env.link.RepliesEcho(2);
        return r;
    };
    for (bool neighbour : {false, true}) {
        const Run echo = run(false, neighbour), other = run(true, neighbour);
        EXPECT_TRUE(echo.echoes) << neighbour;
        EXPECT_FALSE(other.echoes) << neighbour;
        EXPECT_EQ(other.found, (neighbour ? std::vector<int>{1, 2} : std::vector<int>{2}));
        EXPECT_EQ(other.found, echo.found) << neighbour;
        EXPECT_EQ(other.frames, echo.frames) << neighbour;
        EXPECT_EQ(other.image, echo.image) << neighbour;
        EXPECT_EQ(other.image.Byte(47), 48) << neighbour;
        EXPECT_EQ(other.image.Byte(207), 271 % 97) << neighbour;
        EXPECT_EQ(other.lockByte, 1) << neighbour;
        EXPECT_DOUBLE_EQ(other.seconds, echo.seconds) << neighbour;
    }
}
