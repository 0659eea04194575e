#include "startup/FrmLogin.h"

#include "bus/ConnectionFiles.h"

namespace {
constexpr int kFirstRotated = 33; // "!"
constexpr int kLastRotated = 126; // "~"
constexpr int kRotatedCount = kLastRotated - kFirstRotated + 1;
constexpr qint64 kMaxCodeFileSize = 2 + 0xFFFF; // the count word and the longest code
} // namespace

QChar ServiceCodeChar(uint8_t stored) {
    if (stored < kFirstRotated || stored > kLastRotated) return QChar(stored);
    return QChar(kFirstRotated + (stored - kFirstRotated + kRotatedCount / 2) % kRotatedCount);
}

uint8_t ScrambleServiceChar(QChar c) {
    const int u = c.unicode();
    if (u > 255) return '?';
    return static_cast<uint8_t>(ServiceCodeChar(static_cast<uint8_t>(u)).unicode());
}

FrmLogin::FrmLogin(AppState& st, MessageBoxService& msg, Timer& splashTimer)
    : st_(st), msg_(msg), splashTimer_(splashTimer) {
    Label1.Caption = QStringLiteral("Insert Password");
    Command2.Caption = QStringLiteral("OK");
    Command1.Caption = QStringLiteral("Exit");
    Text1.KeyPress = [this](int& key) { Text1_KeyPress(key); };
    Command2.Click = [this] { Command2_Click(); };
    Command1.Click = [this] { Command1_Click(); };
}

QByteArray FrmLogin::ReadStoredCode(const QByteArray& file) {
    if (file.size() < 2) return {};
    const int count = static_cast<uint8_t>(file[0]) | (static_cast<uint8_t>(file[1]) << 8);
    return file.mid(2, std::min<qsizetype>(count, file.size() - 2));
}

QString FrmLogin::DecodePassword(const QByteArray& stored) const {
    QString out;
    for (char b : stored)
        out += ServiceCodeChar(static_cast<uint8_t>(b));
    return out;
}

void FrmLogin::Form_Load() {
    Frame1.Visible = true;
    // A missing code file is created empty (in a folder that cannot be written the code simply
    // stays empty). A code file that is there but cannot be read refuses every entry: it must
    // never read as an empty code, which would let an empty entry in.
    const auto file = ReadOrCreateDataFile(st_.AppFolder + QStringLiteral("/sys.xxx"), kMaxCodeFileSize);
    codeUnreadable_ = !file.has_value();
    const QByteArray stored = file ? ReadStoredCode(*file) : QByteArray();
    expected_ = DecodePassword(stored);
    expectedLength_ = static_cast<int>(stored.size());
    Text1.Text.clear();
}

void FrmLogin::Text1_KeyPress(int& keyAscii) {
    if (keyAscii != 13) return;
    keyAscii = 0;
    CheckCode();
}

void FrmLogin::Command2_Click() {
    CheckCode();
}

void FrmLogin::Command1_Click() {
    st_.ServiceMode = false;
    close();
}

void FrmLogin::CheckCode() {
    const QString& typed = Text1.Text;
    bool ok = !codeUnreadable_ && typed.size() == expectedLength_;
    for (int i = 0; ok && i < typed.size(); ++i)
        ok = typed[i] == expected_[i];
    if (ok) {
        st_.ServiceMode = true;
        splashTimer_.Interval = 1000;
        splashTimer_.Enabled = true;
        close();
        return;
    }
    msg_.show(QStringLiteral("Password wrong, try again!"), QStringLiteral("Enter Password"), MsgButtons::Ok,
              MsgIcon::Exclamation);
    Text1SelectAll = true;
}

void FrmLogin::close() {
    Unloaded = true;
    if (Unload) Unload();
}
