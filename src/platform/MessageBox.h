#pragma once
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Message boxes and questions. The program shows Qt dialogs; tests script the answers and
// read back what was shown.
enum class MsgButtons { Ok, YesNo, OkCancel };
enum class MsgIcon { None, Information, Exclamation, Critical, Question };
enum class MsgAnswer { Ok, Cancel, Yes, No };

class MessageBoxService {
public:
    virtual ~MessageBoxService() = default;
    // An empty title shows the application title "QRX".
    virtual MsgAnswer show(const QString& text, const QString& title = QString(),
                           MsgButtons buttons = MsgButtons::Ok, MsgIcon icon = MsgIcon::None) = 0;
};

class ScriptedMessageBox : public MessageBoxService {
public:
    struct Shown {
        QString text;
        QString title;
        MsgButtons buttons;
        MsgIcon icon;
    };
    MsgAnswer show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override;

    // Answers given in order; when none is left a question is answered Yes (Ok for Ok boxes).
    std::deque<MsgAnswer> answers;
    std::vector<Shown> shown;
    // Runs while a box is shown, as the timers a real box lets run meanwhile.
    std::function<void()> whileShown;
    QStringList texts() const;
};

inline QString MsgTitleOrDefault(const QString& title) { return title.isEmpty() ? QStringLiteral("QRX") : title; }
