#include "support/SimEnv.h"

#include "bus/FrmSearchNet.h"
#include "bus/Speaker.h"
#include "bus/ui/FrmSearchNetView.h"
#include "platform/ui/QtDialogService.h"

#include <QCoreApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QTableWidget>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Records which slots the list asked to show; can refuse.
struct RecordingOpener : EditingWindowOpener {
    std::vector<int> shown;
    std::vector<int> closed;
    std::vector<int> raised;
    bool accept = true;
    bool ShowEditingWindow(int slot) override {
        shown.push_back(slot);
        return accept;
    }
    void CloseDeviceWindow(int busAddress) override { closed.push_back(busAddress); }
    void RaiseDeviceWindow(int busAddress) override { raised.push_back(busAddress); }
};

struct ListEnv : SimEnv {
    FrmSearchNet list{st, sv, link};
    RecordingOpener opener;
    ListEnv() {
        list.setEditingWindows(&opener);
        link.setFailureSink(&list);
    }
    // Lists the addresses, loads the list and runs its fill.
    void fill(const std::vector<int>& addrs) {
        listDevices(addrs);
        list.Form_Load();
        list.Timer1.Tick();
    }
    size_t framesOf(uint8_t cmd) const { return bus.framesWithCommand(cmd).size(); }
};
} // namespace

// ---- Fill ----

TEST(DeviceListFillTest, NamesAndCellsFromTheDevices) {
    ListEnv env;
    env.bus.addDevice(5, QStringLiteral("Stage"));
    env.bus.addDevice(38, QStringLiteral("Sub-Left"));
    env.fill({5, 38});

    EXPECT_EQ(env.list.MSFlexGrid1.rows(), 2);
    EXPECT_EQ(env.list.MSFlexGrid2.textMatrix(0, 1), "Equipo");
    EXPECT_EQ(env.list.MSFlexGrid1.Width, 3000);
    const char* want[2][3] = {{"ID:05", "Stage   ", "OFF"}, {"ID:05", "Sub-Left", "OFF"}};
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c)
            EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(r, c), want[r][c]) << r << "," << c;
    EXPECT_EQ(env.st.DeviceName[38], "Sub-Left");
    EXPECT_EQ(env.st.ModelCode[5], 1);
    EXPECT_EQ(env.st.ModelCode[38], 2);
    EXPECT_EQ(env.st.DeviceRow[38], 1);
    EXPECT_FALSE(env.st.DeviceDisconnected[5]);
    EXPECT_EQ(env.framesOf(CmdRecallMemory), 2u); // each device's image was read
    EXPECT_EQ(env.framesOf(CmdReadByte), 16u);
    EXPECT_FALSE(env.list.Label1.Visible);
    EXPECT_FALSE(env.list.Timer1.Enabled);
    EXPECT_EQ(env.st.OpenWindowCount, -1);
}

TEST(DeviceListFillTest, DemoNamesWithoutFrames) {
    ListEnv env;
    env.st.DemoMode = true;
    env.fill({3, 40});
    EXPECT_TRUE(env.bus.frames.empty());
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(0, 1), "Kestrino Demo     ");
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(1, 1), "Valdoran Demo     ");
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(1, 0), "ID:07");
}

TEST(DeviceListFillTest, SilentDevice) {
    // Not reported (no window loaded yet): the row shows the name read so far, the device counts
    // as connected, and the fill goes on with the next row.
    ListEnv env;
    env.bus.addDevice(2, QStringLiteral("Gone")).silent = true;
    env.bus.addDevice(3, QStringLiteral("Here"));
    env.bus.addDevice(4, QStringLiteral("Cutoff")).silentAfter = 3;
    env.st.DeviceName[2] = QStringLiteral("Old");
    env.fill({2, 3, 4});
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(0, 1), "");
    EXPECT_FALSE(env.st.DeviceDisconnected[2]);
    EXPECT_EQ(env.st.DeviceName[2], ""); // emptied before the read; nothing of a stale reply
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(1, 1), "Here    ");
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(2, 1), "Cut");
    EXPECT_FALSE(env.list.Label1.Visible);

    // Reported: the fill ends at the failing row; later rows stay empty, the notice stays.
    ListEnv rep;
    rep.st.ReportCommErrors = true;
    rep.bus.addDevice(2).silent = true;
    rep.bus.addDevice(3);
    rep.fill({2, 3});
    EXPECT_EQ(rep.list.MSFlexGrid1.textMatrix(0, 1), "Disconnected");
    EXPECT_EQ(rep.list.MSFlexGrid1.textMatrix(1, 0), "");
    EXPECT_TRUE(rep.list.Label1.Visible);
    EXPECT_FALSE(rep.list.Timer1.Enabled);
}

// ---- Link column ----

TEST(DeviceListLinkTest, ToggleOnlyWithTwoRowsOrMore) {
    ListEnv env;
    env.st.DemoMode = true;
    env.fill({1, 2});
    env.list.MSFlexGrid1.Row = 1;
    env.list.MSFlexGrid1.Col = 2;
    env.list.OpenOrLinkDevice();
    EXPECT_TRUE(env.st.LinkOn[1]);
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(1, 2), "ON");
    EXPECT_EQ(env.list.MSFlexGrid1.cellBackColor(1, 2), RGBValue(255, 0, 0));
    env.list.OpenOrLinkDevice();
    EXPECT_FALSE(env.st.LinkOn[1]);
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(1, 2), "OFF");
    EXPECT_EQ(env.list.MSFlexGrid1.cellBackColor(1, 2), RGBValue(255, 255, 255));
    EXPECT_TRUE(env.opener.shown.empty());

    ListEnv one;
    one.st.DemoMode = true;
    one.fill({1});
    one.list.MSFlexGrid1.Row = 0;
    one.list.MSFlexGrid1.Col = 2;
    one.list.OpenOrLinkDevice();
    EXPECT_FALSE(one.st.LinkOn[0]);
    EXPECT_EQ(one.list.MSFlexGrid1.textMatrix(0, 2), "OFF");
    ASSERT_EQ(one.msg.shown.size(), 1u);
    EXPECT_EQ(one.msg.shown[0].text, "Funcion no activa,\r\ncuando esta conectado un solo equipo");
    EXPECT_EQ(one.msg.shown[0].title, "Talvenor");
    EXPECT_EQ(one.msg.shown[0].icon, MsgIcon::Information);
}

// ---- Opening a device ----

TEST(DeviceListOpenTest, SlotsCountAndReads) {
    ListEnv env;
    env.bus.addDevice(5, QStringLiteral("Stage")).version = {1, 2, 0};
    env.bus.addDevice(38, QStringLiteral("Sub"));
    env.fill({5, 38});
    env.bus.frames.clear();

    env.list.MSFlexGrid1.Row = 1;
    env.list.MSFlexGrid1.Col = 1;
    env.list.OpenOrLinkDevice();
    EXPECT_EQ(env.opener.shown, std::vector<int>{0});
    EXPECT_EQ(env.st.SlotTable[0].InUse, -1);
    EXPECT_EQ(env.st.SlotTable[0].Device, 38);
    EXPECT_EQ(env.st.SlotTable[0].Slot, 0);
    EXPECT_EQ(env.st.NextSlot, 0);
    EXPECT_EQ(env.st.OpenWindowCount, 0);
    EXPECT_FALSE(env.st.EditBusy);
    EXPECT_EQ(env.list.MousePointer, 0);
    EXPECT_FALSE(env.list.Label2.Visible);
    EXPECT_EQ(env.framesOf(CmdPing), 1u); // the connect ping
    EXPECT_EQ(env.framesOf(CmdReadVersion), 1u);

    ASSERT_TRUE(env.list.OpenDeviceWindow(0));
    EXPECT_EQ(env.st.SlotTable[1].Device, 5);
    EXPECT_EQ(env.st.NextSlot, 1);
    EXPECT_EQ(env.st.OpenWindowCount, 1);
    EXPECT_EQ(env.st.FirmwareVersion[5], "1.20");

    // Opening a device already open: the message, the count as before, no new slot.
    env.bus.frames.clear();
    EXPECT_FALSE(env.list.OpenDeviceWindow(1));
    EXPECT_EQ(env.msg.texts().back(), "La ventana esta abierta");
    EXPECT_EQ(env.msg.shown.back().title, "Edicion equipo");
    EXPECT_EQ(env.opener.raised, std::vector<int>{38}); // its window comes to the front
    EXPECT_EQ(env.st.OpenWindowCount, 1);
    EXPECT_EQ(env.st.SlotTable[2].InUse, 0);
    EXPECT_EQ(env.framesOf(CmdPing), 0u); // the connect ping passed once already

    // After its window closed the slot is free again and the first free slot is taken.
    env.st.SlotTable[0].InUse = 0;
    env.st.OpenWindowCount = 0;
    ASSERT_TRUE(env.list.OpenDeviceWindow(1));
    EXPECT_EQ(env.opener.shown.back(), 0);
    EXPECT_EQ(env.st.OpenWindowCount, 1);
}

TEST(DeviceListOpenTest, FailedOpeningsFreeTheSlot) {
    struct Case {
        const char* what;
        int silentAfter; // frames the device answers after the fill
        bool opener;
        bool acceptWindow;
    };
    const Case cases[] = {
        {"device silent during the read", 1 + 10, true, true},
        {"window not shown", -1, true, false},
        {"no editing windows", -1, false, true},
    };
    for (const auto& c : cases) {
        ListEnv env;
        SimDevice& d = env.bus.addDevice(4, QStringLiteral("Left"));
        env.fill({4});
        if (c.silentAfter >= 0) d.silentAfter = d.answered + c.silentAfter;
        env.opener.accept = c.acceptWindow;
        if (!c.opener) env.list.setEditingWindows(nullptr);
        env.st.FirmwareVersion[4] = QStringLiteral("0.99");
        EXPECT_FALSE(env.list.OpenDeviceWindow(0)) << c.what;
        EXPECT_EQ(env.st.SlotTable[0].InUse, 0) << c.what;
        EXPECT_EQ(env.st.OpenWindowCount, -1) << c.what;
        EXPECT_FALSE(env.st.EditBusy) << c.what;
        EXPECT_FALSE(env.list.Label2.Visible) << c.what;
        EXPECT_EQ(env.list.MousePointer, 0) << c.what;
        if (c.silentAfter >= 0) {
            EXPECT_TRUE(env.opener.shown.empty());
            EXPECT_TRUE(env.st.DeviceDisconnected[4]);
            EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(0, 1), "Disconnected");
        }
    }
}

TEST(DeviceListOpenTest, ConnectPingFailureTakesNoSlot) {
    ListEnv env;
    SimDevice& d = env.bus.addDevice(6, QStringLiteral("Fill"));
    env.fill({6});
    d.silent = true;
    EXPECT_FALSE(env.list.OpenDeviceWindow(0));
    ASSERT_FALSE(env.msg.shown.empty());
    EXPECT_EQ(env.msg.shown.back().text, " Problema de comunicacion equipo ID:6");
    EXPECT_FALSE(env.st.DevicePingOk[6]);
    EXPECT_EQ(env.st.SlotTable[0].InUse, 0);
    EXPECT_EQ(env.st.OpenWindowCount, -1);
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(0, 1), "Disconnected");
    EXPECT_TRUE(env.opener.shown.empty());
}

TEST(DeviceListOpenTest, Reconnection) {
    ListEnv env;
    SimDevice& d = env.bus.addDevice(5, QStringLiteral("Stage"));
    env.fill({5});
    env.list.MSFlexGrid1.setTextMatrix(0, 1, QStringLiteral("Disconnected"));
    env.st.DeviceDisconnected[5] = true;

    // No: nothing happens.
    env.msg.answers = {MsgAnswer::No};
    EXPECT_FALSE(env.list.OpenDeviceWindow(0));
    EXPECT_EQ(env.msg.shown.back().text, "      Desea conectar el equipo? ");
    EXPECT_EQ(env.msg.shown.back().title, "Conectar Equipo");
    EXPECT_TRUE(env.opener.shown.empty());

    // Yes, the device stays silent.
    d.silent = true;
    env.msg.answers = {MsgAnswer::Yes};
    EXPECT_FALSE(env.list.OpenDeviceWindow(0));
    EXPECT_EQ(env.msg.shown.back().text, "Equipo desconectado");
    EXPECT_EQ(env.msg.shown.back().title, "Problema de comunicacion");
    EXPECT_EQ(env.st.DevTable[5].Present, 0);
    EXPECT_TRUE(env.st.DeviceDisconnected[5]);

    // Yes, the device answers again: ID cell with the name, the name cell shows it again.
    d.silent = false;
    d.setName(QStringLiteral("Stage2"));
    env.msg.answers = {MsgAnswer::Yes};
    ASSERT_TRUE(env.list.OpenDeviceWindow(0));
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(0, 0), "ID:05 - Stage2  ");
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(0, 1), "Stage2  ");
    EXPECT_EQ(env.st.DevTable[5].Present, 1);
    EXPECT_FALSE(env.st.DeviceDisconnected[5]);
    EXPECT_EQ(env.opener.shown, std::vector<int>{0});
}

TEST(DeviceListOpenTest, AFailedReopenLeavesLaterSendsToTheFailurePath) {
    ListEnv env;
    env.bus.addDevice(3);
    env.fill({3, 5});
    env.st.DeviceDisconnected[5] = true;
    env.port.refuseOpen = true;
    const double t0 = env.clock.nowSeconds();
    EXPECT_FALSE(env.list.OpenDeviceWindow(1));
    EXPECT_NEAR(env.clock.nowSeconds() - t0, 0.2, 1e-9); // 100 ms before and after the open
    // An edit of device 3 (window open) is reported, not skipped as if it had been sent.
    env.st.ReportCommErrors = env.st.DeviceWindowOpen[3] = true;
    EXPECT_TRUE(env.link.SendFrame(3, CmdSetGain));
    EXPECT_EQ(env.msg.shown.back().text, " El sistema terminara la comunicacion con este equipo");
}

TEST(DeviceListOpenTest, OpensTheAddressTheRowListsAfterTheSingleDeviceDemoLoader) {
    QTemporaryDir dir;
    QByteArray file = DemoDeviceFileBytes({3});
    file[37 * 128] = 0; // the table entry at 37 holds another address
    QFile f(dir.path() + "/Speakers.cfg");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(file);
    f.close();

    ListEnv env;
    env.st.AppFolder = dir.path();
    env.st.DemoMode = true;
    env.st.ModelMask = 2;
    env.st.SingleDeviceAddress = 4;
    ASSERT_TRUE(LoadSpeakersCfgModel(env.st, env.msg));
    ASSERT_EQ(env.st.FoundList[0], 37);
    env.list.Form_Load();
    env.list.Timer1.Tick();
    ASSERT_TRUE(env.list.OpenDeviceWindow(0));
    EXPECT_EQ(env.st.SlotTable[0].Device, 37);
    EXPECT_EQ(env.st.FirmwareVersion[37], "1.03");
    EXPECT_TRUE(env.bus.frames.empty());
}

// ---- Closing and failures from the link ----

TEST(DeviceListTest, ClosesOnlyForTheRescan) {
    ListEnv env;
    bool cancel = false;
    env.list.Form_QueryUnload(cancel);
    EXPECT_TRUE(cancel);
    cancel = false;
    env.st.SearchingNewId = true;
    env.list.Form_QueryUnload(cancel);
    EXPECT_FALSE(cancel);
}

TEST(DeviceListTest, FailedExchangeShowsTheRowDisconnected) {
    ListEnv env;
    env.bus.addDevice(3);
    SimDevice& d = env.bus.addDevice(36);
    env.fill({3, 36});
    env.list.MSFlexGrid1.Row = 1;
    env.list.MSFlexGrid1.Col = 2;
    env.list.OpenOrLinkDevice();
    ASSERT_TRUE(env.st.LinkOn[1]);
    env.list.MSFlexGrid1.Row = 0;
    env.list.MSFlexGrid1.Col = 0;

    d.silent = true;
    env.st.ReportCommErrors = true;
    env.st.DeviceWindowOpen[36] = true;
    EXPECT_TRUE(env.link.SendFrame(36, CmdSetGain));
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(1, 0), "03");
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(1, 1), "Disconnected");
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(1, 2), "OFF");
    EXPECT_EQ(env.list.MSFlexGrid1.cellBackColor(1, 2), RGBValue(255, 255, 255));
    EXPECT_EQ(env.list.MSFlexGrid1.Row, 1);
    EXPECT_EQ(env.list.MSFlexGrid1.Col, 2);
    EXPECT_FALSE(env.st.LinkOn[1]);
    EXPECT_EQ(env.opener.closed, std::vector<int>{36});
    EXPECT_EQ(env.list.MSFlexGrid1.textMatrix(0, 1), env.st.DeviceName[3]); // other row untouched
}

TEST(DeviceListViewTest, DoubleClickReachesTheListAndCellsAreShown) {
    ListEnv env;
    env.st.DemoMode = true;
    env.listDevices({1, 2});
    env.list.Form_Load();
    FrmSearchNetView view(env.list);
    env.list.Timer1.Tick();
    view.sync();
    QTableWidget* grid = view.listGrid();
    ASSERT_EQ(grid->rowCount(), 2);
    EXPECT_EQ(grid->item(1, 1)->text(), "Kestrino Demo     ");
    emit grid->cellDoubleClicked(1, 2);
    EXPECT_TRUE(env.st.LinkOn[1]);
    EXPECT_EQ(grid->item(1, 2)->text(), "ON");
    EXPECT_EQ(grid->item(1, 2)->background().color(), QColor(255, 0, 0));
    emit grid->cellDoubleClicked(0, 1);
    EXPECT_EQ(env.opener.shown, std::vector<int>{0});
    EXPECT_EQ(env.st.SlotTable[0].Device, 1);
}

// ---- Shown in the main window's document area ----

TEST(DeviceListDocumentTest, ShownAfreshClosedOnlyForTheRescan) {
    ListEnv env;
    QtDialogService dialogs;
    Services sv{env.port, env.clock, env.events, env.msg, dialogs};
    FrmSearchNet list(env.st, sv, env.link);
    QMdiArea area;
    area.show();
    dialogs.Register<FrmSearchNet>(
        [&area](FrmSearchNet& f, QWidget*) { return DeviceListDocument(f, &area); });

    list.ShowDeviceList(QString());
    ASSERT_EQ(area.subWindowList().size(), 1);
    QPointer<QMdiSubWindow> first = area.subWindowList().constFirst();
    EXPECT_EQ(first->windowTitle(), "Lista ID");
    // The operator's close box is refused.
    first->close();
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(list.IsShown());

    // Shown again: the old list goes, the new one has the given caption.
    list.ShowDeviceList(QStringLiteral("Nueva lista"));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(first.isNull());
    ASSERT_EQ(area.subWindowList().size(), 1);
    EXPECT_EQ(area.subWindowList().constFirst()->windowTitle(), "Nueva lista");
    EXPECT_TRUE(list.IsShown());

    list.UnloadDeviceList();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(area.subWindowList().isEmpty());
    EXPECT_FALSE(list.IsShown());
    EXPECT_FALSE(env.st.SearchingNewId);
}
