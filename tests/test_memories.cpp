// The device memory dialogs on the simulated bus: storing, recalling and deleting a memory, the
// name filter, and the name field of the store dialog's view.
#include "common/Index.h"
#include "support/EqTestEnv.h"

#include "memories/FrmDeleteProg.h"
#include "memories/FrmRead.h"
#include "memories/FrmStore.h"
#include "memories/MemoryActions.h"
#include "memories/ui/FrmStoreView.h"
#include "memories/ui/MemoryListDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace {

const QString kEmptyName = QStringLiteral("Vacia           ");

// The editing window of slot 0 on a simulated device whose memories are all empty, with the
// program's memory procedures and the window's caption set.
struct MemoryEnv : EqTestEnv {
    MemoryActions actions{ctx};
    RecordingFailureSink sink;

    MemoryEnv() {
        st.ModelCode[kDev] = 1;
        for (int m = 0; m < 16; ++m) {
            rec().MemProg[U(m)] = 255;
            rec().MemName[U(m)] = kEmptyName;
        }
        std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(), img().Params.begin());
        w().Caption = QStringLiteral("before");
        link.setFailureSink(&sink);
    }
    bool unloaded() const { return !dialogs.shown.empty() && dialogs.shown.back().unloaded; }
};

// Types keys into the store dialog's name as its view does.
void TypeName(FrmStore& f, const QString& keys) {
    for (QChar c : keys) {
        int key = c.unicode();
        f.Text1_KeyPress(key);
        f.Text1.Text += QChar(key);
    }
}

struct NoWindow : MemoryWindow {
    void SetCaption(const QString&) override {}
    void LoadProgram() override {}
    void RedrawGraphs() override {}
};
} // namespace

// ---------------------------------------------------------------- store

TEST(MemoryStoreTest, StoringBarIntoMemoryThreeWritesTheHeaderStatusAndCommit) {
    MemoryEnv env;
    int progress = -1, progressMax = -1;
    bool barShown = true;
    env.dialogs.Script<FrmStore>([&](FrmStore& f) {
        EXPECT_EQ(f.List1.items[2], "03: " + kEmptyName);
        f.Combo1.setListIndex(2);
        EXPECT_EQ(f.List1.listIndex(), 2); // the list follows the memory chosen
        f.Text1.Text.clear();
        TypeName(f, QStringLiteral("BAR"));
        f.Command1_Click(1);
        progress = f.ProgressBar1.value();
        progressMax = f.ProgressBar1.Max;
        barShown = f.ProgressBar1.Visible;
    });
    env.actions.ShowStore();

    // The name area, the twelve header frames, the status, the memory in use and the commit.
    const ProgRecord& img = env.img();
    std::vector<Frame13> want;
    for (int k : {0, 4, 8, 12})
        want.push_back(FrameOf({0xF0, 0x65, 5, CmdWrite4, 0, k, img.Byte(32 + k), img.Byte(33 + k),
                                img.Byte(34 + k), img.Byte(35 + k), 0, 0, 0xF7}));
    for (int j = 0; j < 48; j += 4)
        want.push_back(FrameOf({0xF0, 0x65, 5, CmdWrite4, (384 + j) >> 8, (384 + j) & 0xFF, img.Byte(j),
                                img.Byte(j + 1), img.Byte(j + 2), img.Byte(j + 3), 0, 0, 0xF7}));
    want.push_back(FrameOf({0xF0, 0x65, 5, CmdWriteByte, 0x01, 0xAF, 0, 0, 2, 0, 0, 0, 0xF7}));
    want.push_back(FrameOf({0xF0, 0x65, 5, CmdWriteByte, 0x00, 0x1F, 0, 0, 2, 0, 0, 0, 0xF7}));
    want.push_back(FrameOf({0xF0, 0x65, 5, CmdStoreMemory, 0, 0, 0, 0, 0, 0, 0, 2, 0xF7}));
    EXPECT_EQ(env.bus.frames, want);
    ASSERT_EQ(env.bus.frames.size(), 19u);

    // "BAR" and two blanks in the device-name code, in the header and in the name mirror.
    for (int i = 0; i < 5; ++i) {
        const int code = i < 3 ? std::array{2, 1, 18}[U(i)] : 0;
        EXPECT_EQ(img.Byte(32 + i), code);
        EXPECT_EQ(img.Byte(209 + i), code);
    }
    for (int i = 0; i < 47; ++i)
        EXPECT_EQ(env.device->mem[U(384 + i)], img.Byte(i)) << i;
    EXPECT_EQ(env.device->mem[431], 2);
    EXPECT_EQ(env.device->mem[31], 2);

    EXPECT_EQ(progress, 13);
    EXPECT_EQ(progressMax, 20);
    EXPECT_FALSE(barShown);
    EXPECT_EQ(env.rec().MemName[2], "BAR  ");
    EXPECT_EQ(env.rec().MemProg[2], 2);
    EXPECT_EQ(env.st.LastProgNumber, 2);
    EXPECT_EQ(env.w().Caption, "ID:5 -  Kestrino  - Ultimo programa cargado: en equipo: P03 - BAR  ");
    EXPECT_TRUE(env.unloaded());
}

TEST(MemoryStoreTest, NoOrAMemoryOutsideTheSixteenSendsNothing) {
    MemoryEnv env;
    env.msg.answers = {MsgAnswer::No};
    env.dialogs.Script<FrmStore>([&](FrmStore& f) {
        f.Command1_Click(1); // answered No
        EXPECT_FALSE(f.StoreProgram(-1, QStringLiteral("AB")));
        EXPECT_FALSE(f.StoreProgram(16, QStringLiteral("AB")));
    });
    env.actions.ShowStore();
    EXPECT_TRUE(env.bus.frames.empty());
    EXPECT_FALSE(env.unloaded());
    EXPECT_EQ(env.rec().MemName[0], kEmptyName);
    EXPECT_EQ(env.st.LastProgNumber, 0);
    EXPECT_EQ(env.w().Caption, "before");
}

TEST(MemoryStoreTest, AFailedFrameEndsTheStore) {
    MemoryEnv env;
    env.st.ReportCommErrors = true;
    env.device->silentAfter = 6; // the name area and two header frames get through
    env.dialogs.Script<FrmStore>([&](FrmStore& f) {
        f.Combo1.setListIndex(4);
        f.Text1.Text = QStringLiteral("TOP");
        f.Command1_Click(1);
        EXPECT_FALSE(f.ProgressBar1.Visible);
        EXPECT_EQ(f.ProgressBar1.value(), 2);
    });
    env.actions.ShowStore();
    EXPECT_EQ(env.bus.frames.size(), 6u + 5u); // the seventh frame sent five times, then nothing
    EXPECT_EQ(env.sink.closed, std::vector<int>{EqTestEnv::kDev});
    EXPECT_EQ(env.rec().MemProg[4], 255);
    EXPECT_EQ(env.st.LastProgNumber, 0);
    EXPECT_EQ(env.w().Caption, "before");
    EXPECT_TRUE(env.unloaded());
}

TEST(MemoryStoreTest, AStoreTheDeviceNeverTookChangesNoRecord) {
    // The link busy with a ping (nothing is sent), or the first name frame unanswered.
    struct Case {
        const char* name;
        bool busy;
        size_t storeFrames;
    };
    for (const Case& c : {Case{"link busy", true, 0}, Case{"first frame fails", false, 5}}) {
        SCOPED_TRACE(c.name);
        MemoryEnv env;
        env.st.LastProgNumber = 7;
        env.rec().MemName[4] = QStringLiteral("KICK ");
        const ProgRecord before = env.img();
        bool stored = true;
        bool ran = false;
        env.dialogs.Script<FrmStore>([&](FrmStore& f) {
            f.Combo1.setListIndex(4);
            f.Text1.Text = QStringLiteral("ROADB");
            if (c.busy) {
                // The store runs while a ping waits with events running.
                env.events.hook = [&] {
                    if (ran) return;
                    ran = true;
                    stored = f.StoreProgram(4, f.Text1.Text);
                };
                env.link.PingDevice(EqTestEnv::kDev, CmdPing);
            } else {
                env.device->silent = true;
                ran = true;
                stored = f.StoreProgram(4, f.Text1.Text);
            }
        });
        env.actions.ShowStore();
        ASSERT_TRUE(ran);
        EXPECT_FALSE(stored);
        EXPECT_EQ(env.bus.frames.size(), (c.busy ? 1u : 0u) + c.storeFrames);
        EXPECT_EQ(env.bus.framesWithCommand(CmdWrite4).size(), c.storeFrames);
        EXPECT_EQ(env.rec().MemName[4], "KICK ");
        EXPECT_EQ(env.rec().MemProg[4], 255);
        EXPECT_EQ(env.img(), before); // the name bytes 32..36 and 209..213 among them
        EXPECT_EQ(env.st.LastProgNumber, 7);
        EXPECT_EQ(env.st.DevMemoryInUse[EqTestEnv::kDev], 0);
        EXPECT_EQ(env.w().Caption, "before");
    }
}

TEST(MemoryStoreTest, NameFilterRefusesKeysJustOutsideTheNameSet) {
    MemoryEnv env;
    NoWindow window;
    FrmStore f(MemoryContext{env.st, env.link, env.msg, window, EqTestEnv::kDev});
    const QString help = QStringLiteral("\r\n\r\nPor favor utilice los siguientes simbolos\r\n"
                                        "Espacio, de A(a) a la Z(z), del 0 al 9, - _ / * & + \" . ,");
    for (int key : {64, 91, 96, 123, 58, 39, 22}) {
        env.msg.shown.clear();
        int k = key;
        f.Text1_KeyPress(k);
        EXPECT_EQ(k, 32) << key;
        ASSERT_EQ(env.msg.shown.size(), 1u) << key;
        EXPECT_EQ(env.msg.shown[0].text, "Simbolo " + QString(QChar(key)) + " no permitido" + help);
        EXPECT_EQ(env.msg.shown[0].title, "Guardar memoria");
        EXPECT_EQ(env.msg.shown[0].icon, MsgIcon::Information);
    }
    env.msg.shown.clear();
    for (int key : {47, 45, 95, 42, 38, 43, 34, 46, 44, 8, 13, 32, 65, 90, 97, 122, 48, 57}) {
        int k = key;
        f.Text1_KeyPress(k);
        EXPECT_EQ(k, key);
    }
    EXPECT_TRUE(env.msg.shown.empty());
}

TEST(MemoryStoreTest, ListDoubleClickCopiesTheNameAndAnEmptyNameStoresFiveCharacters) {
    MemoryEnv env;
    env.st.DemoMode = true;
    env.rec().MemName[6] = QStringLiteral("KICK ");
    env.dialogs.Script<FrmStore>([&](FrmStore& f) {
        f.List1.setListIndex(6); // a single click chooses nothing
        EXPECT_EQ(f.Combo1.listIndex(), 0);
        f.List1_DblClick();
        EXPECT_EQ(f.Text1.Text, "KICK ");
        EXPECT_EQ(f.Combo1.listIndex(), 6);
        f.StoreProgram(1, kEmptyName); // the first five characters of a long name
        f.StoreProgram(2, QString());
    });
    env.actions.ShowStore();
    EXPECT_TRUE(env.bus.frames.empty());
    EXPECT_EQ(env.rec().MemName[1], "Vacia");
    EXPECT_EQ(env.rec().MemName[2], "     ");
    EXPECT_EQ(env.rec().MemProg[2], 2);
    EXPECT_EQ(env.st.LastProgNumber, 2);
    EXPECT_TRUE(env.w().Caption.endsWith("P03 -      "));
}

// ---------------------------------------------------------------- recall

namespace {
// Memory m of the simulated device holds a header of its own, named "BAR".
void PrepareMemory(MemoryEnv& env, int m, int number) {
    const auto& program = env.st.Tables.DefaultProgram;
    std::copy_n(program.begin(), 47, env.device->mem.begin() + 288 + 48 * m);
    env.device->mem[U(288 + 48 * m + 1)] = 80; // input gain byte: +4 dB
    env.device->mem[U(288 + 48 * m + 31)] = 1; // dynamic loudness on
    env.device->setMemoryName(m, QStringLiteral("BAR"));
    env.rec().MemProg[U(m)] = number;
    env.rec().MemName[U(m)] = QStringLiteral("BAR  ");
}

void Recall(MemoryEnv& env, int m) {
    env.dialogs.Script<FrmRead>([m](FrmRead& f) {
        f.List1.setListIndex(m);
        f.Command1_Click(1);
    });
    env.actions.ShowRead();
}
} // namespace

TEST(MemoryRecallTest, RecallSendsOneFrameAndLoadsTheHeaderWithTrafficSuspended) {
    MemoryEnv env;
    PrepareMemory(env, 2, 2);
    const ProgRecord before = env.img();
    env.st.EditBusy = true; // held by the top bar while its dialog is shown
    Recall(env, 2);

    EXPECT_EQ(env.bus.frames,
              std::vector<Frame13>{FrameOf({0xF0, 0x65, 5, CmdRecallMemory, 2, 0, 0, 0, 0, 0, 0, 0, 0xF7})});
    for (int i = 0; i < 48; ++i)
        EXPECT_EQ(env.img().Byte(i), env.device->mem[U(384 + i)]) << i;
    for (int i = 48; i < ProgRecord::kParamsSize; ++i)
        EXPECT_EQ(env.img().Byte(i), before.Byte(i)) << i;
    EXPECT_EQ(env.w().Text1[0].Text, "4"); // the window shows the recalled gain
    EXPECT_EQ(env.st.LastProgNumber, 2);
    EXPECT_EQ(env.w().Caption, "ID:5 -  Kestrino  - Ultimo programa cargado: en equipo: P03 - BAR  ");

    // The graphs are drawn again once drawing is no longer suspended; the flags are down again.
    const auto& calls = env.graph.calls;
    ASSERT_GE(calls.size(), 2u);
    for (int g : {0, 1}) {
        const auto it = std::find(calls.rbegin(), calls.rend(), "redraw " + std::to_string(g));
        ASSERT_NE(it, calls.rend());
        EXPECT_EQ(env.graph.drawSuspendedAtCall[U(static_cast<int>(calls.rend() - it) - 1)], 0);
    }
    EXPECT_EQ(env.st.DrawSuspended, 0);
    EXPECT_FALSE(env.st.CommSuspended);
    EXPECT_TRUE(env.st.EditBusy);
    EXPECT_TRUE(env.unloaded());
}

TEST(MemoryRecallTest, AMemoryTheDeviceAnswersAsEmptyLoadsNothingAndIsListedEmpty) {
    // The records think memory 3 holds "BAR"; the device's header says otherwise.
    struct Case {
        const char* name;
        std::function<void(SimDevice&)> change;
    };
    const Case cases[] = {
        {"erased: all 0xFF", [](SimDevice& d) { d.eraseMemory(2); }},
        {"status 64, content kept", [](SimDevice& d) { d.mem[384 + 47] = 64; }},
        {"deleted by another controller", [](SimDevice& d) { d.mem[384 + 47] = 0xFF; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryEnv env;
        PrepareMemory(env, 2, 2);
        c.change(*env.device);
        env.st.LastProgNumber = 7;
        env.st.DevMemoryInUse[EqTestEnv::kDev] = 7;
        const ProgRecord before = env.img();
        const QString gain = env.w().Text1[0].Text;
        QString row;
        env.dialogs.Script<FrmRead>([&](FrmRead& f) {
            f.List1.setListIndex(2);
            f.Command1_Click(1);
            row = f.List1.items[2];
        });
        env.actions.ShowRead();

        EXPECT_EQ(env.bus.frames, std::vector<Frame13>{FrameOf(
                                      {0xF0, 0x65, 5, CmdRecallMemory, 2, 0, 0, 0, 0, 0, 0, 0, 0xF7})});
        EXPECT_EQ(env.img(), before);
        EXPECT_EQ(env.w().Text1[0].Text, gain);
        EXPECT_TRUE(env.graph.calls.empty());
        EXPECT_EQ(env.st.LastProgNumber, 7);
        EXPECT_EQ(env.st.DevMemoryInUse[EqTestEnv::kDev], 7);
        EXPECT_EQ(env.w().Caption, "before");
        EXPECT_EQ(env.rec().MemProg[2], 255);
        EXPECT_EQ(env.rec().MemName[2], kEmptyName);
        EXPECT_EQ(row, "03: " + kEmptyName);
        ASSERT_EQ(env.msg.shown.size(), 2u); // the question, then the refusal
        EXPECT_EQ(env.msg.shown[1].text, "Memoria Vacia");
        EXPECT_EQ(env.msg.shown[1].title, "Leer Memoria");
        EXPECT_EQ(env.msg.shown[1].icon, MsgIcon::Critical);
        EXPECT_FALSE(env.unloaded());
    }
}

TEST(MemoryRecallTest, ARecallThatGetsNoReplyChangesNothing) {
    MemoryEnv env;
    PrepareMemory(env, 2, 2);
    env.device->silent = true;
    env.st.LastProgNumber = 7;
    const ProgRecord before = env.img();
    Recall(env, 2);
    EXPECT_EQ(env.bus.frames.size(), 6u);
    EXPECT_EQ(env.msg.texts(), QStringList({QStringLiteral("Desea leer esta memoria ? "),
                                            QStringLiteral(" Problema de comunicacion ")}));
    EXPECT_EQ(env.img(), before);
    EXPECT_TRUE(env.graph.calls.empty());
    EXPECT_EQ(env.st.LastProgNumber, 7);
    EXPECT_EQ(env.w().Caption, "before");
}

TEST(MemoryRecallTest, NumbersUpTo63AreRecalledAndDemoModeChangesOnlyTheCaption) {
    struct Case {
        int number;
        bool demo;
        size_t frames;
        bool imageChanged;
        QString refusal;
    };
    for (const Case& c : {Case{63, false, 1, true, {}}, Case{64, false, 0, false, "Memoria Vacia"},
                          Case{255, false, 0, false, "Memoria Vacia"}, Case{3, true, 0, false, {}}}) {
        MemoryEnv env;
        env.st.DemoMode = c.demo;
        PrepareMemory(env, 0, c.number);
        const ProgRecord before = env.img();
        Recall(env, 0);
        SCOPED_TRACE(c.number);
        EXPECT_EQ(env.bus.frames.size(), c.frames);
        EXPECT_EQ(env.img() != before, c.imageChanged);
        if (c.refusal.isEmpty()) {
            EXPECT_TRUE(env.w().Caption.endsWith("P01 - BAR  "));
            EXPECT_TRUE(env.unloaded());
        } else {
            ASSERT_EQ(env.msg.shown.size(), 1u);
            EXPECT_EQ(env.msg.shown[0].text, c.refusal);
            EXPECT_EQ(env.msg.shown[0].title, "Leer Memoria");
            EXPECT_EQ(env.msg.shown[0].icon, MsgIcon::Critical);
            EXPECT_EQ(env.w().Caption, "before");
            EXPECT_FALSE(env.unloaded());
        }
    }
}

// ---------------------------------------------------------------- delete

TEST(MemoryDeleteTest, InUseEmptyAndDeletedMemories) {
    const Frame13 read31 = FrameOf({0xF0, 0x65, 5, CmdReadByte, 0x00, 0x1F, 0, 0, 0, 0, 0, 0, 0xF7});
    struct Case {
        const char* name;
        int m;
        bool demo;
        int running; // address 31 of the device, or in demo mode the memory it last loaded
        double memProg;
        std::vector<Frame13> frames;
        QString refusal;
    };
    const std::vector<Case> cases{
        {"in use", 3, false, 3, 3, {read31}, "Imposible borrar, la memoria esta en uso"},
        {"empty", 3, false, 0, 64, {}, "Memoria vacia"},
        {"memory 16",
         15,
         false,
         0,
         15,
         {read31, FrameOf({0xF0, 0x65, 5, CmdWriteByte, 0x04, 0x1F, 0, 0, 0xFF, 0, 0, 0, 0xF7})},
         {}},
        {"number 63 is used",
         3,
         false,
         0,
         63,
         {read31, FrameOf({0xF0, 0x65, 5, CmdWriteByte, 0x01, 0xDF, 0, 0, 0xFF, 0, 0, 0, 0xF7})},
         {}},
        {"demo, in use", 3, true, 3, 3, {}, "Imposible borrar, la memoria esta en uso"},
        {"demo, other", 4, true, 3, 4, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryEnv env;
        env.st.DemoMode = c.demo;
        env.device->mem[31] = static_cast<uint8_t>(c.running);
        env.st.DevMemoryInUse[EqTestEnv::kDev] = static_cast<int16_t>(c.running);
        env.st.RxBuf[8] = static_cast<uint8_t>(c.m); // a stale reply naming the memory
        env.rec().MemProg[U(c.m)] = c.memProg;
        env.rec().MemName[U(c.m)] = QStringLiteral("KICK ");
        env.dialogs.Script<FrmDeleteProg>([&](FrmDeleteProg& f) {
            EXPECT_EQ(f.List1.items.size(), 16);
            f.List1.setListIndex(c.m);
            f.Command1_Click(1);
        });
        env.actions.ShowDeleteProg();
        EXPECT_EQ(env.bus.frames, c.frames);
        if (c.refusal.isEmpty()) {
            EXPECT_EQ(env.rec().MemProg[U(c.m)], 255);
            EXPECT_EQ(env.rec().MemName[U(c.m)], kEmptyName);
            if (!c.demo) {
                EXPECT_EQ(env.device->mem[U(335 + 48 * c.m)], 0xFF);
            }
            EXPECT_EQ(env.msg.texts(), QStringList{"Desea borrar la memoria seleccionada ? "});
            EXPECT_TRUE(env.unloaded());
        } else {
            EXPECT_EQ(env.rec().MemProg[U(c.m)], c.memProg);
            EXPECT_EQ(env.rec().MemName[U(c.m)], "KICK ");
            ASSERT_EQ(env.msg.shown.size(), 1u);
            EXPECT_EQ(env.msg.shown[0].text, c.refusal);
            EXPECT_EQ(env.msg.shown[0].title, "Borrar Memoria");
            EXPECT_FALSE(env.unloaded());
        }
    }
}

TEST(MemoryDeleteTest, InDemoModeTheMemoryInUseIsTheDevicesOwn) {
    // Memory 3 is stored into or recalled on one demo device, then deleted on one of them.
    constexpr int kA = EqTestEnv::kDev, kB = 7;
    struct Case {
        const char* name;
        bool recall;
        int loadedOn, deletedOn;
        bool refused;
    };
    const Case cases[] = {
        {"stored on A, deleted on A", false, kA, kA, true},
        {"stored on A, deleted on B", false, kA, kB, false},
        {"recalled on B, deleted on B", true, kB, kB, true},
        {"recalled on B, deleted on A", true, kB, kA, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryEnv env;
        env.st.DemoMode = true;
        NoWindow window;
        const auto context = [&](int dev) { return MemoryContext{env.st, env.link, env.msg, window, dev}; };
        for (int d : {kA, kB})
            env.st.DevRecs[U(d)].MemProg[2] = 2;
        if (c.recall) {
            FrmRead(context(c.loadedOn)).ReadProgram(2);
        } else {
            EXPECT_TRUE(FrmStore(context(c.loadedOn)).StoreProgram(2, QStringLiteral("BAR")));
        }
        FrmDeleteProg del(context(c.deletedOn));
        del.Form_Load();
        del.List1.setListIndex(2);
        del.Command1_Click(1);
        EXPECT_EQ(env.msg.texts().back(), c.refused ? "Imposible borrar, la memoria esta en uso"
                                                    : "Desea borrar la memoria seleccionada ? ");
        EXPECT_EQ(env.st.DevRecs[U(c.deletedOn)].MemProg[2], c.refused ? 2 : 255);
        EXPECT_TRUE(env.bus.frames.empty());
    }
}

TEST(MemoryDeleteTest, AReadTheLinkGaveUpClosesTheDialog) {
    MemoryEnv env;
    env.st.ReportCommErrors = true;
    env.device->silent = true;
    env.rec().MemProg[4] = 4;
    env.dialogs.Script<FrmDeleteProg>([](FrmDeleteProg& f) {
        f.List1.setListIndex(4);
        f.Command1_Click(1);
    });
    env.actions.ShowDeleteProg();
    EXPECT_EQ(env.bus.framesWithCommand(CmdWriteByte).size(), 0u);
    EXPECT_EQ(env.sink.closed, std::vector<int>{EqTestEnv::kDev});
    EXPECT_EQ(env.rec().MemProg[4], 4);
    EXPECT_TRUE(env.unloaded());
}

// ---------------------------------------------------------------- view

TEST(MemoryStoreViewTest, TheNameTakesTextOnlyThroughTheKeyProcedure) {
    MemoryEnv env;
    NoWindow window;
    FrmStore f(MemoryContext{env.st, env.link, env.msg, window, EqTestEnv::kDev});
    f.Form_Load();
    FrmStoreView view(f);
    auto* name = view.findChild<QLineEdit*>(QStringLiteral("Text1"));
    ASSERT_TRUE(name);
    EXPECT_EQ(name->contextMenuPolicy(), Qt::NoContextMenu);
    EXPECT_FALSE(name->acceptDrops());

    name->clear();
    f.Text1.Text.clear();
    QApplication::clipboard()->setText(QStringLiteral("XYZ"));
    const auto press = [&](Qt::Key key, Qt::KeyboardModifiers mods, const QString& text) {
        QKeyEvent e(QEvent::KeyPress, key, mods, text);
        QApplication::sendEvent(name, &e);
    };
    press(Qt::Key_B, Qt::NoModifier, QStringLiteral("B"));
    press(Qt::Key_At, Qt::NoModifier, QStringLiteral("@"));        // refused: a blank
    press(Qt::Key_V, Qt::ControlModifier, QStringLiteral("\x16")); // refused like any other key
    press(Qt::Key_Insert, Qt::ShiftModifier, QString());           // pastes nothing
    EXPECT_EQ(name->text(), "B  ");
    EXPECT_EQ(f.Text1.Text, "B  ");
    EXPECT_EQ(env.msg.shown.size(), 2u);
}

TEST(MemoryStoreViewTest, ANameTypedOverTheProposalReplacesItAndIsStored) {
    struct Case {
        const char* what;
        std::function<void(QLineEdit*)> edit;
        QString name;
    };
    const auto drag = [](QLineEdit* n) {
        const int y = n->height() / 2;
        QTest::mousePress(n, Qt::LeftButton, {}, QPoint(1, y));
        QTest::mouseMove(n, QPoint(n->width() - 2, y));
        QTest::mouseRelease(n, Qt::LeftButton, {}, QPoint(n->width() - 2, y));
    };
    const Case cases[] = {
        {"Shift+Home",
         [](QLineEdit* n) {
             QTest::keyClick(n, Qt::Key_End);
             QTest::keyClick(n, Qt::Key_Home, Qt::ShiftModifier);
             QTest::keyClicks(n, QStringLiteral("ROADB"));
         },
         QStringLiteral("ROADB")},
        {"drag",
         [&](QLineEdit* n) {
             drag(n);
             QTest::keyClicks(n, QStringLiteral("ROADB"));
         },
         QStringLiteral("ROADB")},
        {"Backspace and Delete",
         [](QLineEdit* n) {
             QTest::keyClick(n, Qt::Key_End);
             QTest::keyClick(n, Qt::Key_Backspace);
             QTest::keyClick(n, Qt::Key_Backspace);
             QTest::keyClick(n, Qt::Key_Home);
             QTest::keyClick(n, Qt::Key_Delete);
             QTest::keyClicks(n, QStringLiteral("XY"));
         },
         QStringLiteral("XYai")},
        {"five characters at most",
         [](QLineEdit* n) {
             QTest::keyClick(n, Qt::Key_End);
             QTest::keyClicks(n, QStringLiteral("Q"));
             QTest::keyClick(n, Qt::Key_Left, Qt::ShiftModifier);
             QTest::keyClick(n, Qt::Key_Left, Qt::ShiftModifier);
             QTest::keyClicks(n, QStringLiteral("ROADB"));
         },
         QStringLiteral("MaiRO")},
    };
    for (const Case& c : cases) {
        MemoryEnv env;
        NoWindow window;
        env.rec().MemName[0] = QStringLiteral("Main ");
        FrmStore f(MemoryContext{env.st, env.link, env.msg, window, EqTestEnv::kDev});
        f.Form_Load();
        FrmStoreView view(f);
        view.show();
        auto* name = view.findChild<QLineEdit*>(QStringLiteral("Text1"));
        ASSERT_TRUE(name);
        ASSERT_EQ(name->text(), "Main ");
        c.edit(name);
        EXPECT_EQ(name->text(), c.name) << c.what;
        // "Guardar" into memory 3 stores what the field shows.
        f.Combo1.setListIndex(2);
        for (QPushButton* b : view.findChildren<QPushButton*>())
            if (b->text() == "Guardar") b->click();
        EXPECT_EQ(env.rec().MemName[2], c.name.leftJustified(5)) << c.what;
        EXPECT_TRUE(env.msg.texts() == QStringList{QStringLiteral("                Esta Seguro?")}) << c.what;
    }
}

TEST(MemoryStoreViewTest, TheRecallListShowsTheMemoriesAndPassesTheChosenRow) {
    MemoryEnv env;
    NoWindow window;
    env.rec().MemName[5] = QStringLiteral("KICK ");
    FrmRead f(MemoryContext{env.st, env.link, env.msg, window, EqTestEnv::kDev});
    f.Form_Load();
    MemoryListDialog view(
        {f.Caption, f.MousePointer, f.List1, f.List1Columns, f.Command1, f.Label2, f.Label3, f.Refresh});
    auto* list = view.findChild<QListWidget*>();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 16);
    EXPECT_EQ(list->item(5)->text(), "06: KICK ");
    list->setCurrentRow(5);
    EXPECT_EQ(f.List1.listIndex(), 5);
}
