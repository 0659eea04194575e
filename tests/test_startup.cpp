#include "startup/FrmLogin.h"
#include "startup/FrmVersion.h"
#include "startup/ModCountry.h"
#include "startup/frmSplash.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {
// Records the windows the start-up opens; each step may run a hook.
struct RecordingSteps : SplashSteps {
    std::vector<QString> calls;
    std::function<void()> onLogin, onSelect, onMain;
    bool mainLoads = true;
    void ShowLogin() override {
        calls.push_back(QStringLiteral("login"));
        if (onLogin) onLogin();
    }
    bool selectGoesOn = true;
    bool ShowSelect() override {
        calls.push_back(QStringLiteral("select"));
        if (onSelect) onSelect();
        return selectGoesOn;
    }
    bool ShowMainWindow() override {
        calls.push_back(QStringLiteral("main"));
        if (onMain) onMain();
        return mainLoads;
    }
    void ShowDeviceList() override { calls.push_back(QStringLiteral("list")); }
};

struct SplashEnv {
    AppState st;
    ScriptedMessageBox msg;
    RecordingSteps steps;
    frmSplash splash{st, msg, steps};
};

// Writes a code file holding `code` scrambled, with its character count in front.
void WriteCodeFile(const QString& folder, const QString& code, int count = -1) {
    QByteArray bytes;
    const int n = count < 0 ? static_cast<int>(code.size()) : count;
    bytes.append(static_cast<char>(n & 0xFF));
    bytes.append(static_cast<char>(n >> 8));
    for (QChar c : code)
        bytes.append(static_cast<char>(ScrambleServiceChar(c)));
    QFile f(folder + QStringLiteral("/sys.xxx"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}
} // namespace

// ---- Locale probe ----

TEST(ModCountryTest, DecimalSeparator) {
    EXPECT_EQ(GetLocaleString(QLocale(QLocale::German, QLocale::Germany), LOCALE_SDECIMAL), ",");
    EXPECT_EQ(GetLocaleString(QLocale(QLocale::English, QLocale::UnitedStates), LOCALE_SDECIMAL), ".");
    EXPECT_EQ(GetLocaleString(QLocale::c(), 15), QString());
    EXPECT_EQ(GetLocaleString(7, LOCALE_SDECIMAL), QString());
    const std::pair<const char*, int> cases[] = {{",", 1}, {".", 0}, {"'", 1}, {". ", 1}, {"", 1}};
    for (const auto& [sep, want] : cases)
        EXPECT_EQ(DecimalCommaFromSeparator(QString::fromUtf8(sep)), want) << sep;
}

// ---- Start-up window ----

TEST(SplashTest, LoadSetsStartValuesAndWarnsOnASmallDisplay) {
    struct Case {
        int w, h;
        bool warns;
    };
    const Case cases[] = {{1024, 480, true}, {640, 1024, true}, {800, 600, false}, {799, 600, true}};
    for (const auto& c : cases) {
        SplashEnv env;
        env.st.ServiceMode = true;
        env.splash.LocaleString = [](int, int) { return QStringLiteral(","); };
        env.splash.Form_Load(c.w, c.h);
        ASSERT_EQ(env.msg.shown.size(), c.warns ? 1u : 0u) << c.w << "x" << c.h;
        if (c.warns) {
            EXPECT_EQ(env.msg.shown[0].text, "Minimum display resolution is 800x600");
            EXPECT_EQ(env.msg.shown[0].title, "Warning");
            EXPECT_EQ(env.msg.shown[0].buttons, MsgButtons::Ok);
        }
        EXPECT_EQ(env.st.DecimalComma, 1);
        EXPECT_FALSE(env.st.ServiceMode);
        EXPECT_EQ(env.st.AppFolder, QDir::currentPath());
        EXPECT_TRUE(env.splash.Timer1.Enabled);
        EXPECT_EQ(env.splash.Timer1.Interval, 2000);
        EXPECT_FALSE(env.splash.Label1.Visible || env.splash.Label2.Visible || env.splash.Label3.Visible);
    }
}

TEST(SplashTest, SKeyOpensTheLoginAndStartUpGoesOn) {
    SplashEnv env;
    env.splash.Form_Load(1280, 1024);
    // A key other than S does nothing and is passed on.
    int key = 'x';
    env.splash.Form_KeyPress(key);
    EXPECT_EQ(key, 'x');
    EXPECT_TRUE(env.steps.calls.empty());
    EXPECT_EQ(env.splash.Timer1.Interval, 2000);

    // "s", left with Exit: no service mode, the wait restarts at 500 ms.
    env.steps.onLogin = [&] {
        EXPECT_FALSE(env.splash.Timer1.Enabled);
        FrmLogin login(env.st, env.msg, env.splash.Timer1);
        login.Form_Load();
        login.Command1_Click();
    };
    key = 's';
    env.splash.Form_KeyPress(key);
    EXPECT_EQ(key, 's');
    EXPECT_FALSE(env.st.ServiceMode);
    EXPECT_TRUE(env.splash.Timer1.Enabled);
    EXPECT_EQ(env.splash.Timer1.Interval, 500);
    EXPECT_EQ(env.steps.calls.size(), 1u);
}

TEST(SplashTest, TimerRunsTheStartUpOnceAndTheSKeyIsDeadAfterwards) {
    SplashEnv env;
    env.splash.Form_Load(1280, 1024);
    // S pressed while the main window connects (its scan lets window events run).
    env.steps.onMain = [&] {
        int key = 'S';
        env.splash.Form_KeyPress(key);
        EXPECT_EQ(env.splash.MousePointer, 0);
    };
    env.steps.onSelect = [&] { EXPECT_EQ(env.splash.MousePointer, 13); };
    env.splash.Timer1.Tick();
    EXPECT_EQ(env.steps.calls, (std::vector<QString>{"select", "main", "list"}));
    EXPECT_FALSE(env.splash.Timer1.Enabled);
    EXPECT_TRUE(env.splash.Unloaded);
    env.splash.Timer1.Tick();
    EXPECT_EQ(env.steps.calls.size(), 3u);

    // A main window whose load ended the program: no device list.
    SplashEnv ended;
    ended.steps.mainLoads = false;
    ended.splash.Form_Load(1280, 1024);
    ended.splash.Timer1.Tick();
    EXPECT_EQ(ended.steps.calls, (std::vector<QString>{"select", "main"}));
    EXPECT_FALSE(ended.splash.Unloaded);

    // The program ended in the connection dialog: no main window.
    SplashEnv left;
    left.steps.selectGoesOn = false;
    left.splash.Form_Load(1280, 1024);
    left.splash.Timer1.Tick();
    EXPECT_EQ(left.steps.calls, (std::vector<QString>{"select"}));
    EXPECT_EQ(left.splash.MousePointer, 0);
}

// ---- Service login ----

TEST(LoginTest, CodeRules) {
    struct Case {
        QString stored; // null: no code file
        QString typed;
        bool accepted;
    };
    const Case cases[] = {
        {QString(), QString(), true},
        {QString(), QStringLiteral("a"), false},
        {QStringLiteral(""), QString(), true},
        {QStringLiteral("Tv-21 x"), QStringLiteral("Tv-21 x"), true},
        {QStringLiteral("Tv-21 x"), QStringLiteral("tv-21 x"), false}, // case differs
        {QStringLiteral("Tv-21 x"), QStringLiteral("Tv-21"), false},   // prefix
        {QStringLiteral("Tv-21 x"), QStringLiteral("Tv-21 xy"), false},
        {QStringLiteral("Tv-21 x"), QString(), false},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        if (!c.stored.isNull()) WriteCodeFile(dir.path(), c.stored);
        AppState st;
        st.AppFolder = dir.path();
        ScriptedMessageBox msg;
        Timer splashTimer;
        FrmLogin login(st, msg, splashTimer);
        login.Form_Load();
        EXPECT_TRUE(QFile::exists(dir.path() + "/sys.xxx")); // a missing file is created empty
        login.Text1.Text = c.typed;
        int key = 13;
        login.Text1_KeyPress(key);
        EXPECT_EQ(key, 0);
        EXPECT_EQ(st.ServiceMode, c.accepted) << c.stored.toStdString() << " / " << c.typed.toStdString();
        EXPECT_EQ(login.Unloaded, c.accepted);
        EXPECT_EQ(splashTimer.Enabled, c.accepted);
        if (c.accepted) {
            EXPECT_EQ(splashTimer.Interval, 1000);
            EXPECT_TRUE(msg.shown.empty());
        } else {
            ASSERT_EQ(msg.shown.size(), 1u);
            EXPECT_EQ(msg.shown[0].text, "Password wrong, try again!");
            EXPECT_EQ(msg.shown[0].title, "Enter Password");
            EXPECT_EQ(msg.shown[0].icon, MsgIcon::Exclamation);
            EXPECT_TRUE(login.Text1SelectAll);
            // OK checks the same way; Exit leaves without service mode.
            login.Command2_Click();
            EXPECT_EQ(msg.shown.size(), 2u);
            login.Command1_Click();
            EXPECT_TRUE(login.Unloaded);
            EXPECT_FALSE(st.ServiceMode);
        }
    }
}

// Loads the login in `folder`, types `typed` and presses OK; tells whether service mode is on
// and what message boxes were shown.
static bool LoginAccepts(const QString& folder, const QString& typed, ScriptedMessageBox& msg) {
    AppState st;
    st.AppFolder = folder;
    Timer t;
    FrmLogin login(st, msg, t);
    login.Form_Load();
    login.Text1.Text = typed;
    login.Command2_Click();
    return st.ServiceMode;
}

TEST(LoginTest, DamagedOrUnwritableCodeFile) {
    // A count beyond the end of the file takes only the bytes that are there.
    EXPECT_EQ(FrmLogin::ReadStoredCode(QByteArray("\x0A\x00"
                                                  "abc",
                                                  5)),
              QByteArray("abc"));
    EXPECT_EQ(FrmLogin::ReadStoredCode(QByteArray("\x02\x00"
                                                  "abc",
                                                  5)),
              QByteArray("ab"));
    EXPECT_EQ(FrmLogin::ReadStoredCode(QByteArray("\x05", 1)), QByteArray());
    {
        QTemporaryDir dir;
        WriteCodeFile(dir.path(), QStringLiteral("Key"), 300);
        ScriptedMessageBox msg;
        EXPECT_TRUE(LoginAccepts(dir.path(), QStringLiteral("Key"), msg));
    }
    // A folder that cannot be written: no file, no message, only the empty code is accepted.
    QTemporaryDir dir;
    const QString ro = dir.path() + "/ro";
    ASSERT_TRUE(QDir().mkdir(ro));
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    ScriptedMessageBox msg;
    EXPECT_TRUE(LoginAccepts(ro, QString(), msg));
    EXPECT_TRUE(msg.shown.empty());
    QFile::setPermissions(ro, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

TEST(LoginTest, UnreadableCodeFileRefusesEveryEntry) {
    // A folder named like the code file cannot be read: not even an empty entry is let in.
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("sys.xxx")));
    for (const QString& typed : {QString(), QStringLiteral("x")}) {
        ScriptedMessageBox msg;
        EXPECT_FALSE(LoginAccepts(dir.path(), typed, msg)) << typed.toStdString();
        EXPECT_EQ(msg.texts(), QStringList{"Password wrong, try again!"});
    }
}

TEST(LoginTest, SubstitutionIsAFixedOneToOneMapping) {
    for (int b = 0; b < 256; ++b) {
        const QChar c = ServiceCodeChar(static_cast<uint8_t>(b));
        EXPECT_EQ(ScrambleServiceChar(c), b);
    }
    EXPECT_NE(ServiceCodeChar('A'), QChar('A'));
    EXPECT_EQ(ServiceCodeChar(' '), QChar(' '));

    // A file prepared as the README says, for the code "MyCode-42".
    QTemporaryDir dir;
    QFile f(dir.path() + "/sys.xxx");
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(QByteArray::fromHex("09007c4a724035365c6361"));
    f.close();
    ScriptedMessageBox msg;
    EXPECT_TRUE(LoginAccepts(dir.path(), QStringLiteral("MyCode-42"), msg));
}

// ---- About box ----

TEST(VersionTest, ShowsVersionsAndModelOfTheCurrentWindowsDevice) {
    struct Case {
        int dev;
        int model;
        const char* firmware;
        const char* name;
    };
    const Case cases[] = {{5, 1, "1.03", "Kestrino"}, {38, 2, "2.105", "Valdoran"}};
    for (const auto& c : cases) {
        AppState st;
        st.CurSlot = 4;
        st.SlotTable[4] = WinSlotRec{-1, static_cast<int16_t>(c.dev), 4};
        st.ModelCode[static_cast<size_t>(c.dev)] = static_cast<int16_t>(c.model);
        st.FirmwareVersion[static_cast<size_t>(c.dev)] = QString::fromLatin1(c.firmware);
        FrmVersion v(st);
        v.Form_Load();
        EXPECT_EQ(v.Label2.Caption, "2.1");
        EXPECT_EQ(v.Label3.Caption, c.firmware);
        EXPECT_EQ(v.Label4.Caption, c.name);
        EXPECT_EQ(v.Label1[0].Caption, "Software Version:");
        EXPECT_EQ(v.Label1[1].Caption, "Firmware Version:");
        v.Command1_Click();
        EXPECT_TRUE(v.Unloaded);
    }
}
