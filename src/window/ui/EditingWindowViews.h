#pragma once
// The editing windows inside the main window's document area: one view per window slot, made
// when the slot's window is first shown and kept (hidden) after it closes, as the window objects
// are.
#include "window/EditingWindowService.h"
#include "window/ui/FrmCtrlView.h"

#include <QObject>
#include <array>

class QMdiArea;
class QMdiSubWindow;

class EditingWindowViews : public QObject {
    Q_OBJECT
  public:
    EditingWindowViews(EditingWindowService& editing, QMdiArea* area, QObject* parent = nullptr);

    // Shows every open window's state again and hides the closed ones.
    void syncAll();
    // The view of a slot, when one was made.
    FrmCtrlView* view(int slot) const;

  protected:
    bool eventFilter(QObject* obj, QEvent* e) override;

  private:
    void show(FrmCtrl& w);
    struct Entry {
        QMdiSubWindow* sub = nullptr;
        FrmCtrlView* view = nullptr;
    };
    EditingWindowService& editing_;
    QMdiArea* area_;
    std::array<Entry, kWindowSlots> entries_{};
    bool passingMoveAgain_ = false; // a hover move is being passed to a window frame once more
};
