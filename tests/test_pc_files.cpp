#include "memories/PcFiles.h"
#include "memories/ProgramFiles.h"
#include "memories/SpeakerList.h"
#include "support/EqTestEnv.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

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

// An editing window of a first-model device running the default program, its files below a
// temporary application folder.
struct FilesEnv : EqTestEnv {
    QTemporaryDir dir;
    ProgramFiles files{ctx};

    FilesEnv() {
        st.AppFolder = dir.path();
        st.ModelCode[kDev] = 1;
        std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(), img().Params.begin());
        QDir(dir.path()).mkpath("Kestrino/preset");
    }
    QString path(const QString& rel) const { return dir.path() + "/" + rel; }
};

// A valid image that differs from the default one inside and outside each file kind's bytes.
ProgRecord OtherImage(const AppState& st) {
    ProgRecord p;
    std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(), p.Params.begin());
    for (auto [i, v] : {std::pair{3, 40},
                        {40, 4},
                        {45, 'Q'},
                        {49, 80},
                        {125, 50},
                        {206, 6},
                        {208, 9},
                        {227, 1},
                        {230, 7},
                        {978 + 31, 1},
                        {1058, 3}})
        p.SetByte(i, static_cast<uint8_t>(v));
    return p;
}

} // namespace

TEST(ProgramFilesTest, RoundTripsChangeOnlyTheCaptionAndPresetsCarryTheMuteByte) {
    FilesEnv e;
    e.img().SetByte(40, 3); // input and first output muted
    const ProgRecord before = e.img();
    const QString file = e.path("Kestrino/preset/live");
    e.dialogs.fileAnswers = {file, file + ".qrx", e.path("Bass Horn 2"), e.path("Bass Horn 2.fpo")};
    e.files.SaveProgramFile();
    e.files.OpenProgramFile();
    EXPECT_EQ(ReadAll(file + ".qrx"), before.ToBytes());
    EXPECT_EQ(e.img(), before);
    EXPECT_EQ(e.w().Caption, "ID:5 -  Kestrino  - Ultimo programa cargado: en PC: live.qrx");
    EXPECT_FALSE(e.bus.framesWithCommand(CmdSetGain).empty()); // loaded with traffic on
    EXPECT_EQ(e.dialogs.fileRequests.at(0).request,
              (FileDialogRequest{"Guardar memoria PC", e.path("Kestrino/preset"), "file program (*.qrx)",
                                 "*.qrx"}));

    e.files.SaveOutputPresetFile();
    EXPECT_EQ(ReadAll(e.path("Bass Horn 2.fpo")).at(206), 3);
    e.files.OpenOutputPresetFile();
    EXPECT_EQ(e.img().Byte(40), 2);
    EXPECT_EQ(e.rec().Mute, (std::array<int16_t, 3>{0, 1, 0}));
    EXPECT_EQ(e.dialogs.fileRequests.at(3).request.startFolder, e.path("Kestrino/PresetOutput"));
    EXPECT_TRUE(e.msg.shown.empty());
}

TEST(ProgramFilesTest, EachKindTakesExactlyItsBytes) {
    for (const bool preset : {false, true}) {
        FilesEnv e;
        const ProgRecord file = OtherImage(e.st);
        WriteAll(e.path("f.bin"), file.ToBytes());
        ProgRecord expect = e.img();
        if (preset) {
            expect.CopyBytes(file, 48, 207);
            expect.SetByte(40, static_cast<uint8_t>(file.Byte(206) & ~1)); // the input unmuted
        } else {
            for (auto [first, last] : {std::pair{0, 47}, {227, 227}, {978, 1058}})
                expect.CopyBytes(file, first, last);
        }
        e.dialogs.fileAnswers = {e.path("f.bin")};
        preset ? e.files.OpenOutputPresetFile() : e.files.OpenProgramFile();
        for (int i = 0; i < ProgRecord::kSize; ++i)
            EXPECT_EQ(e.img().Byte(i), expect.Byte(i)) << "byte " << i << (preset ? " of a preset" : "");
    }
}

TEST(ProgramFilesTest, OnlyWholeImagesAreTakenNothingIsDeletedFailuresAreReported) {
    for (const int size : {9, 10, 1058, 1059, 1100}) {
        SCOPED_TRACE(size);
        FilesEnv e;
        const ProgRecord before = e.img();
        QByteArray bytes = OtherImage(e.st).ToBytes() + QByteArray(41, '\x7F');
        bytes.truncate(size);
        WriteAll(e.path("p.qrx"), bytes);
        e.dialogs.fileAnswers = {e.path("p.qrx")};
        e.files.OpenProgramFile();
        EXPECT_EQ(ReadAll(e.path("p.qrx")), bytes);
        EXPECT_EQ(e.img() == before, size < 1059);
        EXPECT_EQ(e.img().Byte(1058), size < 1059 ? before.Byte(1058) : 3);
        EXPECT_EQ(e.msg.texts(), size < 1059 ? QStringList{"File incorrecto"} : QStringList{});
    }
    FilesEnv e;
    e.dialogs.fileAnswers = {e.path("gone.qrx"), e.path("no such folder/p"), e.path("no such folder/o")};
    e.files.OpenProgramFile();
    e.files.SaveProgramFile();
    e.files.SaveOutputPresetFile();
    e.files.OpenOutputPresetFile(); // cancelled: no word
    EXPECT_FALSE(QFile::exists(e.path("gone.qrx")));
    EXPECT_EQ(e.msg.texts(), (QStringList{" File not found. Try again.", " File not saved. Try again.",
                                          " File not saved. Try again."}));
    EXPECT_EQ(e.msg.shown.at(1).title, " Error");
}

TEST(SpeakerListTest, FileRoundTripAndCutFiles) {
    SpeakerList list{};
    for (int s = 0; s < kSpeakerSlots; ++s) {
        SpkRec& r = list[static_cast<size_t>(s)];
        r.Name = QString("Speaker %1 mode").arg(s, 2, 10, QChar('0'));
        r.Status = s % 3 == 0 ? SpkRec::kUsed : SpkRec::kEmpty;
        for (int i = 0; i < SpkRec::kDataSize; ++i)
            r.Data[static_cast<size_t>(i)] = static_cast<uint8_t>(i * 7 + s);
    }
    list[4].Name = QString::fromUtf8("Caf\u00e9 \u20ac  1234567"); // "€" is not Latin-1
    const QByteArray bytes = SpeakerListToBytes(list);
    ASSERT_EQ(bytes.size(), 2880);
    EXPECT_EQ(bytes.left(6), QByteArray("\x0F\x00Spea", 6));
    list[4].Name = QString::fromUtf8("Caf\u00e9 ?  1234567");
    EXPECT_EQ(SpeakerListFromBytes(bytes), list);
    EXPECT_EQ(SpeakerListFromBytes(bytes + "more"), list);
    for (const qsizetype cut : {0, 9, 180, 2700, 2879})
        EXPECT_FALSE(SpeakerListFromBytes(bytes.left(cut)).has_value()) << cut;
}

TEST(SpeakerListTest, PadSpeakerName) {
    for (auto [name, padded, header] : {std::tuple{"MONITOR", "MONITOR        ", "MONITOR        #"},
                                        {"", "               ", "               #"},
                                        {"Twenty characters!!", "Twenty characters!!", "Twenty characte#"}}) {
        QString n = name;
        const SpeakerNameHeader h = PadSpeakerName(n);
        EXPECT_EQ(n, padded);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(h.data()), 16), header);
    }
}
