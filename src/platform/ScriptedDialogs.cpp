#include "platform/ScriptedDialogs.h"

void ScriptedDialogs::show(DialogWindow& w, bool modal) {
    const std::type_index key(typeid(w));
    const size_t index = shown.size();
    shown.push_back({key, modal});
    w.setUnloadHook([this, &w, index] {
        shown[index].unloaded = true;
        w.setUnloadHook(nullptr);
    });
    const auto script = scripts_.find(key);
    if (script != scripts_.end()) script->second(w);
}

void ScriptedDialogs::ShowModal(DialogWindow& w) {
    show(w, true);
    w.setUnloadHook(nullptr);
}

void ScriptedDialogs::ShowModeless(DialogWindow& w) {
    show(w, false);
}

std::optional<QString> ScriptedDialogs::nextAnswer() {
    if (fileAnswers.empty()) return std::nullopt;
    const bool cancelled = !fileAnswers.front().has_value();
    const QString path = fileAnswers.front().value_or(QString());
    fileAnswers.pop_front();
    if (cancelled) return std::nullopt;
    return path;
}

std::optional<QString> ScriptedDialogs::OpenFile(const FileDialogRequest& r) {
    fileRequests.push_back({false, r});
    return nextAnswer();
}

std::optional<QString> ScriptedDialogs::SaveFile(const FileDialogRequest& r) {
    fileRequests.push_back({true, r});
    const std::optional<QString> a = nextAnswer();
    if (!a) return std::nullopt;
    return WithPatternExtension(*a, r.pattern);
}
