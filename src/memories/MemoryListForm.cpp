#include "memories/MemoryListForm.h"

MemoryListForm::MemoryListForm(MemoryContext c, const QString& caption, const QString& action,
                               const QString& wait, int columns)
    : Caption(caption), List1Columns(columns), c_(c) {
    List1.ToolTipText = QStringLiteral("Seleccionar memoria");
    Command1[0].Caption = QStringLiteral("Cancelar");
    Command1[1].Caption = action;
    for (int i = 0; i < 2; ++i)
        Command1[static_cast<size_t>(i)].Click = [this, i] { Command1_Click(i); };
    Label2.Caption = wait;
    Label2.Visible = false;
    Label3.Caption = QStringLiteral("Memoria");
}

void MemoryListForm::Form_Load() {
    Label2.Visible = false;
    refresh();
    List1.clear();
    List1.items = MemoryListRows(c_.rec());
    List1.setListIndex(0);
}

void MemoryListForm::Command1_Click(int index) {
    if (index == 0) {
        Unload();
        return;
    }
    if (index != 1) return;
    const int m = List1.listIndex();
    if (!ValidMemory(m)) return;
    Act(m);
}
