#include "memories/FrmStorePrj.h"
#include "memories/ui/FrmStorePrjView.h"
#include "support/SimEnv.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>
#include <set>

namespace {

// A key pressed and released on the widget.
void Key(QWidget* w, int key, Qt::KeyboardModifiers mods = Qt::NoModifier, const QString& text = {}) {
    QKeyEvent press(QEvent::KeyPress, key, mods, text);
    QApplication::sendEvent(w, &press);
    QKeyEvent release(QEvent::KeyRelease, key, mods, text);
    QApplication::sendEvent(w, &release);
}

// A left-button mouse event at a point of the widget.
void Mouse(QWidget* w, QEvent::Type type, QPoint at) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, at, w->mapToGlobal(at), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(w, &e);
}

// The factory preset dialog of a first-model device at bus address 5, loaded, with output presets
// "Bass Horn 2.fpo" (bytes 48 + i hold 48 + i), "Monitor.fpo" (49 + i) and a short one.
struct StoreEnv : SimEnv {
    static constexpr int kDev = 5;
    QTemporaryDir dir;
    SimDevice* device = &bus.addDevice(kDev);
    FrmStorePrj form{st, link, msg, dialogs};

    StoreEnv() {
        st.AppFolder = dir.path();
        st.ModelCode[kDev] = 1;
        st.SlotTable[0] = {-1, kDev, 0};
        st.CurSlot = 0;
        QDir(dir.path()).mkpath("Kestrino/PresetOutput");
        for (auto [name, seed, size] : {std::tuple{"Bass Horn 2.fpo", 0, 1059},
                                        {"Monitor.fpo", 1, 1059},
                                        {"short.fpo", 0, 1058},
                                        {"program.qrx", 0, 1059}}) {
            QByteArray b(size, '\0');
            for (int i = 48; i < 208; ++i)
                b[i] = static_cast<char>(i + seed);
            QFile f(presets() + "/" + name);
            EXPECT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(b);
        }
        form.Form_Load();
    }
    QString presets() const { return dir.path() + "/Kestrino/PresetOutput"; }
    void pick(const QString& file, int row) {
        form.File1.setListIndex(static_cast<int>(form.File1.items.indexOf(file)));
        form.List1.clickRow(row);
        form.File1.DblClick();
    }
    const SpkRec& rec(int s) const { return st.SpkLib[static_cast<size_t>(s)]; }
};

} // namespace

TEST(FrmStorePrjTest, TakesADoubleClickedPresetIntoTheCurrentRow) {
    StoreEnv e;
    EXPECT_EQ(e.form.File1.items, (QStringList{"Bass Horn 2.fpo", "Monitor.fpo", "short.fpo"}));
    e.pick("Bass Horn 2.fpo", 2);
    e.pick("short.fpo", 4);

    EXPECT_EQ(e.form.List1.items[2], "03 - Bass Horn 2");
    EXPECT_TRUE(e.form.List1.selected(2));
    EXPECT_EQ(e.rec(2).Name, "Bass Horn 2");
    for (int i = 0; i < 160; ++i)
        ASSERT_EQ(e.rec(2).Data[static_cast<size_t>(i)], 48 + i) << i;
    EXPECT_EQ(e.form.List1.items[4], "05 - Vacia");
    EXPECT_EQ(e.msg.texts(), (QStringList{"File incorrecto"}));

    // A missing model folder lists nothing; demo mode disables the device buttons.
    e.st.ModelCode[StoreEnv::kDev] = 2;
    e.st.DemoMode = true;
    e.form.Form_Load();
    EXPECT_TRUE(e.form.File1.items.isEmpty());
    EXPECT_FALSE(e.form.Command1[0].Enabled || e.form.Command1[3].Enabled);
}

TEST(FrmStorePrjTest, SavesMarkedUsedRowsToTheDeviceAndReadsThemBack) {
    StoreEnv e;
    e.pick("Bass Horn 2.fpo", 2);
    e.pick("Monitor.fpo", 9);
    e.form.List1.clickRow(5); // marked but empty
    e.form.Command1[3].Click();

    EXPECT_EQ(e.bus.framesWithCommand(CmdWrite4).size(), 88u);
    EXPECT_EQ(e.form.ProgressBar1.Max, 133);
    EXPECT_EQ(e.msg.texts().last(), "Factory preset stored, total file = 2");
    EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(&e.device->mem[1280 + 176 * 9]), 16),
              "Monitor        #");
    EXPECT_EQ(e.device->mem[1280 + 176 * 5 + 15], 0);
    EXPECT_EQ(e.st.PresetName[StoreEnv::kDev][9], "Monitor        ");

    e.form.Form_Load();
    e.form.Command1[0].Click();
    EXPECT_EQ(e.bus.framesWithCommand(CmdRead8).size(), 16u * 2 + 2 * 20);
    EXPECT_EQ(e.form.ProgressBar1.value(), 352);
    for (int s = 0; s < 16; ++s)
        EXPECT_EQ(e.form.List1.selected(s), s == 2 || s == 9) << s;
    EXPECT_EQ(e.form.List1.items[9], "10 - Monitor        ");
    EXPECT_EQ(e.rec(7).Name, "Vacia");
    for (int i = 0; i < 160; ++i) {
        ASSERT_EQ(e.rec(9).Data[static_cast<size_t>(i)], 49 + i) << i;
        ASSERT_EQ(e.rec(7).Data[static_cast<size_t>(i)],
                  e.st.Tables.DefaultProgram[static_cast<size_t>(48 + i)]);
    }
}

TEST(FrmStorePrjTest, ListFileKeepsOnlyMarkedRowsAndRefusesACutFile) {
    StoreEnv e;
    for (int row : {1, 5, 8})
        e.pick("Bass Horn 2.fpo", row);
    e.form.List1.clickRow(8); // unmarked again
    const QString file = e.presets() + "/factory";
    e.dialogs.fileAnswers = {file, file + ".y12"};
    e.form.Command1[2].Click();
    e.form.Form_Load();
    e.form.Command1[1].Click();
    for (int s = 0; s < 16; ++s)
        EXPECT_EQ(e.rec(s).used() && e.form.List1.selected(s), s == 1 || s == 5) << s;
    EXPECT_EQ(e.rec(8).Name, "Bass Horn 2"); // saved empty, with its old name
    EXPECT_EQ(e.dialogs.fileRequests.at(0).request.filterName, "file Speaker (*.y12)");

    QFile saved(file + ".y12");
    ASSERT_TRUE(saved.open(QIODevice::ReadWrite));
    saved.resize(saved.size() - 1);
    saved.close();
    const auto before = e.st.SpkLib;
    e.dialogs.fileAnswers = {saved.fileName(), e.presets() + "/gone.y12"};
    e.form.Command1[1].Click();
    e.form.Command1[1].Click();
    EXPECT_EQ(e.st.SpkLib, before);
    EXPECT_EQ(e.msg.texts(), (QStringList{"File incorrecto", " File not found. Try again."}));
}

TEST(FrmStorePrjTest, AFailedTransferDisablesTheDeviceButtons) {
    for (int button : {0, 3}) {
        SCOPED_TRACE(button);
        StoreEnv e;
        e.pick("Bass Horn 2.fpo", 0);
        e.st.ReportCommErrors = true;
        e.device->silent = true;
        e.form.Command1[static_cast<size_t>(button)].Click();

        EXPECT_EQ(e.bus.frames.size(), 5u); // the first frame's five sends, nothing after
        EXPECT_FALSE(e.form.Command1[0].Enabled || e.form.Command1[3].Enabled);
        EXPECT_FALSE(e.msg.texts().contains("Factory preset stored, total file = 1"));
    }
}

TEST(FrmStorePrjViewTest, WhatTheListShowsMarkedIsWhatItsButtonsSave) {
    StoreEnv e;
    FrmStorePrjView view(e.form);
    view.show();
    QListWidget* files = nullptr;
    QListWidget* list = nullptr;
    for (auto* w : view.findChildren<QListWidget*>())
        (w->count() == 16 ? list : files) = w;
    ASSERT_TRUE(files && list);
    QPushButton* saveToPC = nullptr;
    for (auto* b : view.findChildren<QPushButton*>())
        if (b->text() == "Save List to PC") saveToPC = b;
    ASSERT_NE(saveToPC, nullptr);

    const auto bassHorn = [&] { // the output preset double-clicked into the highlighted row
        const QPoint at = files->visualItemRect(files->item(0)).center();
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                          QEvent::MouseButtonRelease})
            Mouse(files->viewport(), type, at);
    };
    const auto click = [&](int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        Mouse(list->viewport(), QEvent::MouseButtonPress, at);
        Mouse(list->viewport(), QEvent::MouseButtonRelease, at);
    };
    // Presses a key n times on the list.
    const auto keys = [&](int n, int k, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        return [=] {
            for (int i = 0; i < n; ++i)
                Key(list, k, mods, k == Qt::Key_Space ? " " : k == Qt::Key_A ? "\x01" : "");
        };
    };
    std::set<int> all;
    for (int r = 0; r < 16; ++r)
        all.insert(r);
    const auto allBut = [&](std::set<int> out) {
        std::set<int> rest;
        std::set_difference(all.begin(), all.end(), out.begin(), out.end(), std::inserter(rest, rest.end()));
        return rest;
    };
    const struct {
        const char* step;
        std::function<void()> act;
        std::set<int> marked;
        int current;
    } steps[] = {
        {"Down x3", keys(3, Qt::Key_Down), {}, 2},
        {"preset into row 3", bassHorn, {2}, 2},
        {"Space", keys(1, Qt::Key_Space), {}, 2},
        {"Shift+Down x2", keys(2, Qt::Key_Down, Qt::ShiftModifier), {}, 4},
        {"preset into row 5", bassHorn, {4}, 4},
        {"click row 8", [&] { click(7); }, {4, 7}, 7},
        {"click row 8 again", [&] { click(7); }, {4}, 7},
        {"Ctrl+A", keys(1, Qt::Key_A, Qt::ControlModifier), all, 7},
        {"Up x3", keys(3, Qt::Key_Up), all, 4},
        {"Space", keys(1, Qt::Key_Space), allBut({4}), 4},
        {"click row 3", [&] { click(2); }, allBut({2, 4}), 2},
        {"Space", keys(1, Qt::Key_Space), allBut({4}), 2},
    };
    for (const auto& s : steps) {
        s.act();
        std::set<int> form, shown;
        for (int r = 0; r < 16; ++r) {
            if (e.form.List1.selected(r)) form.insert(r);
            if (list->item(r)->isSelected()) shown.insert(r);
        }
        EXPECT_EQ(form, s.marked) << s.step;
        EXPECT_EQ(shown, s.marked) << s.step;
        EXPECT_EQ(e.form.List1.listIndex(), s.current) << s.step;
        EXPECT_EQ(list->currentRow(), s.current) << s.step;
    }
    EXPECT_EQ(e.form.List1.items[4], "05 - Bass Horn 2");

    // Row 3 was marked with Space, row 5 unmarked with it: the file says so.
    const QString file = e.presets() + "/factory.y12";
    e.dialogs.fileAnswers = {file};
    saveToPC->click();
    QFile saved(file);
    ASSERT_TRUE(saved.open(QIODevice::ReadOnly));
    const std::optional<SpeakerList> back = SpeakerListFromBytes(saved.readAll());
    ASSERT_TRUE(back.has_value());
    for (int s = 0; s < 16; ++s)
        EXPECT_EQ((*back)[static_cast<size_t>(s)].Status, s == 2 ? SpkRec::kUsed : SpkRec::kEmpty) << s;
}

namespace {

// The dialog's real view, shown, with its two lists.
struct StoreViewEnv : StoreEnv {
    FrmStorePrjView view{form};
    QListWidget* files = nullptr;
    QListWidget* list = nullptr;

    StoreViewEnv() {
        view.show();
        for (auto* w : view.findChildren<QListWidget*>())
            (w->count() == 16 ? list : files) = w;
    }
    void click(int row) {
        const QPoint at = list->visualItemRect(list->item(row)).center();
        Mouse(list->viewport(), QEvent::MouseButtonPress, at);
        Mouse(list->viewport(), QEvent::MouseButtonRelease, at);
    }
    // "Bass Horn 2.fpo" double-clicked in the file list.
    void bassHorn() {
        const QPoint at = files->visualItemRect(files->item(0)).center();
        for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                          QEvent::MouseButtonRelease})
            Mouse(files->viewport(), type, at);
    }
    void press(const QString& caption) {
        for (auto* b : view.findChildren<QPushButton*>())
            if (b->text() == caption) b->click();
    }
    // The rows marked in the form, or shown marked in the list.
    std::set<int> marks(bool shown) const {
        std::set<int> m;
        for (int r = 0; r < 16; ++r)
            if (shown ? list->item(r)->isSelected() : form.List1.selected(r)) m.insert(r);
        return m;
    }
};

} // namespace

TEST(FrmStorePrjViewTest, AfterAReloadAClickOnTheRowHighlightedBeforeMakesItCurrent) {
    // Both reloads read sixteen empty rows, as the list showed them before.
    for (const char* reload : {"Load List from PC", "Load List from Device"}) {
        SCOPED_TRACE(reload);
        StoreViewEnv e;
        ASSERT_TRUE(e.files && e.list);
        const QString file = e.presets() + "/empty.y12";
        ASSERT_TRUE(WriteWholeFile(file, SpeakerListToBytes(SpeakerList{})));
        e.dialogs.fileAnswers = {file};
        e.click(2);
        e.press(reload);
        EXPECT_EQ(e.form.List1.listIndex(), -1);
        EXPECT_EQ(e.list->currentRow(), -1);

        e.click(2);
        e.bassHorn();
        EXPECT_TRUE(e.msg.texts().isEmpty()) << e.msg.texts().join('|').toStdString();
        EXPECT_EQ(e.form.List1.items[2], "03 - Bass Horn 2");
    }
}

TEST(FrmStorePrjViewTest, MarksShownFromTheFormDoNotComeBackAsTheOperators) {
    // A preset taken into row 5 renames it, so the list's rows are shown anew: the marks and the
    // current row the form holds are what the list shows, and the form keeps them.
    StoreViewEnv e;
    ASSERT_TRUE(e.files && e.list);
    e.click(1);
    e.click(4);
    e.bassHorn();
    EXPECT_EQ(e.form.List1.items[4], "05 - Bass Horn 2");
    EXPECT_EQ(e.marks(false), (std::set<int>{1, 4}));
    EXPECT_EQ(e.marks(true), (std::set<int>{1, 4}));
    EXPECT_EQ(e.form.List1.listIndex(), 4);
    EXPECT_EQ(e.list->currentRow(), 4);
}
