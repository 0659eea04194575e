#pragma once
// Small helpers the views share to show control state.
#include "platform/Controls.h"

#include <QRect>
#include <QWidget>

inline int TwipsToPixels(int twips) {
    return twips / kTwipsPerPixel;
}

// Places a widget where the control's twips say, inside its parent.
inline void PlaceWidget(QWidget* w, const Control& c) {
    w->setGeometry(TwipsToPixels(c.Left), TwipsToPixels(c.Top), TwipsToPixels(c.Width),
                   TwipsToPixels(c.Height));
}

// Shows the enabled and visible state of a control.
inline void ShowControlState(QWidget* w, const Control& c) {
    w->setEnabled(c.Enabled);
    w->setVisible(c.Visible);
    if (w->toolTip() != c.ToolTipText) w->setToolTip(c.ToolTipText);
}

// Cursor of a window's mouse pointer code: 11 hourglass, 13 arrow and hourglass, else the arrow.
inline void ShowMousePointer(QWidget* w, int code) {
    if (code == 11)
        w->setCursor(Qt::WaitCursor);
    else if (code == 13)
        w->setCursor(Qt::BusyCursor);
    else
        w->unsetCursor();
}
