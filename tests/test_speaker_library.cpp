// The speaker library download and the system type dialog on the simulated bus.
#include "support/EqTestEnv.h"

#include "memories/FrmType.h"
#include "memories/MemoryActions.h"
#include "memories/SpeakerLibrary.h"
#include "memories/SpeakerList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
size_t U(int i) {
    return static_cast<size_t>(i);
}

// The editing window of slot 0 on a first-model device at bus address 5, with the program's top
// bar procedures and an application folder holding Kestrino/FirmwareLib.
struct SpeakerEnv : EqTestEnv {
    MemoryActions actions{ctx};
    RecordingFailureSink sink;
    QTemporaryDir dir;

    SpeakerEnv() {
        st.ModelCode[kDev] = 1;
        st.AppFolder = dir.path();
        QDir(dir.path()).mkpath("Kestrino/FirmwareLib");
        std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(), img().Params.begin());
        link.setFailureSink(&sink);
    }
    QString lib() const { return dir.path() + "/Kestrino/FirmwareLib"; }
    // Writes a speaker list file whose records named in `used` are used ("SPK" + s, data bytes
    // s + i), and queues it as the open dialog's answer.
    QString pickList(const std::map<int, QString>& used, const QByteArray& raw = {}) {
        SpeakerList list{};
        for (int s = 0; s < kSpeakerSlots; ++s) {
            SpkRec& r = list[U(s)];
            r.Name = used.contains(s) ? used.at(s) : QStringLiteral("unused");
            r.Status = used.contains(s) ? SpkRec::kUsed : SpkRec::kEmpty;
            for (int i = 0; i < SpkRec::kDataSize; ++i)
                r.Data[U(i)] = static_cast<uint8_t>(s + i);
        }
        const QString path = lib() + "/list.y12";
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(raw.isNull() ? SpeakerListToBytes(list) : raw);
        dialogs.fileAnswers.push_back(path);
        return path;
    }
    // The download as the top bar runs it: the number picked, then the bar for it.
    int download(ProgressBar& bar) {
        const int n = actions.OpenSpeakerLibFile();
        if (n >= 1 && n <= 16) {
            bar.Max = kSpeakerSlotFrames * n + 1;
            actions.DownloadSpeakerLib(bar);
        }
        return n;
    }
    QByteArray slotBytes(int s, int from, int n) const {
        return QByteArray(reinterpret_cast<const char*>(&device->mem[U(SpeakerSlotAddress(s, from))]), n);
    }
};

QByteArray Bytes(const uint8_t* p, int n) {
    return QByteArray(reinterpret_cast<const char*>(p), n);
}
} // namespace

TEST(SpeakerLibraryTest, NameHeaderFramesAndPaddedNames) {
    // Device 5, slot 0, "MONITOR": the four header frames byte for byte.
    SpeakerEnv e;
    ProgressBar bar;
    EXPECT_EQ(e.download(bar), 255); // cancelled
    ASSERT_EQ(e.dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(e.dialogs.fileRequests[0].request,
              (FileDialogRequest{{}, e.lib(), "file Speaker (*.y12)", "*.y12"}));
        e.pickList({{0, "MONITOR"}});
    EXPECT_EQ(e.download(bar), 1);
    const auto sent = e.sent();
    ASSERT_EQ(sent.size(), 44u);
    const std::vector<Frame13> header(sent.begin(), sent.begin() + 4);
    EXPECT_EQ(header, (std::vector<Frame13>{
                          FrameOf({0xF0, 0x65, 0x05, 0x18, 0x05, 0x00, 0x4D, 0x4F, 0x4E, 0x49, 0, 0, 0xF7}),
                          FrameOf({0xF0, 0x65, 0x05, 0x18, 0x05, 0x04, 0x54, 0x4F, 0x52, 0x20, 0, 0, 0xF7}),
                          FrameOf({0xF0, 0x65, 0x05, 0x18, 0x05, 0x08, 0x20, 0x20, 0x20, 0x20, 0, 0, 0xF7}),
                          FrameOf({0xF0, 0x65, 0x05, 0x18, 0x05, 0x0C, 0x20, 0x20, 0x20, 0x23, 0, 0, 0xF7})}));
    EXPECT_EQ(bar.value(), 44);
    EXPECT_EQ(e.st.SpkLib[0].Name, "MONITOR        ");
    EXPECT_EQ(e.st.PresetName[EqTestEnv::kDev][0], "MONITOR        ");

    // A 20-character name sends its first 15 and keeps the rest; an empty one sends 15 blanks.
    for (auto [name, onDevice, kept] : {std::tuple{"Twenty characters!!!", "Twenty characte#", "Twenty characters!!!"},
                                        {"", "               #", "               "}}) {
        e.pickList({{6, name}});
        EXPECT_EQ(e.download(bar), 1);
        EXPECT_EQ(e.slotBytes(6, 0, 16), onDevice);
        EXPECT_EQ(e.st.SpkLib[6].Name, kept);
        EXPECT_EQ(e.st.PresetName[EqTestEnv::kDev][6], kept);
    }
}

TEST(SpeakerLibraryTest, WritesOnlyUsedRecordsIntoTheirOwnSlots) {
    SpeakerEnv e;
    e.st.PresetName[EqTestEnv::kDev][5] = "OLD";
    e.pickList({{3, "Three"}, {7, "Seven"}});
    ProgressBar bar;
    EXPECT_EQ(e.download(bar), 2);
    EXPECT_EQ(bar.Max, 89);
    EXPECT_EQ(bar.value(), 88);
    EXPECT_EQ(e.bus.framesWithCommand(CmdWrite4).size(), 88u);
    for (int s = 0; s < 16; ++s) {
        const bool used = s == 3 || s == 7;
        EXPECT_EQ(e.st.SpkSelected[U(s)], used) << s;
        EXPECT_EQ(e.st.PresetStatus[EqTestEnv::kDev][U(s)] == SpkRec::kUsed, used) << s;
        EXPECT_EQ(e.device->mem[U(SpeakerSlotAddress(s, 15))], used ? 35 : 0) << s;
    }
    EXPECT_EQ(e.st.PresetName[EqTestEnv::kDev][7], "Seven          ");
    EXPECT_EQ(e.st.PresetName[EqTestEnv::kDev][5], "OLD");
    EXPECT_EQ(e.slotBytes(7, 16, 160), Bytes(e.st.SpkLib[7].Data.data(), 160));

    // Record 15 lands at address 3920, the last slot.
    const size_t before = e.bus.frames.size();
    e.pickList({{15, "Last"}});
    EXPECT_EQ(e.download(bar), 1);
    EXPECT_EQ(e.sent(before).front(), FrameOf({0xF0, 0x65, 0x05, 0x18, 0x0F, 0x50, 'L', 'a', 's', 't', 0, 0, 0xF7}));
    EXPECT_EQ(e.sent(before).back()[4] << 8 | e.sent(before).back()[5], 4092);

    // A list of sixteen empty records gives 0 and sends nothing; the list is taken.
    e.pickList({});
    const size_t frames = e.bus.frames.size();
    EXPECT_EQ(e.download(bar), 0);
    EXPECT_EQ(e.bus.frames.size(), frames);
    EXPECT_FALSE(e.st.SpkLib[15].used() || e.st.SpkSelected[15]);
}

TEST(SpeakerLibraryTest, DemoModeAndFailuresOfTheDownload) {
    // In demo mode nothing is sent, every marked record is named all the same.
    SpeakerEnv e;
    e.st.DemoMode = true;
    e.pickList({{1, "One"}, {2, "Two"}});
    ProgressBar bar;
    EXPECT_EQ(e.download(bar), 2);
    EXPECT_TRUE(e.bus.frames.empty());
    EXPECT_EQ(e.st.PresetName[EqTestEnv::kDev][2], "Two            ");
    EXPECT_EQ(e.st.PresetStatus[EqTestEnv::kDev][1], SpkRec::kUsed);

    // A file the reader refuses: 0, the library and marks loaded before stay, the file stays.
    const auto lib = e.st.SpkLib;
    const auto marks = e.st.SpkSelected;
    for (const QByteArray& raw : {QByteArray("short"), QByteArray(2000, '\x01')}) {
        const QString path = e.pickList({}, raw);
        EXPECT_EQ(e.actions.OpenSpeakerLibFile(), 0);
        EXPECT_EQ(e.st.SpkLib, lib);
        EXPECT_EQ(e.st.SpkSelected, marks);
        EXPECT_TRUE(QFile::exists(path));
    }
    // A missing file: its message and 255.
    e.dialogs.fileAnswers.push_back(e.lib() + "/gone.y12");
    EXPECT_EQ(e.actions.OpenSpeakerLibFile(), 255);
    EXPECT_EQ(e.msg.texts(), QStringList{" File not found. Try again."});

    // A frame that fails stops the download in the middle of its slot.
    e.st.DemoMode = false;
    e.st.ReportCommErrors = true;
    e.device->silentAfter = 50; // slot 1 and six frames of slot 2
    e.pickList({{1, "One"}, {2, "Two"}, {9, "Nine"}});
    EXPECT_EQ(e.download(bar), 3);
    EXPECT_EQ(e.bus.frames.size(), 50u + 5u);
    EXPECT_EQ(e.sink.closed, std::vector<int>{EqTestEnv::kDev});
    EXPECT_NE(e.st.PresetStatus[EqTestEnv::kDev][9], SpkRec::kUsed);
}

namespace {
// The system type dialog of the same window, the device's slots 0 "Bass" and 2 "MONITOR" used,
// the image's input gain, name and mute byte marked. Slot 2 holds the default outputs with output
// gains of 10 and 20 (a program that the window load keeps as it is).
struct TypeEnv : SpeakerEnv {
    std::array<uint8_t, 160> slot{};

    TypeEnv() {
        for (auto [s, name] : {std::pair{0, "Bass           "}, {2, "MONITOR        "}}) {
            st.PresetStatus[kDev][U(s)] = SpkRec::kUsed;
            st.PresetName[kDev][U(s)] = name;
        }
        std::copy_n(st.Tables.DefaultProgram.begin() + 48, 160, slot.begin());
        slot[U(st.Tables.GainBase[1] + 1 - 48)] = 10;
        slot[U(st.Tables.GainBase[2] + 1 - 48)] = 20;
        std::copy(slot.begin(), slot.end(), device->mem.begin() + SpeakerSlotAddress(2, 16));
        img().SetByte(st.Tables.GainBase[0] + 1, 30);
        img().SetByte(32, 11); // "K"
        img().SetByte(st.Tables.MuteAddr, 2);
        st.LastSystemType[kDev] = 255;
        device->mem[287] = 9;
        st.ReportCommErrors = true;
    }
    // Opens the dialog from the top bar; `run` does what the operator does in it.
    void show(std::function<void(FrmType&)> run) {
        dialogs.Script<FrmType>(std::move(run));
        actions.ShowType();
    }
};
} // namespace

TEST(SystemTypeTest, ListsTheSlotsAndTheLastTypeLoaded) {
    TypeEnv e;
    // t: the last type loaded; what Text1 and the current row then show.
    for (auto [t, text, row] : {std::tuple{255, "Default", 0}, {3, "Default", 0}, {2, "03 MONITOR        ", 2}}) {
        e.st.LastSystemType[EqTestEnv::kDev] = static_cast<int16_t>(t);
        e.show([&](FrmType& f) {
            EXPECT_EQ(f.Text1.Text, text) << t;
            EXPECT_EQ(f.List1.listIndex(), row) << t;
            EXPECT_EQ(f.List1.items.size(), 16);
            EXPECT_EQ(f.List1.items[0], "01 - Bass           ");
            EXPECT_EQ(f.List1.items[1], "02 - Vacia");
            EXPECT_EQ(f.List1.items[15], "16 - Vacia");
            EXPECT_TRUE(f.Command1[0].Enabled);
        });
    }
    e.st.DemoMode = true;
    e.show([](FrmType& f) { EXPECT_FALSE(f.Command1[0].Enabled); });

    // "No", and an empty slot after "Yes", leave the dialog open and send nothing.
    e.st.DemoMode = false;
    e.msg.answers = {MsgAnswer::No, MsgAnswer::Yes};
    e.show([](FrmType& f) {
        f.List1.setListIndex(0);
        f.Command1_Click(0);
        f.List1.setListIndex(5);
        f.Command1_Click(0);
        EXPECT_TRUE(f.IsShown());
    });
    EXPECT_EQ(e.msg.texts(), (QStringList{"                Esta Seguro?", "                Esta Seguro?", "Memoria Vacia"}));
    EXPECT_EQ(e.msg.shown.back().icon, MsgIcon::Critical);
    EXPECT_TRUE(e.bus.frames.empty());
}

TEST(SystemTypeTest, LoadsASlotIntoTheLiveOutputs) {
    TypeEnv e;
    const ProgRecord before = e.img();
    e.show([](FrmType& f) {
        f.List1.setListIndex(2);
        f.Command1_Click(0);
        EXPECT_EQ(f.ProgressBar1.Max, 75);
        EXPECT_EQ(f.ProgressBar1.value(), 60);
        EXPECT_FALSE(f.ProgressBar1.Visible);
        EXPECT_FALSE(f.IsShown());
    });
    const auto sent = e.sent();
    ASSERT_GT(sent.size(), 61u);
    EXPECT_EQ(sent[0], FrameOf({0xF0, 0x65, 0x05, 0x2D, 0x06, 0x70, 0, 0, 0, 0, 0, 0, 0xF7}));
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(sent[U(i)][3], CmdRead8);
        EXPECT_EQ(sent[U(i)][4] << 8 | sent[U(i)][5], 1280 + 176 * 2 + 16 + 8 * i) << i;
    }
    for (int i = 0; i < 40; ++i) {
        const Frame13& f = sent[U(20 + i)];
        EXPECT_EQ(f[3], CmdWrite4);
        EXPECT_EQ(f[4] << 8 | f[5], 112 + 4 * i) << i;
        EXPECT_EQ(Bytes(&f[6], 4), Bytes(&e.slot[U(4 * i)], 4)) << i;
    }
    EXPECT_EQ(sent[60], FrameOf({0xF0, 0x65, 0x05, 0x11, 0x01, 0x1F, 0, 0, 0x02, 0, 0, 0, 0xF7}));
    for (int i = 0; i < 160; ++i) {
        ASSERT_EQ(e.img().Byte(48 + i), e.slot[U(i)]) << i;
        ASSERT_EQ(e.device->mem[U(112 + i)], e.slot[U(i)]) << i;
    }
    for (int i = 0; i < 48; ++i)
        ASSERT_EQ(e.img().Byte(i), before.Byte(i)) << i;
    EXPECT_EQ(e.rec().ChanGain[2], 20 / 2.0 - 36); // the window shows the loaded outputs
    EXPECT_EQ(e.st.LastSystemType[EqTestEnv::kDev], 2);
    EXPECT_EQ(e.device->mem[287], 2);

    // The next opening shows the slot as the last type.
    e.show([](FrmType& f) { EXPECT_EQ(f.Text1.Text, "03 MONITOR        "); });
}

TEST(SystemTypeTest, ASlotNotReadWholeChangesNothing) {
    TypeEnv e;
    e.device->silentAfter = 4; // silent at the fifth read
    for (int i = 16; i < 176; ++i)
        e.device->mem[U(SpeakerSlotAddress(2, i))] = static_cast<uint8_t>(3 * i + 1);
    const ProgRecord before = e.img();
    e.show([](FrmType& f) {
        f.List1.setListIndex(2);
        f.Command1_Click(0);
        EXPECT_FALSE(f.IsShown());
    });
    EXPECT_EQ(e.bus.framesWithCommand(CmdRead8).size(), 4u + 5u);
    EXPECT_TRUE(e.bus.framesWithCommand(CmdWrite4).empty());
    EXPECT_EQ(e.sink.closed, std::vector<int>{EqTestEnv::kDev});
    for (int i = 0; i < ProgRecord::kSize; ++i)
        ASSERT_EQ(e.img().Byte(i), before.Byte(i)) << i;
    EXPECT_EQ(e.st.LastSystemType[EqTestEnv::kDev], 255);
    EXPECT_EQ(e.device->mem[287], 9);
}
