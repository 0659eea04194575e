#include "memories/ui/MemoryViews.h"

#include "memories/FrmDeleteProg.h"
#include "memories/ui/FrmCopyView.h"
#include "memories/FrmRead.h"
#include "memories/ui/FrmTypeView.h"
#include "memories/ui/FrmStoreView.h"
#include "memories/ui/MemoryListDialog.h"
#include "platform/ui/QtDialogService.h"

namespace {
template <typename W> MemoryListDialog* ListDialog(W& w, QWidget* parent) {
    return new MemoryListDialog(
        {w.Caption, w.MousePointer, w.List1, w.List1Columns, w.Command1, w.Label2, w.Label3, w.Refresh},
        parent);
}
} // namespace

void RegisterMemoryViews(QtDialogService& dialogs) {
    dialogs.Register<FrmStore>([](FrmStore& w, QWidget* parent) { return new FrmStoreView(w, parent); });
    dialogs.Register<FrmRead>([](FrmRead& w, QWidget* parent) { return ListDialog(w, parent); });
    dialogs.Register<FrmDeleteProg>([](FrmDeleteProg& w, QWidget* parent) { return ListDialog(w, parent); });
    dialogs.Register<FrmType>([](FrmType& w, QWidget* parent) { return new FrmTypeView(w, parent); });
    dialogs.Register<FrmCopy>([](FrmCopy& w, QWidget* parent) { return new FrmCopyView(w, parent); });
}
