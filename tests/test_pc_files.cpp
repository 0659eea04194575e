#include "memories/PcFiles.h"
#include "memories/ProgramFiles.h"
#include "memories/SpeakerList.h"
#include "support/EqTestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <functional>

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

// An editing window of a first-model device whose program is the default one, with its files
// below a temporary application folder.
struct FilesEnv : EqTestEnv {
    QTemporaryDir dir;
    ProgramFiles files{ctx};

    FilesEnv() {
        st.AppFolder = dir.path();
        st.ModelCode[kDev] = 1;
        std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(), img().Params.begin());
        QDir(dir.path()).mkpath("Kestrino/preset");
        QDir(dir.path()).mkpath("Kestrino/PresetOutput");
    }
    QString path(const QString& rel) const { return dir.path() + "/" + rel; }
};

// A valid image that differs from the default one in every region a file may or may not bring.
ProgRecord OtherImage(const AppState& st) {
    ProgRecord p;
    std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(), p.Params.begin());
    p.SetByte(3, p.Byte(3) == 20 ? 40 : 20);      // input gain
    p.SetByte(40, 4);                             // second output muted
    p.SetByte(45, 'Q');                           // program name
    p.SetByte(49, 80);                            // output 1 gain
    p.SetByte(125, 50);                           // output 2 gain
    p.SetByte(206, 6);                            // both outputs muted in a preset
    p.SetByte(208, 9);                            // beyond both file regions
    p.SetByte(227, 1);                            // delay unit: distance
    p.SetByte(230, 7);                            // another mirrored setting
    p.SetByte(ProgRecord::kOptionsStart + 31, 1); // cursor of graph 1
    p.SetByte(ProgRecord::kSize - 1, 3);
    return p;
}

} // namespace

TEST(ProgramFilesTest, ProgramFileRoundTripChangesOnlyTheCaption) {
    FilesEnv e;
    e.img().SetByte(49, 70);
    e.img().SetByte(40, 2);
    const ProgRecord before = e.img();
    const QString file = e.path("Kestrino/preset/live");
    e.dialogs.fileAnswers = {file, file + ".qrx"};
    e.files.SaveProgramFile();
    EXPECT_EQ(ReadAll(file + ".qrx"), before.ToBytes());
    e.files.OpenProgramFile();

    EXPECT_EQ(e.img(), before);
    EXPECT_TRUE(e.msg.shown.empty());
    EXPECT_EQ(e.w().Caption, "ID:5 -  Kestrino  - Ultimo programa cargado: en PC: live.qrx");
    EXPECT_FALSE(e.bus.framesWithCommand(CmdSetGain).empty()); // loaded with traffic on
    const FileDialogRequest expected{"Guardar memoria PC", e.path("Kestrino/preset"), "file program (*.qrx)",
                                     "*.qrx"};
    ASSERT_EQ(e.dialogs.fileRequests.size(), 2u);
    EXPECT_TRUE(e.dialogs.fileRequests[0].save);
    EXPECT_EQ(e.dialogs.fileRequests[0].request, expected);
    EXPECT_FALSE(e.dialogs.fileRequests[1].save);
    EXPECT_EQ(e.dialogs.fileRequests[1].request.startFolder, e.path("Kestrino/preset"));
}

TEST(ProgramFilesTest, EachKindTakesExactlyItsBytes) {
    struct Case {
        const char* name;
        std::function<void(ProgramFiles&)> open;
        std::function<void(ProgRecord& expect, const ProgRecord& file)> take;
        QString folder;
    };
    const std::vector<Case> cases = {
        {"program", [](ProgramFiles& f) { f.OpenProgramFile(); },
         [](ProgRecord& x, const ProgRecord& f) {
             x.CopyBytes(f, 0, 47);
             x.CopyBytes(f, 227, 227);
             x.CopyBytes(f, 978, 1058);
         },
         "Kestrino/preset"},
        {"output preset", [](ProgramFiles& f) { f.OpenOutputPresetFile(); },
         [](ProgRecord& x, const ProgRecord& f) {
             x.CopyBytes(f, 48, 207);
             x.SetByte(40, static_cast<uint8_t>(f.Byte(206) & ~1));
         },
         "Kestrino/PresetOutput"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilesEnv e;
        const ProgRecord file = OtherImage(e.st);
        WriteAll(e.path("f.bin"), file.ToBytes());
        ProgRecord expect = e.img();
        c.take(expect, file);
        e.dialogs.fileAnswers = {e.path("f.bin")};
        c.open(e.files);
        for (int i = 0; i < ProgRecord::kSize; ++i)
            EXPECT_EQ(e.img().Byte(i), expect.Byte(i)) << "byte " << i;
        EXPECT_EQ(e.dialogs.fileRequests.at(0).request.startFolder, e.path(c.folder));
    }
}

TEST(ProgramFilesTest, OutputPresetCarriesTheMuteByte) {
    FilesEnv e;
    e.img().SetByte(40, 3); // input and first output muted
    const QString file = e.path("Kestrino/PresetOutput/Bass Horn 2");
    e.dialogs.fileAnswers = {file};
    e.files.SaveOutputPresetFile();
    const QByteArray saved = ReadAll(file + ".fpo");
    ASSERT_EQ(saved.size(), 1059);
    EXPECT_EQ(saved[206], 3);
    EXPECT_EQ(e.dialogs.fileRequests.at(0).request,
              (FileDialogRequest{"Save Outputs to PC", e.path("Kestrino/PresetOutput"),
                                 "file preset output (*.fpo)", "*.fpo"}));

    e.dialogs.fileAnswers = {file + ".fpo"};
    e.files.OpenOutputPresetFile();
    EXPECT_EQ(e.img().Byte(40), 2); // first output muted, input not
    EXPECT_EQ(e.rec().Mute, (std::array<int16_t, 3>{0, 1, 0}));
}

TEST(ProgramFilesTest, OnlyWholeImagesAreTaken) {
    struct Case {
        int size;
        bool taken;
    };
    for (const Case c :
         {Case{9, false}, Case{10, false}, Case{1058, false}, Case{1059, true}, Case{1100, true}}) {
        SCOPED_TRACE(c.size);
        FilesEnv e;
        const ProgRecord before = e.img();
        QByteArray bytes = OtherImage(e.st).ToBytes();
        bytes.append(QByteArray(41, '\x7F')); // beyond the image: never read
        bytes.truncate(c.size);
        WriteAll(e.path("p.qrx"), bytes);
        e.dialogs.fileAnswers = {e.path("p.qrx")};
        e.files.OpenProgramFile();

        EXPECT_EQ(ReadAll(e.path("p.qrx")), bytes); // never deleted
        if (c.taken) {
            EXPECT_EQ(e.img().Byte(45), 'Q');
            EXPECT_EQ(e.img().Byte(1058), 3);
            EXPECT_TRUE(e.msg.shown.empty());
        } else {
            EXPECT_EQ(e.img(), before);
            EXPECT_TRUE(e.bus.frames.empty());
            EXPECT_EQ(e.msg.texts(), QStringList{"File incorrecto"});
            EXPECT_EQ(e.msg.shown.at(0).title, " Error");
        }
    }
}

TEST(ProgramFilesTest, MissingFilesAndFailedSavesAreReported) {
    FilesEnv e;
    const ProgRecord before = e.img();
    e.dialogs.fileAnswers = {e.path("Kestrino/preset/gone.qrx")};
    e.files.OpenProgramFile();
    EXPECT_EQ(e.img(), before);
    EXPECT_FALSE(QFile::exists(e.path("Kestrino/preset/gone.qrx")));

    e.dialogs.fileAnswers = {e.path("no such folder/p"), e.path("no such folder/o")};
    e.files.SaveProgramFile();
    e.files.SaveOutputPresetFile();
    EXPECT_EQ(e.msg.texts(), (QStringList{" File not found. Try again.", " File not saved. Try again.",
                                          " File not saved. Try again."}));
    for (const auto& m : e.msg.shown)
        EXPECT_EQ(m.title, " Error");

    // A cancelled dialog ends without a word.
    e.files.OpenOutputPresetFile();
    EXPECT_EQ(e.msg.shown.size(), 3u);
}

TEST(SpeakerListTest, WriterAndReaderRoundTrip) {
    SpeakerList list{};
    for (int s = 0; s < kSpeakerSlots; ++s) {
        SpkRec& r = list[static_cast<size_t>(s)];
        r.Name = QString("Speaker %1 name").arg(s, 2, 10, QChar('0')).left(15);
        r.Status = s % 3 == 0 ? SpkRec::kUsed : SpkRec::kEmpty;
        for (int i = 0; i < SpkRec::kDataSize; ++i)
            r.Data[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7 + s);
    }
    list[4].Name = QString::fromUtf8("Caf\u00e9 \u20ac");
    const QByteArray bytes = SpeakerListToBytes(list);
    list[4].Name = QString::fromUtf8("Caf\u00e9 ?");
    const auto back = SpeakerListFromBytes(bytes);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(*back, list);
    EXPECT_EQ(bytes.size(), 2880 - 9); // fifteen 15-character names and one of 6
    EXPECT_EQ(bytes.left(6), QByteArray("\x0F\x00Spea", 6));
}

TEST(SpeakerListTest, OnlySixteenCompleteRecordsAreRead) {
    SpeakerList list{};
    for (auto& r : list)
        r.Name = "123456789012345";
    const QByteArray whole = SpeakerListToBytes(list);
    ASSERT_EQ(whole.size(), 2880);
    struct Case {
        qsizetype size;
        bool read;
    };
    for (const Case c : {Case{0, false}, Case{9, false}, Case{180, false}, Case{2700, false},
                         Case{2879, false}, Case{2880, true}}) {
        SCOPED_TRACE(c.size);
        EXPECT_EQ(SpeakerListFromBytes(whole.left(c.size)).has_value(), c.read);
    }
    EXPECT_TRUE(SpeakerListFromBytes(whole + "more").has_value());
}

TEST(SpeakerListTest, PadSpeakerName) {
    struct Case {
        QString name, padded;
        QByteArray codes;
    };
    const std::vector<Case> cases = {
        {"", QString(15, ' '), QByteArray(15, ' ')},
        {"MONITOR", "MONITOR        ", "MONITOR        "},
        {"123456789012345", "123456789012345", "123456789012345"},
        {"Twenty characters!!", "Twenty characters!!", "Twenty characte"},
        {QString::fromUtf8("\u20ac"), QString::fromUtf8("\u20ac") + QString(14, ' '),
         "?" + QByteArray(14, ' ')},
    };
    for (const Case& c : cases) {
        QString name = c.name;
        const SpeakerNameHeader h = PadSpeakerName(name);
        EXPECT_EQ(name, c.padded);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(h.data()), 15), c.codes);
        EXPECT_EQ(h[15], 35);
    }
}

TEST(SpeakerListTest, SlotWriteSendsFortyFourFramesAndReadsBack) {
    EqTestEnv e;
    SpkRec r;
    r.Name = "MONITOR";
    r.Status = SpkRec::kUsed;
    for (int i = 0; i < SpkRec::kDataSize; ++i)
        r.Data[static_cast<size_t>(i)] = static_cast<uint8_t>(200 - i);
    int steps = 0;
    for (int s : {0, 15})
        EXPECT_FALSE(WriteSpeakerSlot(e.st, e.link, EqTestEnv::kDev, s, r, [&] { ++steps; }));
    EXPECT_EQ(steps, 88);
    EXPECT_EQ(r.Name, "MONITOR        ");
    EXPECT_EQ(e.st.PresetName[EqTestEnv::kDev][15], "MONITOR        ");
    EXPECT_EQ(e.st.PresetStatus[EqTestEnv::kDev][15], 35);
    const auto frames = e.sent();
    ASSERT_EQ(frames.size(), 88u);
    EXPECT_EQ(frames[0], FrameOf({0xF0, 0x65, 5, 0x18, 0x05, 0x00, 'M', 'O', 'N', 'I', 0, 0, 0xF7}));
    EXPECT_EQ(frames[3], FrameOf({0xF0, 0x65, 5, 0x18, 0x05, 0x0C, ' ', ' ', ' ', '#', 0, 0, 0xF7}));
    EXPECT_EQ(frames[4], FrameOf({0xF0, 0x65, 5, 0x18, 0x05, 0x10, 200, 199, 198, 197, 0, 0, 0xF7}));
    EXPECT_EQ(frames[44][4] << 8 | frames[44][5], 3920);

    // The slot reads back in address order; its data byte 160 is the reader's own.
    SpkRec back;
    back.Data[160] = 77;
    steps = 0;
    EXPECT_EQ(ReadSpeakerSlot(e.st, e.link, EqTestEnv::kDev, 15, back, [&] { ++steps; }), Exchange::Done);
    EXPECT_EQ(steps, 22);
    SpkRec expect = r;
    expect.Data[160] = 77;
    EXPECT_EQ(back, expect);
}
