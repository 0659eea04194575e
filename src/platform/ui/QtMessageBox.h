#pragma once
#include "platform/MessageBox.h"

#include <QWidget>

// Message boxes as Qt dialogs, over the active window.
class QtMessageBox : public MessageBoxService {
  public:
    MsgAnswer show(const QString& text, const QString& title, MsgButtons buttons, MsgIcon icon) override;
};
