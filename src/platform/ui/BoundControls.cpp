#include "platform/ui/BoundControls.h"

#include "platform/ui/ViewSupport.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSlider>
#include <QTimer>
#include <QToolButton>

namespace {

constexpr int kKeyBackspace = 8;
constexpr int kKeyEnter = 13;
constexpr int kKeyEscape = 27;

// A caption as a desktop button shows it: runs of blanks taken as one, and words wrapped onto
// lines that fit the button's width.
QString WrappedCaption(const QString& caption, const QFontMetrics& fm, int width) {
    const QStringList words = caption.simplified().split(u' ', Qt::SkipEmptyParts);
    QStringList lines;
    QString line;
    for (const QString& w : words) {
        const QString wider = line.isEmpty() ? w : line + u' ' + w;
        if (!line.isEmpty() && fm.horizontalAdvance(wider) > width - 8) {
            lines << line;
            line = w;
        } else {
            line = wider;
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines.join(u'\n');
}

// Shows a slider's or scroll bar's range, position and common state without running its
// change procedure.
template <typename Widget, typename Ranged> void ShowRange(Widget* w, const Ranged& s) {
    const QSignalBlocker block(w);
    if (w->minimum() != s.Min || w->maximum() != s.Max) w->setRange(s.Min, s.Max);
    if (w->value() != s.value()) w->setValue(s.value());
    ShowControlState(w, s);
}

void ShowBackColor(QWidget* w, ColorValue back) {
    const QString sheet =
        back == kButtonFace ? QString() : QStringLiteral("background-color: %1;").arg(ToQColor(back).name());
    if (w->styleSheet() == sheet) return;
    // Setting or clearing a style sheet may give the widget the application's font in place of
    // the one it had from its window (the editing window's is smaller): it keeps the one it had.
    const QFont font = w->font();
    w->setStyleSheet(sheet);
    if (w->font() != font) w->setFont(font);
}

// An up-down control: two arrow buttons stacked.
class UpDownWidget : public QWidget {
  public:
    UpDownWidget(QWidget* parent, std::function<void(int)> step) : QWidget(parent) {
        up_ = new QToolButton(this);
        down_ = new QToolButton(this);
        up_->setArrowType(Qt::UpArrow);
        down_->setArrowType(Qt::DownArrow);
        up_->setAutoRepeat(true);
        down_->setAutoRepeat(true);
        QObject::connect(up_, &QToolButton::clicked, this, [step] { step(1); });
        QObject::connect(down_, &QToolButton::clicked, this, [step] { step(-1); });
    }

  protected:
    void resizeEvent(QResizeEvent*) override {
        const int h = height() / 2;
        up_->setGeometry(0, 0, width(), h);
        down_->setGeometry(0, h, width(), height() - h);
    }

  private:
    QToolButton* up_;
    QToolButton* down_;
};

// A lamp or LED: a filled rectangle or circle in the shape's fill colour. It paints every pixel
// of its box itself, so that a meter tick that changes its colour repaints only the shape and not
// the frames and captions behind it.
class ShapeWidget : public QWidget {
  public:
    ShapeWidget(QWidget* parent, const Shape& s, bool round) : QWidget(parent), s_(s), round_(round) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        if (round_) p.fillRect(rect(), palette().window());
        p.setRenderHint(QPainter::Antialiasing, round_);
        p.setPen(QColor(64, 64, 64));
        p.setBrush(ToQColor(s_.FillColor));
        const QRect r = rect().adjusted(0, 0, -1, -1);
        if (round_)
            p.drawEllipse(r);
        else
            p.drawRect(r);
    }

  private:
    const Shape& s_;
    bool round_;
};

// A graph picture: shows the image the graph code draws into.
class PictureWidget : public QWidget {
  public:
    PictureWidget(QWidget* parent, const PictureBox& p) : QWidget(parent), p_(p) {}

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (p_.Image.isNull())
            painter.fillRect(rect(), ToQColor(p_.BackColor));
        else
            painter.drawImage(0, 0, p_.Image);
        painter.setPen(Qt::darkGray);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

  private:
    const PictureBox& p_;
};

int MouseButtons(Qt::MouseButtons b) {
    return (b.testFlag(Qt::LeftButton) ? kLeftButton : 0) | (b.testFlag(Qt::RightButton) ? kRightButton : 0) |
           (b.testFlag(Qt::MiddleButton) ? kMiddleButton : 0);
}

int ShiftKeys(Qt::KeyboardModifiers m) {
    return (m.testFlag(Qt::ShiftModifier) ? kShiftMask : 0) |
           (m.testFlag(Qt::ControlModifier) ? kCtrlMask : 0) | (m.testFlag(Qt::AltModifier) ? kAltMask : 0);
}

// A label that passes mouse presses, moves and releases to its control's mouse procedures, with
// the pointer's position in twips from the label's top left corner.
class MouseLabel : public QLabel {
  public:
    MouseLabel(QWidget* parent, Label& l, std::function<void()> after)
        : QLabel(parent), l_(l), after_(std::move(after)) {
        setMouseTracking(true);
    }
    // Twips added to the pointer's position: where the widget's corner lies in the control's own
    // box when the widget is drawn at another size than the control's.
    void setOrigin(QPoint twips) { origin_ = twips; }

  protected:
    void mousePressEvent(QMouseEvent* e) override {
        if (run(l_.MouseDown, MouseButtons(e->button()), e)) return;
        // A label with a click procedure takes the press, so that the release comes to it.
        if (l_.Click) {
            e->accept();
            return;
        }
        QLabel::mousePressEvent(e);
    }
    void mouseMoveEvent(QMouseEvent* e) override {
        if (!run(l_.MouseMove, MouseButtons(e->buttons()), e)) QLabel::mouseMoveEvent(e);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        const bool handled = run(l_.MouseUp, MouseButtons(e->button()), e);
        if (l_.Click && e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
            l_.Click();
            if (after_) after_();
            return;
        }
        if (!handled) QLabel::mouseReleaseEvent(e);
    }

  private:
    bool run(const MouseProcedure& p, int button, QMouseEvent* e) {
        if (!p) return false;
        const QPoint at = e->position().toPoint();
        p(button, ShiftKeys(e->modifiers()), at.x() * kTwipsPerPixel + origin_.x(),
          at.y() * kTwipsPerPixel + origin_.y());
        if (after_) after_();
        return true;
    }
    Label& l_;
    std::function<void()> after_;
    QPoint origin_;
};

} // namespace

// ---------------------------------------------------------------- key line edit

void KeyLineEdit::keyPressEvent(QKeyEvent* e) {
    if (!keyPress) return QLineEdit::keyPressEvent(e);
    const bool ctrl = e->modifiers().testFlag(Qt::ControlModifier);
    int key = -1;
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter)
        key = kKeyEnter;
    else if (e->key() == Qt::Key_Backspace)
        key = kKeyBackspace;
    else if (e->key() == Qt::Key_Escape)
        key = kKeyEscape;
    else if (ctrl && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z)
        key = e->key() - Qt::Key_A + 1;
    else if (e->key() != Qt::Key_Delete && !e->text().isEmpty()) {
        const QString text = e->text();
        if (text.size() > 1 || text[0].isSurrogate()) {
            // Several characters, or one outside the basic plane: each is a key of its own.
            e->accept();
            typeEach(text);
            return;
        }
        key = text[0].unicode(); // any character, control characters included
    }
    // Keys that type nothing (caret movement, Delete, function keys) are the field's own.
    if (key < 0) return QLineEdit::keyPressEvent(e);
    const int typed = key;
    keyPress(key);
    if (key == kKeyEnter) {
        e->accept(); // Enter is the procedure's; it types nothing
        return;
    }
    if (key == typed) return QLineEdit::keyPressEvent(e);
    e->accept();
    if (key >= 32) insert(QString(QChar(key))); // a key the procedure changed; 0 is swallowed
}

void KeyLineEdit::inputMethodEvent(QInputMethodEvent* e) {
    if (!keyPress || e->commitString().isEmpty()) return QLineEdit::inputMethodEvent(e);
    e->accept();
    // The composition ends and what the commit replaces goes; then the committed text is typed
    // key by key, and a composition that goes on after it is shown again.
    QInputMethodEvent end;
    end.setCommitString(QString(), e->replacementStart(), e->replacementLength());
    QLineEdit::inputMethodEvent(&end);
    const QPointer<KeyLineEdit> self(this);
    typeEach(e->commitString());
    if (!self || e->preeditString().isEmpty()) return;
    QInputMethodEvent next(e->preeditString(), e->attributes());
    QLineEdit::inputMethodEvent(&next);
}

void KeyLineEdit::typeEach(const QString& text) {
    const QPointer<KeyLineEdit> self(this);
    for (const char32_t c : text.toUcs4()) {
        int key = static_cast<int>(c);
        keyPress(key);
        if (!self) return; // the procedure closed the field's window
        if (key == kKeyBackspace) {
            backspace();
            continue;
        }
        // Enter is the procedure's, 0 is swallowed, other control keys type nothing; a character
        // outside the basic plane that the procedure left as it was is refused.
        if (key < 32 || (key > 0xFFFF && key == static_cast<int>(c))) continue;
        const char32_t typed = static_cast<char32_t>(key);
        insert(QString::fromUcs4(&typed, 1));
    }
}

// ---------------------------------------------------------------- free binders

void BindButton(QPushButton* w, CommandButton& b, std::function<void()> after) {
    QObject::connect(w, &QPushButton::clicked, w, [&b, after] {
        if (b.Click) b.Click();
        if (after) after();
    });
}

void BindOption(QRadioButton* w, OptionButton& o, std::function<void()> after) {
    w->setAutoExclusive(false); // the window's own groups decide
    QObject::connect(w, &QRadioButton::clicked, w, [&o, after] {
        o.setValue(true);
        if (after) after();
    });
}

void BindCheck(QCheckBox* w, CheckBox& c, std::function<void()> after) {
    QObject::connect(w, &QCheckBox::clicked, w, [&c, after](bool on) {
        c.setValue(on ? 1 : 0);
        if (after) after();
    });
}

void BindTimer(QTimer& t, Timer& c, std::function<void()> after) {
    QObject::connect(&t, &QTimer::timeout, &t, [&c, after] {
        if (c.Enabled && c.Tick) c.Tick();
        if (after) after();
    });
}

void ShowTimer(QTimer& t, const Timer& c) {
    if (c.Enabled && c.Interval > 0) {
        if (!t.isActive() || t.interval() != c.Interval) t.start(c.Interval);
    } else {
        t.stop();
    }
}

// ---------------------------------------------------------------- control binder

void ControlBinder::sync() const {
    for (const auto& s : syncers_)
        s();
}

QGroupBox* ControlBinder::frame(Frame& f, QWidget* parent, const QRect& r) {
    auto* g = new QGroupBox(f.Caption, parent);
    g->setGeometry(r);
    onSync([g, &f] {
        if (g->title() != f.Caption) g->setTitle(f.Caption);
        ShowControlState(g, f);
    });
    return g;
}

QLabel* ControlBinder::label(Label& l, QWidget* parent, const QRect& r) {
    auto* w = new MouseLabel(parent, l, [this] { after(); });
    w->setText(l.Caption);
    w->setGeometry(r);
    onSync([w, &l] {
        if (w->text() != l.Caption) w->setText(l.Caption);
        ShowControlState(w, l);
        // Captions in a colour of their own (black is the style's text colour).
        const QString sheet =
            l.ForeColor == kBlack ? QString() : QStringLiteral("color: %1;").arg(ToQColor(l.ForeColor).name());
        if (w->styleSheet() != sheet) w->setStyleSheet(sheet);
    });
    return w;
}

QLabel* ControlBinder::marker(Label& l, QWidget* parent, int size, int shiftY) {
    auto* m = new MouseLabel(parent, l, [this] { after(); });
    m->setAlignment(Qt::AlignCenter);
    onSync([m, &l, size, shiftY] {
        if (m->text() != l.Caption) m->setText(l.Caption);
        const int cx = TwipsToPixels(l.Left + l.Width / 2);
        const int cy = TwipsToPixels(l.Top + l.Height / 2 + shiftY);
        m->setGeometry(cx - size / 2, cy - size / 2, size, size);
        // The pointer's position is passed inside the control's box: the widget's centre is the
        // box's centre.
        m->setOrigin(
            QPoint(l.Width / 2 - size * kTwipsPerPixel / 2, l.Height / 2 - size * kTwipsPerPixel / 2));
        ShowControlState(m, l);
    });
    return m;
}

QPushButton* ControlBinder::button(CommandButton& b, QWidget* parent, const QRect& r) {
    auto* w = new QPushButton(parent);
    w->setGeometry(r);
    BindButton(w, b, [this] { after(); });
    onSync([w, &b] {
        const QString text = WrappedCaption(b.Caption, w->fontMetrics(), w->width());
        if (w->text() != text) w->setText(text);
        ShowBackColor(w, b.BackColor);
        ShowControlState(w, b);
    });
    return w;
}

QLineEdit* ControlBinder::textBox(TextBox& t, QWidget* parent, const QRect& r) {
    auto* w = new KeyLineEdit(parent);
    w->setGeometry(r);
    w->keyPress = [this, &t](int& key) {
        if (!t.KeyPress) return;
        t.KeyPress(key);
        after();
    };
    // What the operator typed is the field's text at once, as the key procedures read it.
    QObject::connect(w, &QLineEdit::textChanged, w, [&t](const QString& s) { t.Text = s; });
    onSync([w, &t] {
        if (w->text() != t.Text) w->setText(t.Text);
        w->setReadOnly(t.Locked);
        ShowControlState(w, t);
    });
    return w;
}

QSlider* ControlBinder::slider(Slider& s, QWidget* parent, const QRect& r) {
    auto* w = new QSlider(r.width() > r.height() ? Qt::Horizontal : Qt::Vertical, parent);
    w->setGeometry(r);
    // Position 0 is at the top, as the windows' sliders are laid out.
    w->setInvertedAppearance(w->orientation() == Qt::Vertical);
    w->setInvertedControls(w->orientation() == Qt::Vertical);
    // The device gets the value when the operator lets go, not on every step of a drag.
    w->setTracking(false);
    QObject::connect(w, &QSlider::valueChanged, w, [this, &s](int v) {
        s.setValue(v);
        if (s.Change) s.Change();
        after();
    });
    onSync([w, &s] {
        ShowRange(w, s);
        if (w->singleStep() != s.SmallChange) w->setSingleStep(s.SmallChange);
        if (w->pageStep() != s.LargeChange) w->setPageStep(s.LargeChange);
    });
    return w;
}

QCheckBox* ControlBinder::check(CheckBox& c, QWidget* parent, const QRect& r) {
    auto* w = new QCheckBox(c.Caption, parent);
    w->setGeometry(r);
    BindCheck(w, c, [this] { after(); });
    onSync([w, &c] {
        const QSignalBlocker block(w);
        if (w->text() != c.Caption) w->setText(c.Caption);
        w->setChecked(c.value() != 0);
        ShowControlState(w, c);
    });
    return w;
}

QRadioButton* ControlBinder::option(OptionButton& o, QWidget* parent, const QRect& r) {
    auto* w = new QRadioButton(o.Caption, parent);
    w->setGeometry(r);
    BindOption(w, o, [this] { after(); });
    onSync([w, &o] {
        const QSignalBlocker block(w);
        if (w->text() != o.Caption) w->setText(o.Caption);
        w->setChecked(o.value());
        ShowControlState(w, o);
    });
    return w;
}

QComboBox* ControlBinder::combo(ComboBox& c, QWidget* parent, const QRect& r) {
    auto* w = new QComboBox(parent);
    w->setGeometry(r);
    QObject::connect(w, &QComboBox::activated, w, [this, &c](int i) {
        c.setListIndex(i);
        after();
    });
    onSync([w, &c] {
        const QSignalBlocker block(w);
        QStringList now;
        for (int i = 0; i < w->count(); ++i)
            now << w->itemText(i);
        if (now != c.items) {
            w->clear();
            w->addItems(c.items);
        }
        w->setCurrentIndex(c.listIndex());
        ShowControlState(w, c);
    });
    return w;
}

QWidget* ControlBinder::upDown(UpDown& u, QWidget* parent, const QRect& r) {
    auto* w = new UpDownWidget(parent, [this, &u](int dir) {
        u.setValue(u.value() + dir * u.Increment);
        after();
    });
    w->setGeometry(r);
    onSync([w, &u] { ShowControlState(w, u); });
    return w;
}

QScrollBar* ControlBinder::scrollBar(ScrollBar& s, QWidget* parent, const QRect& r) {
    auto* w = new QScrollBar(Qt::Horizontal, parent);
    w->setGeometry(r);
    QObject::connect(w, &QScrollBar::valueChanged, w, [this, &s](int v) {
        s.setValue(v);
        after();
    });
    onSync([w, &s] { ShowRange(w, s); });
    return w;
}

QWidget* ControlBinder::shape(Shape& s, QWidget* parent, const QRect& r, bool round) {
    auto* w = new ShapeWidget(parent, s, round);
    w->setGeometry(r);
    onSync([w, &s] {
        ShowControlState(w, s);
        w->update();
    });
    return w;
}

QWidget* ControlBinder::picture(PictureBox& p, QWidget* parent, const QRect& r) {
    auto* w = new PictureWidget(parent, p);
    w->setGeometry(r);
    onSync([w, &p] {
        ShowControlState(w, p);
        w->update();
    });
    return w;
}
