#pragma once
// Dialogs: windows of the program shown modally or modelessly, and the open and save file
// dialogs. The program shows each window class through its Qt view; tests script what the
// operator does in a dialog by running its procedures. Every window class that is shown as a
// dialog derives from DialogWindow.
#include <QString>

#include <functional>
#include <optional>
#include <typeindex>

// A window class shown as a dialog. Its procedures call Unload() to end the dialog (a modal
// ShowModal then returns); the service that shows it sets the hook.
class DialogWindow {
  public:
    virtual ~DialogWindow() = default;
    // Ends the dialog: the view showing it closes. Does nothing when the window is not shown.
    void Unload() {
        if (!unload_) return;
        const std::function<void()> hook = unload_; // the hook may clear itself
        hook();
    }
    // Set by the dialog service while the window is shown, cleared when its view has closed.
    void setUnloadHook(std::function<void()> hook) { unload_ = std::move(hook); }
    // A view shows the window now.
    bool IsShown() const { return static_cast<bool>(unload_); }

  private:
    std::function<void()> unload_;
};

// One file dialog: its title, the folder it starts in and its one filter, e.g. name
// "Program File (*.qrx)" with pattern "*.qrx".
struct FileDialogRequest {
    QString title;
    QString startFolder;
    QString filterName;
    QString pattern;
    bool operator==(const FileDialogRequest&) const = default;
};

class DialogService {
  public:
    virtual ~DialogService() = default;
    // Shows the window as a modal dialog; returns when it has been unloaded.
    virtual void ShowModal(DialogWindow& w) = 0;
    // Shows the window modelessly; returns at once.
    virtual void ShowModeless(DialogWindow& w) = 0;
    // The open dialog: the chosen file's path, or nothing when cancelled. A name typed for a file
    // that does not exist is given as it is; reading it then tells the operator.
    virtual std::optional<QString> OpenFile(const FileDialogRequest& r) = 0;
    // The save dialog: the chosen path with the filter's extension added when it has none (the
    // operator has confirmed overwriting an existing file), or nothing when cancelled.
    virtual std::optional<QString> SaveFile(const FileDialogRequest& r) = 0;
};

// The path with the pattern's extension ("*.qrx" gives ".qrx") added when it does not already
// end with it (letter case ignored).
QString WithPatternExtension(const QString& path, const QString& pattern);

// The type key a window class is registered under with a dialog service.
template <typename W> std::type_index DialogKey() {
    return std::type_index(typeid(W));
}
