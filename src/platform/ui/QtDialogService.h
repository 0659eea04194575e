#pragma once
// The program's dialog service: each window class shown as a dialog registers a factory that
// builds its Qt view; the service shows the view modally or modelessly and closes it when the
// window unloads. The file dialogs are Qt's.
#include "platform/Dialogs.h"

#include <QWidget>
#include <map>

class QtDialogService : public DialogService {
  public:
    // Builds the view of one window object. parent is the active window (may be null). A modal
    // view should be a QDialog; a modeless one may also be a window placed elsewhere, such as a
    // document window of the main window's area, returned as the widget that closes.
    using ViewFactory = std::function<QWidget*(DialogWindow& w, QWidget* parent)>;

    template <typename W, typename F> void Register(F make) {
        factories_[DialogKey<W>()] = [make = std::move(make)](DialogWindow& w, QWidget* parent) -> QWidget* {
            return make(static_cast<W&>(w), parent);
        };
    }

    void ShowModal(DialogWindow& w) override;
    void ShowModeless(DialogWindow& w) override;
    std::optional<QString> OpenFile(const FileDialogRequest& r) override;
    std::optional<QString> SaveFile(const FileDialogRequest& r) override;

  private:
    QWidget* makeView(DialogWindow& w);

    std::map<std::type_index, ViewFactory> factories_;
    std::map<DialogWindow*, QWidget*> modeless_; // the view of each window shown modelessly
};
