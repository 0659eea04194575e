#include "platform/MessageBox.h"

MsgAnswer ScriptedMessageBox::show(const QString& text, const QString& title, MsgButtons buttons,
                                   MsgIcon icon) {
    shown.push_back({text, MsgTitleOrDefault(title), buttons, icon});
    if (whileShown) whileShown();
    if (!answers.empty()) {
        const MsgAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    return buttons == MsgButtons::YesNo ? MsgAnswer::Yes : MsgAnswer::Ok;
}

QStringList ScriptedMessageBox::texts() const {
    QStringList out;
    for (const auto& s : shown) out << s.text;
    return out;
}
