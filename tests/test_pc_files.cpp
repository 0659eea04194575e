#include "bus/DeviceRead.h"
#include "common/NameCode.h"
#include "memories/FrmStorePrj.h"
#include "memories/PcFiles.h"
#include "memories/ProgramFiles.h"
#include "memories/SpeakerLibrary.h"
#include "memories/SpeakerList.h"
#include "platform/ui/QtDialogService.h"
#include "support/EqTestEnv.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

// A key pressed and released on the widget.
void Press(QWidget* w, int key, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(w, &release);
}

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
    list[4].Name = QString::fromUtf8("Caf\u00e9 \u03a9  1234567"); // not in the page
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

TEST(PcFilesTest, EveryOpenPathReadsOnlyAsFarAsItsFormat) {
    // A sparse gigabyte named like an output preset: the program file, output preset, speaker
    // library, speaker list and file list paths all read its head and none loads it whole.
    FilesEnv e;
    QDir(e.dir.path()).mkpath("Kestrino/PresetOutput");
    const QString big = e.path("Kestrino/PresetOutput/big.fpo");
    {
        QFile f(big);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly) && f.resize(qint64{1} << 30));
    }
    FrmStorePrj form{e.st, e.link, e.msg, e.dialogs};
    form.Form_Load();
    const struct {
        const char* path;
        std::function<bool()> open; // true when the file was taken as its path takes it
    } paths[] = {
        {"the reading routine",
         [&] {
             QByteArray head;
             return ReadFileHead(big, ProgRecord::kSize, head) == FileRead::Ok &&
                    head.size() == ProgRecord::kSize;
         }},
        {"Abrir memoria PC",
         [&] {
             e.files.OpenProgramFile();
             return e.st.FileProg.Byte(60) == 0;
         }},
        {"Load Outputs from PC",
         [&] {
             e.files.OpenOutputPresetFile();
             return e.st.FileProg.Byte(60) == 0;
         }},
        // Sixteen records of zero length and status 0.
        {"Firmware Librerias",
         [&] {
             return OpenSpeakerLibFile(e.st, e.msg, e.dialogs, FilesEnv::kDev) == 0 &&
                    e.st.SpkLib[0].Status == 0;
         }},
        {"Load List from PC",
         [&] {
             form.Command1[1].Click();
             return e.st.SpkLib[0].Status == 0;
         }},
        {"file list",
         [&] {
             form.File1.setListIndex(static_cast<int>(form.File1.items.indexOf("big.fpo")));
             form.List1.setListIndex(3);
             form.File1.DblClick();
             return form.List1.items[3] == "04 - big";
         }},
    };
    for (const auto& p : paths) {
        SCOPED_TRACE(p.path);
        e.st.FileProg.SetByte(60, 0x55);
        e.st.SpkLib[0].Status = SpkRec::kUsed;
        e.dialogs.fileAnswers = {big};
        rusage before{};
        getrusage(RUSAGE_SELF, &before);
        EXPECT_TRUE(p.open());
        rusage after{};
        getrusage(RUSAGE_SELF, &after);
        EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 32 * 1024); // kilobytes
        EXPECT_TRUE(e.msg.shown.empty());
    }
}

TEST(ProgramFilesTest, TheMainWindowShowsTheBusyPointerWhileAFileIsOpenedAndLoaded) {
    const QByteArray image = ProgRecord().ToBytes();
    const struct {
        bool preset;
        std::optional<QByteArray> file; // nothing: no file of that name
        bool cancelled;
        std::vector<std::pair<int, bool>> seen; // pointer, and whether frames were sent by then
    } cases[] = {
        {false, image, false, {{13, false}, {0, true}}},
        {true, image, false, {{13, false}, {0, true}}},
        {false, image.left(100), false, {{13, false}, {0, false}}},
        {true, std::nullopt, false, {{13, false}, {0, false}}},
        {false, image, true, {}},
    };
    for (const auto& c : cases) {
        FilesEnv e;
        int pointer = 0;
        std::vector<std::pair<int, bool>> seen;
        e.ctx.mainMousePointer = &pointer;
        e.ctx.refreshWindows = [&] { seen.emplace_back(pointer, !e.bus.frames.empty()); };
        if (c.file) WriteAll(e.path("f"), *c.file);
        e.dialogs.fileAnswers = {c.cancelled ? std::nullopt : std::optional(e.path("f"))};
        c.preset ? e.files.OpenOutputPresetFile() : e.files.OpenProgramFile();
        EXPECT_EQ(seen, c.seen) << c.preset << " " << c.file.has_value() << " " << c.cancelled;
        EXPECT_EQ(pointer, 0);
    }
}

TEST(PcFilesTest, ATypedNameOfAMissingFileIsTakenAndReportedByTheOpenPaths) {
    // The program's open dialog takes a name typed for a file that does not exist.
    QTemporaryDir dir;
    QtDialogService qt;
    bool stuck = false;
    QTimer closer; // ends any dialog still open, so that a refused name fails the test
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
            stuck = true;
            d->reject();
        }
    });
    QTimer::singleShot(0, [&] {
        auto* dlg = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dlg, nullptr);
        auto* name = dlg->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        for (const QChar ch : QStringLiteral("typed.qrx"))
            Press(name, ch.toUpper().unicode(), ch);
        closer.start(200);
        Press(name, Qt::Key_Return, "\r");
    });
    const std::optional<QString> typed =
        qt.OpenFile({"Abrir memoria PC", dir.path(), "file program (*.qrx)", "*.qrx"});
    closer.stop();
    EXPECT_FALSE(stuck);
    ASSERT_EQ(typed.value_or("(cancelled)").toStdString(), (dir.path() + "/typed.qrx").toStdString());

    // Each open path then tells the operator, and creates nothing.
    FilesEnv e;
    FrmStorePrj form{e.st, e.link, e.msg, e.dialogs};
    const std::function<void()> opens[] = {
        [&] { e.files.OpenProgramFile(); },
        [&] { e.files.OpenOutputPresetFile(); },
        [&] { EXPECT_EQ(OpenSpeakerLibFile(e.st, e.msg, e.dialogs, FilesEnv::kDev), kNoSpeakerLib); },
        [&] { form.LoadListFromPC(); },
    };
    for (const auto& open : opens) {
        e.msg.shown.clear();
        e.dialogs.fileAnswers = {*typed};
        open();
        ASSERT_EQ(e.msg.shown.size(), 1u);
        EXPECT_EQ(e.msg.shown[0].text, " File not found. Try again.");
        EXPECT_EQ(e.msg.shown[0].title, " Error");
        EXPECT_EQ(e.msg.shown[0].icon, MsgIcon::Exclamation);
        EXPECT_FALSE(QFile::exists(*typed));
    }
}

TEST(SpeakerListTest, NamesAreWindows1252BothWays) {
    QByteArray page;
    for (int b = 0x80; b <= 0x9F; ++b)
        page += static_cast<char>(b);
    const QString euro = QString::fromUtf8("\u20ac 5 \u201cHorn\u201d \u2013 Caf\u00e9");
    const struct {
        QString name;
        QByteArray bytes;
        QString readBack;
    } cases[] = {
        {FromAnsi(page), page, FromAnsi(page)}, // read and written back byte for byte
        {euro, "\x80 5 \x93Horn\x94 \x96 Caf\xE9", euro},
        {QString::fromUtf8("\u03a9 \U0001F50A \u0100"), "? ? ?", "? ? ?"}, // not in the page
    };
    EXPECT_EQ(FromAnsi(page).left(4), QString::fromUtf8("\u20ac\u0081\u201a\u0192"));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes.toHex().toStdString());
        // A speaker list file.
        SpeakerList list{};
        list[0].Name = c.name;
        const QByteArray file = SpeakerListToBytes(list);
        EXPECT_EQ(file.mid(2, c.bytes.size()), c.bytes);
        const std::optional<SpeakerList> back = SpeakerListFromBytes(file);
        ASSERT_TRUE(back.has_value());
        EXPECT_EQ((*back)[0].Name, c.readBack);
        // A speaker slot's name header, and the slot's name read from the device.
        QString name = c.name;
        const SpeakerNameHeader h = PadSpeakerName(name);
        const QByteArray header(reinterpret_cast<const char*>(h.data()), 16);
        EXPECT_EQ(header.left(15), c.bytes.left(15).leftJustified(15, ' '));
        FilesEnv e;
        std::copy(header.begin(), header.end(), e.device->mem.begin() + SpeakerSlotAddress(1));
        ASSERT_TRUE(ReadDeviceInfo(e.link, e.st, FilesEnv::kDev));
        SpkRec slot;
        ASSERT_EQ(ReadSpeakerSlot(e.st, e.link, FilesEnv::kDev, 1, slot, {}), Exchange::Done);
        const QString shown = c.readBack.left(15).leftJustified(15, u' ');
        EXPECT_EQ(e.st.PresetName[FilesEnv::kDev][1], shown);
        EXPECT_EQ(slot.Name, shown);
    }
}
