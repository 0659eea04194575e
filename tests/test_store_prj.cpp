#include "memories/FrmStorePrj.h"
#include "memories/PcFiles.h"
#include "memories/ui/FrmStorePrjView.h"
#include "support/SimEnv.h"

#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// The factory preset dialog of a first-model device at bus address 5, its files below a
// temporary application folder.
struct StoreEnv : SimEnv {
    static constexpr int kDev = 5;
    QTemporaryDir dir;
    SimDevice* device = nullptr;
    FrmStorePrj form{st, link, msg, dialogs};

    StoreEnv() {
        st.AppFolder = dir.path();
        st.ModelCode[kDev] = 1;
        st.SlotTable[0] = {-1, kDev, 0};
        st.CurSlot = 0;
        device = &bus.addDevice(kDev);
        QDir(dir.path()).mkpath("Kestrino/PresetOutput");
    }
    QString presets() const { return dir.path() + "/Kestrino/PresetOutput"; }
    // Writes an output preset whose output bytes 48..207 are 48 + i + seed.
    void writePreset(const QString& name, int seed, int size = ProgRecord::kSize) {
        QByteArray b(size, '\0');
        for (int i = 48; i < std::min(size, 208); ++i)
            b[i] = static_cast<char>(i + seed);
        QFile f(presets() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(b);
    }
    void pick(const QString& file, int row) {
        form.File1.setListIndex(static_cast<int>(form.File1.items.indexOf(file)));
        form.List1.clickRow(row);
        form.File1.DblClick();
    }
    const SpkRec& rec(int s) const { return st.SpkLib[static_cast<size_t>(s)]; }
};

} // namespace

TEST(FrmStorePrjTest, LoadListsPresetsAndTakesADoubleClickedOne) {
    StoreEnv e;
    e.writePreset("Bass Horn 2.fpo", 0);
    e.writePreset("Monitor.fpo", 1);
    e.writePreset("short.fpo", 0, 1058);
    e.writePreset("program.qrx", 0);
    e.st.SpkLib[2].Data[160] = 99;
    e.form.Form_Load();
    EXPECT_EQ(e.form.File1.items, (QStringList{"Bass Horn 2.fpo", "Monitor.fpo", "short.fpo"}));
    EXPECT_EQ(e.form.List1.items.size(), 16);
    EXPECT_EQ(e.form.List1.items[15], "16 - Vacia");
    EXPECT_TRUE(e.form.Command1[0].Enabled && e.form.Command1[3].Enabled);

    // No position chosen yet: nothing is taken.
    e.form.File1.setListIndex(0);
    e.form.File1.DblClick();
    EXPECT_EQ(e.msg.texts(), QStringList{"please select a position on the factory Preset list"});

    e.pick("Bass Horn 2.fpo", 2);
    EXPECT_EQ(e.form.List1.items[2], "03 - Bass Horn 2");
    EXPECT_TRUE(e.form.List1.selected(2));
    EXPECT_EQ(e.form.List1.listIndex(), 2);
    EXPECT_EQ(e.rec(2).Name, "Bass Horn 2");
    EXPECT_EQ(e.rec(2).Status, 35);
    for (int i = 0; i < 160; ++i)
        ASSERT_EQ(e.rec(2).Data[static_cast<size_t>(i)], static_cast<uint8_t>(48 + i)) << i;
    EXPECT_EQ(e.rec(2).Data[160], 99);

    // A file shorter than an image is refused, kept on disk, and the row stays empty.
    e.pick("short.fpo", 4);
    EXPECT_EQ(e.msg.texts().last(), "File incorrecto");
    EXPECT_EQ(e.form.List1.items[4], "05 - Vacia");
    EXPECT_TRUE(QFile::exists(e.presets() + "/short.fpo"));

    // A model folder that is missing lists nothing; demo mode disables the device buttons.
    e.st.ModelCode[StoreEnv::kDev] = 2;
    e.st.DemoMode = true;
    e.form.Form_Load();
    EXPECT_TRUE(e.form.File1.items.isEmpty());
    EXPECT_FALSE(e.form.Command1[0].Enabled || e.form.Command1[3].Enabled);
    EXPECT_TRUE(e.form.Command1[1].Enabled && e.form.Command1[2].Enabled);
}

TEST(FrmStorePrjTest, SavesMarkedUsedRowsToTheDevice) {
    StoreEnv e;
    e.writePreset("Bass Horn 2.fpo", 0);
    e.writePreset("Monitor.fpo", 1);
    e.form.Form_Load();
    e.pick("Bass Horn 2.fpo", 2);
    e.pick("Monitor.fpo", 9);
    e.form.List1.clickRow(5); // marked but empty
    e.form.Command1[3].Click();

    EXPECT_EQ(e.bus.framesWithCommand(CmdWrite4).size(), 88u);
    EXPECT_EQ(e.form.ProgressBar1.Max, 133);
    EXPECT_EQ(e.form.ProgressBar1.value(), 88);
    EXPECT_FALSE(e.form.ProgressBar1.Visible);
    EXPECT_EQ(e.msg.texts(), (QStringList{"Save preset factory list to device, are you sure?",
                                          "Factory preset stored, total file = 2"}));
    const auto slot = [&](int s, int k) { return e.device->mem[static_cast<size_t>(1280 + 176 * s + k)]; };
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&e.device->mem[1280 + 176 * 9]), 16),
              "Monitor        #");
    EXPECT_EQ(slot(9, 16), 48 + 1);
    EXPECT_EQ(slot(2, 175), 207);
    EXPECT_EQ(slot(5, 15), 0);
    EXPECT_EQ(e.st.PresetName[StoreEnv::kDev][2], "Bass Horn 2    ");
    EXPECT_EQ(e.st.PresetStatus[StoreEnv::kDev][9], 35);

    // Answering No sends nothing.
    e.msg.answers = {MsgAnswer::No};
    e.form.Command1[3].Click();
    EXPECT_EQ(e.bus.framesWithCommand(CmdWrite4).size(), 88u);
}

TEST(FrmStorePrjTest, ReadsTheSlotsOfTheDevice) {
    StoreEnv e;
    auto& mem = e.device->mem;
    const QByteArray name = "Sub 18 Cardioid#";
    std::copy(name.begin(), name.end(), mem.begin() + 1280 + 176 * 3);
    for (int i = 0; i < 160; ++i)
        mem[static_cast<size_t>(1280 + 176 * 3 + 16 + i)] = static_cast<uint8_t>(255 - i);
    std::copy(name.begin(), name.end() - 1, mem.begin() + 1280 + 176 * 7); // a name, but not used
    e.form.Form_Load();
    e.form.Command1[0].Click();

    EXPECT_EQ(e.bus.framesWithCommand(CmdRead8).size(), 16u * 2 + 20);
    EXPECT_EQ(e.form.ProgressBar1.Max, 353);
    EXPECT_EQ(e.form.ProgressBar1.value(), 352);
    EXPECT_EQ(e.form.List1.items[3], "04 - Sub 18 Cardioid");
    EXPECT_EQ(e.form.List1.items[7], "08 - Vacia");
    for (int s = 0; s < 16; ++s)
        EXPECT_EQ(e.form.List1.selected(s), s == 3) << s;
    for (int i = 0; i < 160; ++i) {
        ASSERT_EQ(e.rec(3).Data[static_cast<size_t>(i)], 255 - i) << i;
        ASSERT_EQ(e.rec(7).Data[static_cast<size_t>(i)],
                  e.st.Tables.DefaultProgram[static_cast<size_t>(48 + i)]);
    }
    EXPECT_EQ(e.rec(7).Name, "Vacia");
}

TEST(FrmStorePrjTest, ListFileKeepsOnlyMarkedRowsAndRefusesACutFile) {
    StoreEnv e;
    e.writePreset("Bass Horn 2.fpo", 0);
    e.form.Form_Load();
    e.pick("Bass Horn 2.fpo", 1);
    e.pick("Bass Horn 2.fpo", 5);
    e.pick("Bass Horn 2.fpo", 8);
    e.form.List1.clickRow(8); // unmarked again
    const QString file = e.presets() + "/factory";
    e.dialogs.fileAnswers = {file};
    e.form.Command1[2].Click();
    const QByteArray saved = [&] {
        QFile f(file + ".y12");
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    EXPECT_EQ(e.dialogs.fileRequests.at(0).request,
              (FileDialogRequest{"Save List to PC", e.presets(), "file Speaker (*.y12)", "*.y12"}));

    e.form.Form_Load();
    e.dialogs.fileAnswers = {file + ".y12"};
    e.form.Command1[1].Click();
    for (int s = 0; s < 16; ++s) {
        EXPECT_EQ(e.rec(s).used(), s == 1 || s == 5) << s;
        EXPECT_EQ(e.form.List1.selected(s), s == 1 || s == 5) << s;
    }
    EXPECT_EQ(e.rec(8).Name, "Bass Horn 2"); // saved empty, with its old name
    EXPECT_EQ(e.form.List1.items[8], "09 - Vacia");

    // A file cut inside its last record changes nothing.
    const std::array<SpkRec, 17> before = e.st.SpkLib;
    QFile cut(e.presets() + "/cut.y12");
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(saved.left(saved.size() - 1));
    cut.close();
    e.dialogs.fileAnswers = {cut.fileName(), e.presets() + "/gone.y12"};
    e.form.Command1[1].Click();
    e.form.Command1[1].Click();
    EXPECT_EQ(e.st.SpkLib, before);
    EXPECT_EQ(e.msg.texts(), (QStringList{"File incorrecto", " File not found. Try again."}));
    EXPECT_TRUE(QFile::exists(cut.fileName()));
}

TEST(FrmStorePrjTest, AFailedTransferDisablesTheDeviceButtons) {
    for (int button : {0, 3}) {
        SCOPED_TRACE(button);
        StoreEnv e;
        e.writePreset("Bass Horn 2.fpo", 0);
        e.form.Form_Load();
        e.pick("Bass Horn 2.fpo", 0);
        e.st.ReportCommErrors = true;
        e.device->silent = true;
        e.form.Command1[button].Click();

        EXPECT_EQ(e.bus.frames.size(), 5u); // the first frame's five sends, nothing after
        EXPECT_FALSE(e.form.Command1[0].Enabled || e.form.Command1[3].Enabled);
        EXPECT_FALSE(e.form.ProgressBar1.Visible);
        EXPECT_EQ(e.form.MousePointer, 0);
        EXPECT_FALSE(e.msg.texts().contains("Factory preset stored, total file = 1"));
        EXPECT_TRUE(e.st.DeviceDisconnected[StoreEnv::kDev]);
    }
}

TEST(FrmStorePrjTest, ViewPassesClicksAndShowsMarks) {
    StoreEnv e;
    e.writePreset("Bass Horn 2.fpo", 0);
    e.form.Form_Load();
    FrmStorePrjView view(e.form);
    const auto lists = view.findChildren<QListWidget*>();
    ASSERT_EQ(lists.size(), 2);
    QListWidget* files = lists[0]->count() == 1 ? lists[0] : lists[1];
    QListWidget* rows = files == lists[0] ? lists[1] : lists[0];
    ASSERT_EQ(rows->count(), 16);

    const auto click = [](QListWidget* w, int row, bool twice) {
        emit w->itemClicked(w->item(row));
        if (twice) emit w->itemDoubleClicked(w->item(row));
    };
    click(rows, 6, false);
    EXPECT_EQ(e.form.List1.listIndex(), 6);
    click(files, 0, true);
    EXPECT_EQ(e.form.List1.items[6], "07 - Bass Horn 2");
    EXPECT_EQ(rows->item(6)->text(), "07 - Bass Horn 2");
    EXPECT_TRUE(e.form.List1.selected(6) && rows->item(6)->isSelected());
    click(rows, 6, false);
    EXPECT_FALSE(e.form.List1.selected(6) || rows->item(6)->isSelected());

    bool unloaded = false;
    e.form.setUnloadHook([&] { unloaded = true; });
    for (QPushButton* b : view.findChildren<QPushButton*>())
        if (b->text() == "Exit") b->click();
    EXPECT_TRUE(unloaded);
}
