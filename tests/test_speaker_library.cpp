// The speaker library download and the system type dialog on the simulated bus.
#include "support/EqTestEnv.h"

#include "memories/FrmType.h"
#include "memories/MemoryActions.h"
#include "memories/SpeakerList.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
constexpr int kDev = EqTestEnv::kDev;

// Slot 0's window on a first-model device at bus address 5 with the program's top bar procedures.
// The device's slots 0 and 2 are used; slot 2 holds the default outputs with output gain bytes 10
// and 20 (a program that the window load keeps as it is).
struct SpeakerEnv : EqTestEnv {
    MemoryActions actions{ctx};
    QTemporaryDir dir;
    QString file = dir.path() + "/Kestrino/FirmwareLib/list.y12";
    ProgressBar bar;
    QByteArray slot;

    SpeakerEnv() {
        st.ModelCode[kDev] = 1;
        st.AppFolder = dir.path();
        QDir(dir.path()).mkpath("Kestrino/FirmwareLib");
        st.PresetStatus[kDev] = {SpkRec::kUsed, 0, SpkRec::kUsed};
        st.PresetName[kDev] = {"Bass", "", "MONITOR        "};
        std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(), img().Params.begin());
        slot = img().ToBytes().mid(48, 160);
        slot[st.Tables.GainBase[1] + 1 - 48] = 10;
        slot[st.Tables.GainBase[2] + 1 - 48] = 20;
        std::copy(slot.begin(), slot.end(), device->mem.begin() + SpeakerSlotAddress(2, 16));
        st.LastSystemType[kDev] = 255;
        st.ReportCommErrors = true;
    }
    // Picks a list file (`raw`, or sixteen records of which those in `used` are used) and runs
    // the download as the top bar does; the picked file's result.
    int download(const std::map<int, QString>& used, const QByteArray& raw = {}) {
        SpeakerList list{};
        for (auto [s, name] : used)
            list[static_cast<size_t>(s)] = {name, SpkRec::kUsed, {static_cast<uint8_t>(s)}};
        QFile f(file);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly) && f.write(raw.isNull() ? SpeakerListToBytes(list) : raw));
        f.close();
        dialogs.fileAnswers.push_back(file);
        const int n = actions.OpenSpeakerLibFile();
        bar = {};
        bar.Max = 44 * n + 1;
        if (n >= 1 && n <= 16) actions.DownloadSpeakerLib(bar);
        return n;
    }
    // Opens "Leer tipo sistema": what Text1 and the current row show; with `load`, that row is
    // made current and "Leer" pressed.
    std::pair<QString, int> open(int load = -1) {
        std::pair<QString, int> shown;
        dialogs.Script<FrmType>([&](FrmType& f) {
            shown = {f.Text1.Text, f.List1.listIndex()};
            if (load < 0) return;
            f.List1.setListIndex(load);
            f.Command1_Click(0);
        });
        actions.ShowType();
        return shown;
    }
    QByteArray mem(int a, int n) const {
        return QByteArray(reinterpret_cast<const char*>(&device->mem[a]), n);
    }
};
} // namespace

TEST(SpeakerLibraryTest, HeaderFramesOfAPaddedName) {
    SpeakerEnv e;
    EXPECT_EQ(e.download({{0, "MONITOR"}}), 1);
    EXPECT_EQ(e.dialogs.fileRequests[0].request.startFolder + "/list.y12", e.file);
    const auto sent = e.sent();
    ASSERT_EQ(sent.size(), 44u);
    EXPECT_EQ(std::vector(sent.begin(), sent.begin() + 4),
              (std::vector{FrameOf({0xF0, 0x65, 5, 0x18, 5, 0x00, 0x4D, 0x4F, 0x4E, 0x49, 0, 0, 0xF7}),
                           FrameOf({0xF0, 0x65, 5, 0x18, 5, 0x04, 0x54, 0x4F, 0x52, 0x20, 0, 0, 0xF7}),
                           FrameOf({0xF0, 0x65, 5, 0x18, 5, 0x08, 0x20, 0x20, 0x20, 0x20, 0, 0, 0xF7}),
                           FrameOf({0xF0, 0x65, 5, 0x18, 5, 0x0C, 0x20, 0x20, 0x20, 0x23, 0, 0, 0xF7})}));
    EXPECT_EQ(e.bar.value(), 44);
    EXPECT_EQ(e.st.SpkLib[0].Name, "MONITOR        ");
    // A longer name reaches the device cut to 15 characters.
    e.download({{6, "Twenty characters!!!"}});
    EXPECT_EQ(e.mem(SpeakerSlotAddress(6), 16), "Twenty characte#");
}

TEST(SpeakerLibraryTest, UsedRecordsGoToTheirOwnSlots) {
    SpeakerEnv e;
    EXPECT_EQ(e.download({{3, "Three"}, {7, "Seven"}}), 2);
    EXPECT_EQ(e.bus.framesWithCommand(CmdWrite4).size(), 88u);
    for (size_t s = 0; s < 16; ++s)
        EXPECT_EQ(e.st.PresetStatus[kDev][s] == SpkRec::kUsed, s == 0 || s == 2 || s == 3 || s == 7) << s;
    EXPECT_EQ(e.mem(SpeakerSlotAddress(7, 15), 2), QByteArray("#\x07", 2));
    const size_t before = e.bus.frames.size();
    EXPECT_EQ(e.download({{15, "Last"}}), 1);
    EXPECT_EQ(e.sent(before).front()[4] << 8 | e.sent(before).front()[5], 3920);

    // Sixteen empty records, and in demo mode a download, send nothing.
    EXPECT_EQ(e.download({}), 0);
    e.st.DemoMode = true;
    EXPECT_EQ(e.download({{1, "One"}}), 1);
    EXPECT_EQ(e.bus.frames.size(), before + 44);
    EXPECT_EQ(e.st.PresetName[kDev][1], "One            ");
    // A file the reader refuses keeps the library and its marks, and the file.
    const auto lib = e.st.SpkLib;
    const auto marks = e.st.SpkSelected;
    EXPECT_EQ(e.download({}, QByteArray(2000, '\x01')), 0);
    EXPECT_TRUE(e.st.SpkLib == lib && e.st.SpkSelected == marks && QFile::exists(e.file));
}

TEST(SystemTypeTest, LoadsASlotAndShowsItAsTheLastType) {
    SpeakerEnv e;
    EXPECT_EQ(e.open(), std::pair(QString("Default"), 0));
    e.st.LastSystemType[kDev] = 3; // now empty
    const QByteArray before = e.img().ToBytes();
    EXPECT_EQ(e.open(2), std::pair(QString("Default"), 0));
    const auto sent = e.sent();
    ASSERT_GT(sent.size(), 61u);
    EXPECT_EQ(sent[0], FrameOf({0xF0, 0x65, 5, 0x2D, 0x06, 0x70, 0, 0, 0, 0, 0, 0, 0xF7}));
    EXPECT_EQ(sent[20], FrameOf({0xF0, 0x65, 5, 0x18, 0, 0x70, e.slot[0], e.slot[1], e.slot[2], e.slot[3], 0,
                                 0, 0xF7}));
    EXPECT_EQ(sent[60], FrameOf({0xF0, 0x65, 5, 0x11, 0x01, 0x1F, 0, 0, 0x02, 0, 0, 0, 0xF7}));
    EXPECT_EQ(e.img().ToBytes().left(208), before.left(48) + e.slot);
    EXPECT_EQ(e.mem(112, 160), e.slot);
    EXPECT_EQ(e.rec().ChanGain[2], 20 / 2.0 - 36); // the window shows the loaded outputs
    EXPECT_EQ(e.open(), std::pair(QString("03 MONITOR        "), 2));
}

TEST(SystemTypeTest, ASlotNotReadWholeChangesNothing) {
    SpeakerEnv e;
    e.device->silentAfter = 4; // silent at the fifth read
    std::fill_n(e.device->mem.begin() + SpeakerSlotAddress(2, 16), 160, 0x5A);
    const QByteArray before = e.img().ToBytes();
    e.open(2);
    EXPECT_EQ(e.bus.framesWithCommand(CmdRead8).size(), 4u + 5u);
    EXPECT_TRUE(e.bus.framesWithCommand(CmdWrite4).empty());
    EXPECT_EQ(e.img().ToBytes(), before);
    EXPECT_EQ(e.st.LastSystemType[kDev], 255);
    EXPECT_EQ(e.device->mem[287], 0);
}
