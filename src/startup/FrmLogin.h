#pragma once
// The service login: asks for the service code kept scrambled in "sys.xxx"; a correct code
// turns service mode on for the whole run.
#include "common/AppState.h"
#include "platform/Controls.h"
#include "platform/MessageBox.h"

#include <QByteArray>
#include <functional>

// The fixed substitution between a stored byte of "sys.xxx" and a character of the code: the
// printable characters "!".."~" are rotated by 47 places within their range of 94; every other
// byte stands for itself. The rotation is its own inverse, so the same table scrambles a code.
QChar ServiceCodeChar(uint8_t stored);
uint8_t ScrambleServiceChar(QChar c);

class FrmLogin {
  public:
    // `splashTimer` is the start-up window's timer, which a correct code restarts.
    FrmLogin(AppState& st, MessageBoxService& msg, Timer& splashTimer);

    QString Caption = QStringLiteral("Login");
    Frame Frame1;
    Label Label1;
    TextBox Text1;          // the view shows "*" for each character
    CommandButton Command2; // OK
    CommandButton Command1; // Exit
    // Set by a wrong code: the view puts the focus into Text1 and selects its whole text.
    bool Text1SelectAll = false;
    bool Unloaded = false;
    std::function<void()> Unload; // the view closes the dialog

    void Form_Load();
    // Enter checks the code (and is swallowed); every other key is typed normally.
    void Text1_KeyPress(int& keyAscii);
    void Command2_Click();
    void Command1_Click();

    // Reads the stored code of a code file: a 16-bit little-endian count, then one byte per
    // character. A count beyond the end of the file takes only the bytes that are there.
    static QByteArray ReadStoredCode(const QByteArray& file);

  private:
    QString DecodePassword(const QByteArray& stored) const;
    void CheckCode();
    void close();

    AppState& st_;
    MessageBoxService& msg_;
    Timer& splashTimer_;
    QString expected_;
    int expectedLength_ = 0;
    bool codeUnreadable_ = false; // "sys.xxx" is there but could not be read
};
