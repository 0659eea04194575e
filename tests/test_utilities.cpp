// The editing window's top bar, unit lock and device rename, on the simulated bus: windows opened
// from the device list, the graph and the program actions recorded.
#include "support/RecordingFakes.h"
#include "support/SimEnv.h"

#include "bus/FrmNameDevice.h"
#include "bus/FrmSearchNet.h"
#include "bus/ui/FrmNameDeviceView.h"
#include "window/EditingWindowParts.h"
#include "window/FrmVm.h"
#include "window/ui/FrmCtrlView.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

struct BarEnv : SimEnv {
    static constexpr int kDev = 5;
    RecordingGraph graph;
    RecordingLinked linked;
    RecordingActions actions;
    EditingWindowParts parts{st, link, sv, linked, &graph, &actions};
    FrmSearchNet list{st, sv, link};
    int mainPointer = 0;
    SimDevice& device;

    BarEnv() : device(bus.addDevice(kDev, QStringLiteral("Stage"))) {
        graph.st = &st;
        actions.st = &st;
        list.setEditingWindows(&parts.service);
        link.setFailureSink(&list);
        parts.context.deviceList = &list;
        parts.context.mainMousePointer = &mainPointer;
    }
    // Lists the device, opens its window from the list and forgets the opening's traffic.
    FrmCtrl& open() {
        listDevices({kDev});
        list.Form_Load();
        list.Timer1.Tick();
        EXPECT_TRUE(list.OpenDeviceWindow(0));
        bus.frames.clear();
        graph.calls.clear();
        return parts.windows.CtrlWindow(0);
    }
};

Frame13 WriteName(int address, uint8_t code) {
    return DeviceFrameFor(BarEnv::kDev, CmdWriteByte,
                          Data8{0, static_cast<uint8_t>(address), 0, 0, code, 0, 0, 0});
}

} // namespace

// ---- Buttons ----

TEST(TopBarTest, EachButtonCallsItsPlugPointOnceWhileBusyAndButtons5And10Nothing) {
    BarEnv env;
    FrmCtrl& w = env.open();
    env.st.SuppressEvents = true; // the bar's buttons act regardless
    for (CommandButton* b : {&w.Command2[0], &w.Command2[1], &w.Command2[2], &w.Command2[5], &w.Command2[9],
                             &w.Command2[10], &w.Command2[11], &w.Command11, &w.Command16[0], &w.Command16[1],
                             &w.Command17, &w.Command18, &w.Command19}) {
        env.st.CurSlot = 3; // another window was current: the button makes its own current
        b->Click();
        EXPECT_EQ(env.st.CurSlot, 0);
        EXPECT_FALSE(env.st.EditBusy);
    }
    EXPECT_EQ(env.actions.calls,
              (std::vector<std::string>{"openfile", "savefile", "delete", "store", "read", "copy",
                                        "savepreset", "openpreset", "storeprj", "type", "speakerfile"}));
    EXPECT_EQ(env.actions.editBusyAtCall, std::vector<bool>(11, true));
    EXPECT_EQ(env.st.CopySource, BarEnv::kDev);
    EXPECT_TRUE(env.bus.frames.empty() && env.dialogs.shown.empty() && env.msg.shown.empty());

    // In demo mode "Copy Data" only says it is not allowed, under the program's own title.
    env.st.DemoMode = true;
    w.Command11.Click();
    EXPECT_EQ(env.actions.calls.size(), 11u);
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, "Funcion no permitida en modo demo");
    EXPECT_EQ(env.msg.shown[0].title, "QRX");
    EXPECT_EQ(env.msg.shown[0].icon, MsgIcon::Information);
}

TEST(TopBarTest, TheSameSectionSelectorTwiceRedrawsOnce) {
    BarEnv env;
    FrmCtrl& w = env.open();
    for (int i : {1, 1, 0})
        w.Command15[static_cast<size_t>(i)].Click();
    EXPECT_EQ(env.graph.calls, (std::vector<std::string>{"redraw 1", "redraw 0"}));
    EXPECT_EQ(w.FrontSection, 0);
    EXPECT_EQ(env.st.SelectedSection[BarEnv::kDev], 0);
}

TEST(TopBarTest, SpeakerLibraryBarStepsOrRefusal) {
    for (int records : {3, 0}) {
        BarEnv env;
        FrmCtrl& w = env.open();
        env.actions.speakerRecords = records;
        std::vector<int> seen; // bar max and value, window and main pointer, at the download
        env.actions.download = [&](ProgressBar& bar) {
            seen = {bar.Max, bar.value(), w.MousePointer, env.mainPointer};
        };
        w.Command19.Click();
        if (records == 3) {
            EXPECT_EQ(seen, (std::vector<int>{133, 0, 13, 13}));
            ASSERT_EQ(env.dialogs.ShownCount<FrmVm>(), 1);
            EXPECT_FALSE(env.dialogs.shown[0].modal);
            EXPECT_TRUE(env.dialogs.shown[0].unloaded);
            EXPECT_TRUE(env.msg.shown.empty());
        } else {
            EXPECT_EQ(env.actions.calls, std::vector<std::string>{"speakerfile"});
            ASSERT_EQ(env.msg.shown.size(), 1u);
            EXPECT_EQ(env.msg.shown[0].text, "File incorrecto");
            EXPECT_EQ(env.msg.shown[0].title, "Firmware Librerias");
        }
        EXPECT_EQ(w.MousePointer + env.mainPointer, 0) << records;
    }
}

// ---- Unit lock ----

TEST(UnitLockTest, AFailedLockWriteKeepsRecordImageAndBox) {
    for (bool reported : {true, false}) {
        BarEnv env;
        FrmCtrl& w = env.open();
        env.st.ReportCommErrors = reported;
        env.device.silent = true;
        w.Check10.setValue(1);
        EXPECT_EQ(env.st.DevRecs[BarEnv::kDev].UnitLock, 0.0) << reported;
        EXPECT_EQ(env.st.DevProgs[BarEnv::kDev].Ext[23], 0) << reported;
        EXPECT_EQ(w.Check10.value(), 0) << reported;
        EXPECT_TRUE(w.Frame25[0].Enabled) << reported; // the lock was not applied
        EXPECT_EQ(w.loaded(), !reported);              // a reported failure closed the window
    }
}

// ---- Device rename ----

TEST(RenameTest, NameABIsWrittenCommittedAndListedOnlyWhenTheDeviceAnswersAll) {
    for (bool answers : {true, false}) {
        BarEnv env;
        FrmCtrl& w = env.open();
        env.st.LinkOn[0] = true;
        const QString before = env.st.DeviceName[BarEnv::kDev];
        if (!answers) env.device.silentAfter = env.device.answered + 8; // the commit goes unanswered
        bool busy = false;
        int pointer = -1;
        env.dialogs.Script<FrmNameDevice>([&](FrmNameDevice& n) {
            busy = env.st.EditBusy;
            n.Text1.Text = QStringLiteral(" AB ");
            n.Command1_Click(0);
            pointer = n.MousePointer;
        });
        w.Command2[6].Click();

        std::vector<Frame13> want;
        for (int k = 0; k < 8; ++k)
            want.push_back(WriteName(32 + k, k == 0 ? 1 : k == 1 ? 2 : 0xFF));
        for (int i = 0; i < (answers ? 1 : 5); ++i) // a silent device gets five sends
            want.push_back(DeviceFrameFor(BarEnv::kDev, CmdCommitName, Data8{}));
        EXPECT_EQ(env.bus.frames, want) << answers;
        EXPECT_TRUE(busy);
        EXPECT_EQ(pointer, 0);
        EXPECT_TRUE(env.dialogs.shown[0].modal && env.dialogs.shown[0].unloaded);
        EXPECT_EQ(w.loaded(), answers);
        EXPECT_EQ(env.st.DeviceName[BarEnv::kDev], answers ? QStringLiteral("AB      ") : before);
        if (!answers) continue;
        const FlexGrid& g = env.list.MSFlexGrid1;
        EXPECT_EQ(QStringList({g.textMatrix(0, 0), g.textMatrix(0, 1), g.textMatrix(0, 2)}),
                  QStringList({"05", "AB      ", "OFF"}));
        EXPECT_FALSE(env.st.LinkOn[0]);
    }
}

TEST(RenameTest, RefusedKeysShowTheHelpAndBecomeABlank) {
    BarEnv env;
    FrmNameDevice n(env.st, env.link, env.msg, &env.list);
    for (int key : std::initializer_list<int>{'[', '{', 'Z', 'z', '"', 8}) {
        int k = key;
        n.Text1_KeyPress(k);
        EXPECT_EQ(k, key == '[' || key == '{' ? ' ' : key);
    }
    ASSERT_EQ(env.msg.shown.size(), 2u);
    EXPECT_EQ(env.msg.shown[0].text,
              "Simbolo [ no permitido\r\n\r\nPor favor utilice los siguientes simbolos\r\n"
              "Espacio, de A(a) a la Z(z), del 0 al 9, - _ / * & + \" . ,");
    EXPECT_EQ(env.msg.shown[1].title, "Nombre de equipo");
}

TEST(RenameViewTest, PasteKeysReachNoTextButTheKeyProcedure) {
    BarEnv env;
    FrmNameDevice n(env.st, env.link, env.msg, &env.list);
    n.Text1.Text = QStringLiteral("AB");
    FrmNameDeviceView view(n);
    QApplication::clipboard()->setText(QStringLiteral("[x]"));
    view.nameField()->setCursorPosition(2);
    QKeyEvent shiftInsert(QEvent::KeyPress, Qt::Key_Insert, Qt::ShiftModifier);
    QKeyEvent ctrlV(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16"));
    QApplication::sendEvent(view.nameField(), &shiftInsert);
    QApplication::sendEvent(view.nameField(), &ctrlV); // a typed control character: refused
    EXPECT_EQ(n.Text1.Text, "AB ");
    EXPECT_FALSE(view.nameField()->acceptDrops());
}

TEST(RenameViewTest, TextOfSeveralCharactersGoesThroughTheKeyProcedureOneCharacterAtATime) {
    const QString emoji = QString::fromUcs4(U"\U0001F600");
    const QString refused = QStringLiteral(" no permitido");
    struct Case {
        bool rename;      // the rename dialog's name, else the input gain field
        bool inputMethod; // an input method's commit, else one key event carrying the text
        QString text;
        QString field;        // what the field shows afterwards
        QStringList messages; // the first line of each message shown
    };
    const Case cases[] = {
        {true,
         false,
         QStringLiteral("[]"),
         QStringLiteral("AB  "),
         {"Simbolo [" + refused, "Simbolo ]" + refused}},
        {true, false, emoji, QStringLiteral("AB "), {"Simbolo " + emoji + refused}},
        {true,
         true,
         QStringLiteral("\u00e9"),
         QStringLiteral("AB "),
         {"Simbolo \u00e9" + refused}}, // compose
        {true,
         true,
         QStringLiteral("C") + emoji + QStringLiteral("d"),
         QStringLiteral("ABC d"),
         {"Simbolo " + emoji + refused}},
        {false, true, QStringLiteral("1x"), QStringLiteral("1?"), {"  Valor Incorrecto"}},
        {false, false, emoji, QStringLiteral("?"), {"  Valor Incorrecto"}},
    };
    for (const Case& c : cases) {
        BarEnv env;
        FrmCtrl& w = env.open();
        FrmCtrlView ctrlView(w);
        FrmNameDevice n(env.st, env.link, env.msg, &env.list);
        n.Text1.Text = QStringLiteral("AB");
        FrmNameDeviceView nameView(n);
        QLineEdit* field =
            c.rename ? nameView.nameField() : ctrlView.findChild<QLineEdit*>(QStringLiteral("Text1_0"));
        ASSERT_TRUE(field);
        field->setText(c.rename ? "AB" : "");
        field->end(false);
        if (c.inputMethod) {
            QInputMethodEvent commit;
            commit.setCommitString(c.text);
            QApplication::sendEvent(field, &commit);
        } else {
            QTest::sendKeyEvent(QTest::Press, field, Qt::Key_unknown, c.text, Qt::NoModifier);
        }
        EXPECT_EQ(field->text(), c.field) << c.text.toStdString();
        EXPECT_EQ((c.rename ? n.Text1 : w.Text1[0]).Text, c.field) << c.text.toStdString();
        QStringList firstLines;
        for (const QString& t : env.msg.texts())
            firstLines << t.section(QStringLiteral("\r\n"), 0, 0);
        EXPECT_EQ(firstLines, c.messages) << c.text.toStdString();
        EXPECT_TRUE(env.bus.frames.empty());
    }

    // A name set by code with a character outside the basic plane: eight characters are coded,
    // that one as a blank, and the name's length counts it once.
    BarEnv env;
    env.open();
    FrmNameDevice n(env.st, env.link, env.msg, &env.list);
    n.Form_Load();
    n.Text1.Text = QStringLiteral("A") + emoji + QStringLiteral("B");
    n.Command1_Click(0);
    std::vector<Frame13> want;
    const uint8_t codes[] = {1, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF};
    for (int k = 0; k < 8; ++k)
        want.push_back(WriteName(32 + k, codes[k]));
    want.push_back(DeviceFrameFor(BarEnv::kDev, CmdCommitName, Data8{}));
    EXPECT_EQ(env.bus.frames, want);
    EXPECT_EQ(env.st.DeviceName[BarEnv::kDev], QStringLiteral("A") + emoji + QStringLiteral("B     "));
}
