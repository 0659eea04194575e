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
