#pragma once
// The dialog service of the tests: each window class has a script that does what the operator
// would do in the dialog by running its procedures; the service records every window shown and
// every file dialog asked for, and answers the file dialogs from a queue.
#include "platform/Dialogs.h"

#include <deque>
#include <map>
#include <vector>

class ScriptedDialogs : public DialogService {
  public:
    struct Shown {
        std::type_index window; // DialogKey of the window's class
        bool modal;
        bool unloaded = false; // the window's Unload() ended it
    };
    struct FileAsked {
        bool save;
        FileDialogRequest request;
    };

    // The operator's actions in every dialog of class W from now on.
    template <typename W> void Script(std::function<void(W&)> run) {
        scripts_[DialogKey<W>()] = [run = std::move(run)](DialogWindow& w) { run(static_cast<W&>(w)); };
    }

    // Runs the window's script, if any, and returns: a modal window is no longer shown afterwards,
    // whether or not the script unloaded it.
    void ShowModal(DialogWindow& w) override;
    // Runs the window's script, if any; the window stays shown until it is unloaded.
    void ShowModeless(DialogWindow& w) override;
    // The next queued answer; nothing (cancelled) when the queue is empty.
    std::optional<QString> OpenFile(const FileDialogRequest& r) override;
    // The next queued answer with the pattern's extension added, as the program's dialog adds it;
    // an existing file counts as confirmed for overwriting.
    std::optional<QString> SaveFile(const FileDialogRequest& r) override;

    // Windows shown, in order.
    std::vector<Shown> shown;
    // File dialogs asked for, in order.
    std::vector<FileAsked> fileRequests;
    // Answers of the file dialogs in order: a path, or nothing for a cancelled dialog.
    std::deque<std::optional<QString>> fileAnswers;

    // How many windows of class W were shown.
    template <typename W> int ShownCount() const {
        int n = 0;
        for (const auto& s : shown)
            n += s.window == DialogKey<W>();
        return n;
    }

  private:
    void show(DialogWindow& w, bool modal);
    std::optional<QString> nextAnswer();

    std::map<std::type_index, std::function<void(DialogWindow&)>> scripts_;
};
