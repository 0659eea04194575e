#pragma once
// Control state of the program's windows: what each kind of control holds and how it answers
// code that sets it. A window class owns these as members and its event procedures read and
// write them; the Qt view of the window shows them and passes user events back.
//
// Behaviour shared by all of them, as on the desktop:
// - a value set from code is clamped to the control's range;
// - setting steppers, option buttons, check boxes, combo boxes and the scroll bar from code runs
//   their change or click procedure (the procedures test SuppressEvents themselves);
// - setting a slider's position from code runs nothing;
// - setting a text from code runs nothing; only typed keys reach the key procedure.
//
// A control that has an event procedure holds it (Click, Change, Scroll, KeyPress, the mouse
// procedures); the window class binds them all, and a view only runs them when the operator acts.
#include <QColor>
#include <QImage>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <functional>
#include <vector>

// Colour values as the program stores them: 0x00BBGGRR, or a system colour with the top bit set.
using ColorValue = unsigned int;
constexpr ColorValue kButtonFace = 0x8000000Fu;
constexpr ColorValue kRed = 0x000000FFu;
constexpr ColorValue kYellow = 0x0000FFFFu;
constexpr ColorValue kWhite = 0x00FFFFFFu;
constexpr ColorValue kBlack = 0x00000000u;
constexpr ColorValue RGBValue(int r, int g, int b) {
    return static_cast<ColorValue>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
// Converts a stored colour value to a Qt colour; the button face is light grey.
QColor ToQColor(ColorValue v);

// Control positions are in twips, 15 to a screen pixel.
constexpr int kTwipsPerPixel = 15;

struct Control {
    bool Enabled = true;
    bool Visible = true;
    int Left = 0, Top = 0, Width = 0, Height = 0; // twips, where a window places controls itself
    QString ToolTipText;
};

// Mouse buttons and shift keys as the mouse procedures receive them.
constexpr int kLeftButton = 1, kRightButton = 2, kMiddleButton = 4;
constexpr int kShiftMask = 1, kCtrlMask = 2, kAltMask = 4;

// A mouse procedure: the button(s), the shift keys held, and the pointer's position in twips
// relative to the control's top left corner.
using MouseProcedure = std::function<void(int button, int shift, int x, int y)>;

struct Label : Control {
    QString Caption;
    int ZOrder = 0; // front order among the window's markers: the largest is in front
    ColorValue BackColor = kButtonFace;
    ColorValue ForeColor = kBlack;
    MouseProcedure MouseDown;
    MouseProcedure MouseMove;
    MouseProcedure MouseUp;
    std::function<void()> Click; // pressed and released on the label with the left button
};

struct Frame : Control {
    QString Caption;
};

struct Shape : Control {
    ColorValue FillColor = kButtonFace;
    ColorValue BackColor = kButtonFace;
};

struct CommandButton : Control {
    QString Caption;
    ColorValue BackColor = kButtonFace;
    std::function<void()> Click;
};

// Text field. Its key procedure sees every key the operator types before the field takes it, and
// may change the key or swallow it (key 0).
struct TextBox : Control {
    QString Text;
    bool Locked = false;
    int MaxLength = 0;
    std::function<void(int& key)> KeyPress;
};

// Two-state check box (0 clear, 1 ticked; 2 greyed is kept as given). Setting the value from
// code runs Click when it changes.
struct CheckBox : Control {
    QString Caption;
    int value() const { return value_; }
    void setValue(int v) {
        v = std::clamp(v, 0, 2);
        if (v == value_) return;
        value_ = v;
        if (Click) Click();
    }
    // Sets the state without running Click (used by views when the user toggles, before Click).
    void setValueSilently(int v) { value_ = std::clamp(v, 0, 2); }
    std::function<void()> Click;

  private:
    int value_ = 0;
};

// One option button of a group. Selecting one from code clears the others of the same group
// (the window links them in `group`) and runs Click of the one selected.
struct OptionButton : Control {
    QString Caption;
    bool value() const { return value_; }
    void setValue(bool v);
    std::function<void()> Click;
    std::vector<OptionButton*> group;

  private:
    bool value_ = false;
};

// Slider: position clamped to Min..Max. Setting it from code runs nothing; the view runs
// Scroll/Change when the operator moves it.
struct Slider : Control {
    int Min = 0, Max = 10;
    // Positions moved by an arrow key (small) and by a click in the trough or Page Up/Down (large).
    int SmallChange = 1, LargeChange = 10;
    int value() const { return value_; }
    void setValue(int v) { value_ = std::clamp(v, Min, Max); }
    std::function<void()> Scroll;
    std::function<void()> Change;

  private:
    int value_ = 0;
};

// Stepper (up-down control): value clamped to Min..Max; setting it from code runs Change when
// the value changes.
struct UpDown : Control {
    int Min = 0, Max = 10;
    int Increment = 1;
    int value() const { return value_; }
    void setValue(int v) {
        v = std::clamp(v, std::min(Min, Max), std::max(Min, Max));
        if (v == value_) return;
        value_ = v;
        if (Change) Change();
    }
    void setValueSilently(int v) { value_ = std::clamp(v, std::min(Min, Max), std::max(Min, Max)); }
    std::function<void()> Change;

  private:
    int value_ = 0;
};

// Horizontal scroll bar: value clamped to Min..Max; setting it from code runs Change.
struct ScrollBar : Control {
    int Min = 0, Max = 100;
    int value() const { return value_; }
    void setValue(int v) {
        v = std::clamp(v, Min, Max);
        if (v == value_) return;
        value_ = v;
        if (Change) Change();
    }
    std::function<void()> Change;

  private:
    int value_ = 0;
};

// Combo box with a fixed list: ListIndex -1 is no selection; setting it from code runs Click
// when it changes; an index outside the list is refused (left as it was).
struct ComboBox : Control {
    QStringList items;
    int listIndex() const { return index_; }
    void setListIndex(int i) {
        if (i < -1 || i >= items.size()) return;
        if (i == index_) return;
        index_ = i;
        if (Click) Click();
    }
    QString text() const { return index_ >= 0 && index_ < items.size() ? items[index_] : QString(); }
    std::function<void()> Click;

  private:
    int index_ = -1;
};

// List box: items, a current row and, for a list with multiple selection, a mark per row.
// Setting the index from code runs Click when it changes. In a multiple-selection list the
// operator's click on a row toggles its mark, makes it the current row and runs Click.
struct ListBox : Control {
    QStringList items;
    bool MultiSelect = false;
    int listIndex() const { return index_; }
    void setListIndex(int i) {
        if (i < -1 || i >= items.size()) return;
        if (i == index_) return;
        index_ = i;
        if (Click) Click();
    }
    // The row's mark; false for a row outside the list.
    bool selected(int row) const {
        return row >= 0 && row < items.size() && static_cast<size_t>(row) < marks_.size() &&
               marks_[static_cast<size_t>(row)];
    }
    void setSelected(int row, bool on);
    // The operator clicked a row.
    void clickRow(int row);
    void clear() {
        items.clear();
        marks_.clear();
        index_ = -1;
    }
    std::function<void()> Click;
    std::function<void()> DblClick; // the operator double-clicked the current row

  private:
    int index_ = -1;
    std::vector<bool> marks_;
};

// Tab strip: its tab captions and the tab in front.
struct TabStrip : Control {
    QStringList Tabs;
    int Tab = 0;
};

struct ProgressBar : Control {
    int Min = 0, Max = 100;
    int value() const { return value_; }
    void setValue(int v) {
        value_ = std::clamp(v, Min, Max);
        if (Changed) Changed();
    }
    std::function<void()> Changed; // run when the value was set, so a view can repaint at once

  private:
    int value_ = 0;
};

// Timer: interval in ms and enabled state; the view (or a test) calls Tick.
struct Timer {
    int Interval = 0;
    bool Enabled = false;
    std::function<void()> Tick;
};

// Picture box holding an image that code draws into; the view shows the image.
struct PictureBox : Control {
    QImage Image;
    ColorValue BackColor = kWhite;
    std::function<void()> Picture; // run when the image changed, so a view can repaint
};

// Grid of text cells with a current cell and per-cell back colours.
struct FlexGrid : Control {
    int rows() const { return static_cast<int>(cells_.size()); }
    int cols() const { return cols_; }
    void setRows(int r);
    void setCols(int c);
    QString textMatrix(int r, int c) const;
    void setTextMatrix(int r, int c, const QString& t);
    ColorValue cellBackColor(int r, int c) const;
    void setCellBackColor(int r, int c, ColorValue v);
    int Row = 0, Col = 0; // current cell
    int FixedRows = 1;
    QStringList ColumnHeaders;
    std::function<void()> DblClick; // the operator double-clicked the current cell

  private:
    struct Cell {
        QString text;
        ColorValue back = kWhite;
    };
    std::vector<std::vector<Cell>> cells_;
    int cols_ = 0;
};

struct MenuItem {
    QString Caption;
    bool Enabled = true;
    bool Visible = true;
    bool Checked = false;
    std::function<void()> Click;
};
