#pragma once
// Qt widgets bound to control state, shared by every view. A bound widget shows its control when
// the view shows the state again, and passes what the operator does to the control: a click runs
// the control's Click, a typed key its KeyPress, a mouse action on a label its mouse procedures.
// Nothing else happens in the view; after each event it runs the view's after-event routine,
// which shows the state again.
#include "platform/Controls.h"

#include <QLineEdit>
#include <QRect>

#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSlider;
class QTimer;
class QWidget;

// A text field whose typed keys first go to the control's key procedure, which may let them
// through, change them or swallow them (key 0). Every key that types a character reaches it,
// control keys such as Esc, Enter and Backspace included; keys that only move the caret do not.
// Text that arrives several characters at once (an input method's or a compose sequence's
// commit, a key that types more than one character) reaches it one character at a time. A
// character outside the basic plane comes as one key, its code point, which no procedure takes:
// it is typed only as the key a procedure puts in its place.
class KeyLineEdit : public QLineEdit {
  public:
    using QLineEdit::QLineEdit;
    // Runs the key procedure; empty: the field takes every key itself.
    std::function<void(int&)> keyPress;

  protected:
    void keyPressEvent(QKeyEvent* e) override;
    void inputMethodEvent(QInputMethodEvent* e) override;

  private:
    // Passes each character of `text` to the key procedure and types what it leaves.
    void typeEach(const QString& text);
};

// Makes the button run the control's Click and then `after`.
void BindButton(QPushButton* w, CommandButton& b, std::function<void()> after);
// Makes the option button select the control (which runs its Click) and then run `after`.
void BindOption(QRadioButton* w, OptionButton& o, std::function<void()> after);
// Makes the check box set the control's value (which runs its Click) and then run `after`.
void BindCheck(QCheckBox* w, CheckBox& c, std::function<void()> after);
// Makes the timer run the control's Tick while it is enabled, then `after`.
void BindTimer(QTimer& t, Timer& c, std::function<void()> after);
// Starts or stops the timer as the control's enabled state and interval say.
void ShowTimer(QTimer& t, const Timer& c);

// Makes widgets for controls and keeps how each one shows its control.
class ControlBinder {
  public:
    // `after` runs after every event that was passed to a control.
    explicit ControlBinder(std::function<void()> after) : after_(std::move(after)) {}

    // Shows every bound control again.
    void sync() const;
    // Adds a routine that shows something of the state when sync() runs.
    void onSync(std::function<void()> show) { syncers_.push_back(std::move(show)); }

    QGroupBox* frame(Frame& f, QWidget* parent, const QRect& r);
    QLabel* label(Label& l, QWidget* parent, const QRect& r);
    // A label placed by its own twips (centred on them, `size` pixels square, drawn `shiftY` twips
    // lower) that passes the mouse to its procedures with the pointer's position inside the
    // label's own box; for markers drawn over a picture.
    QLabel* marker(Label& l, QWidget* parent, int size, int shiftY = 0);
    QPushButton* button(CommandButton& b, QWidget* parent, const QRect& r);
    QLineEdit* textBox(TextBox& t, QWidget* parent, const QRect& r);
    QSlider* slider(Slider& s, QWidget* parent, const QRect& r);
    QCheckBox* check(CheckBox& c, QWidget* parent, const QRect& r);
    QRadioButton* option(OptionButton& o, QWidget* parent, const QRect& r);
    QComboBox* combo(ComboBox& c, QWidget* parent, const QRect& r);
    QWidget* upDown(UpDown& u, QWidget* parent, const QRect& r);
    QScrollBar* scrollBar(ScrollBar& s, QWidget* parent, const QRect& r);
    QWidget* shape(Shape& s, QWidget* parent, const QRect& r, bool round);
    QWidget* picture(PictureBox& p, QWidget* parent, const QRect& r);

  private:
    void after() const {
        if (after_) after_();
    }
    std::function<void()> after_;
    std::vector<std::function<void()>> syncers_;
};
