#include "window/ui/FrmCtrlView.h"
#include "common/Index.h"

#include "graph/MarkerScale.h"
#include "platform/ui/BoundControls.h"
#include "platform/ui/ViewSupport.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QStyle>
#include <QTabWidget>

#include <algorithm>

namespace {

// Geometry of the window, in pixels.
constexpr int kTopBarHeight = 76;
constexpr int kSectionTop = kTopBarHeight + 2;
constexpr int kSectionHeight = FrmCtrlView::kClientHeight - kSectionTop - 2;
constexpr int kPictureLeft = 40;
constexpr int kPictureTop = 20;
constexpr int kPictureWidth = 576;
constexpr int kPictureHeight = 192;
constexpr int kRightColumn = 632;
constexpr int kBandColumn = 72;
constexpr int kMarkerSize = 12;
constexpr int kScaleFrameHeight = 40; // "Graphic Scale Gain" of an output graph
constexpr int kDynamicsColumn = 40;   // a limiter or compressor value: caption, field and slider

// Fixed texts and frames of the layout that no procedure changes.
QLabel* caption(const QString& text, QWidget* parent, const QRect& r) {
    auto* w = new QLabel(text, parent);
    w->setGeometry(r);
    return w;
}

QGroupBox* plainFrame(const QString& title, QWidget* parent, const QRect& r) {
    auto* g = new QGroupBox(title, parent);
    g->setGeometry(r);
    return g;
}

} // namespace

// ---------------------------------------------------------------- layout

FrmCtrlView::FrmCtrlView(FrmCtrl& frm, QWidget* parent)
    : QWidget(parent), frm_(frm), bind_([this] { afterEvent(); }) {
    setFixedSize(kClientWidth, kClientHeight);
    QFont small = font();
    small.setPointSizeF(std::max(6.5, small.pointSizeF() - 1.5));
    setFont(small);
    buildTopBar();
    for (int ch = 0; ch < kChannels; ++ch)
        buildSection(ch);
    // The meter poll: the window's own Timer1 element ticks at its interval while enabled; after a
    // tick the window shows its meters again (a closed window's timer stops).
    pollTimer_.setObjectName(QStringLiteral("Timer1"));
    connect(&pollTimer_, &QTimer::timeout, this, [this] { pollTick(); });
    for (int i = 0; i < static_cast<int>(frm_.Shape1.size()); ++i)
        if (QWidget* w = findChild<QWidget*>(QStringLiteral("Shape1_%1").arg(i)))
            lamps_.push_back({w, &frm_.Shape1[U(i)], frm_.Shape1[U(i)].FillColor});
    for (int i = 0; i < static_cast<int>(frm_.Shape50.size()); ++i)
        if (QWidget* w = findChild<QWidget*>(QStringLiteral("Shape50_%1").arg(i)))
            lamps_.push_back({w, &frm_.Shape50[U(i)], frm_.Shape50[U(i)].FillColor});
    sync();
}

void FrmCtrlView::buildTopBar() {
    auto* bar = new QFrame(this);
    bar->setObjectName(QStringLiteral("Toolbar1"));
    bar->setFrameShape(QFrame::StyledPanel);
    bar->setGeometry(0, 0, kClientWidth, kTopBarHeight);
    FrmCtrl& f = frm_;
    int x = 4;
    auto next = [&x](int w) {
        const QRect r(x, 4, w, 40);
        x += w + 3;
        return r;
    };
    const std::pair<int, QStyle::StandardPixmap> icons[] = {{0, QStyle::SP_DialogOpenButton},
                                                            {1, QStyle::SP_DialogSaveButton},
                                                            {5, QStyle::SP_DialogCancelButton},
                                                            {6, QStyle::SP_FileDialogDetailedView}};
    for (const auto& [i, icon] : icons) {
        QPushButton* b = bind_.button(f.Command2[U(i)], bar, next(36));
        b->setIcon(style()->standardIcon(icon));
        b->setObjectName(QStringLiteral("Command2_%1").arg(i));
    }
    x += 6;
    // "Borrar memoria" beside " Leer memoria".
    for (int i : {9, 11, 2, 10, 8})
        bind_.button(f.Command2[U(i)], bar, next(68))->setObjectName(QStringLiteral("Command2_%1").arg(i));
    bind_.button(f.Command11, bar, next(60))->setObjectName(QStringLiteral("Command11"));
    bind_.button(f.Command18, bar, next(70))->setObjectName(QStringLiteral("Command18"));
    bind_.button(f.Command19, bar, next(70))->setObjectName(QStringLiteral("Command19"));
    bind_.button(f.Command6[0], bar, next(52));
    bind_.button(f.Command6[1], bar, next(52));
    x += 4;
    bind_.check(f.Check10, bar, QRect(x, 4, kClientWidth - x - 4, 40))
        ->setObjectName(QStringLiteral("Check10"));

    // Second row: the buttons shown in service mode only.
    x = 4;
    auto next2 = [&x](int w) {
        const QRect r(x, 48, w, 24);
        x += w + 3;
        return r;
    };
    for (int i = 0; i < kChannels; ++i)
        bind_.button(f.Command15[U(i)], bar, next2(150))
            ->setObjectName(QStringLiteral("Command15_%1").arg(i));
    bind_.button(f.Command16[0], bar, next2(130))->setObjectName(QStringLiteral("Command16_0"));
    bind_.button(f.Command16[1], bar, next2(130))->setObjectName(QStringLiteral("Command16_1"));
    bind_.button(f.Command17, bar, next2(130))->setObjectName(QStringLiteral("Command17"));
}

void FrmCtrlView::buildSection(int ch) {
    QGroupBox* s =
        bind_.frame(frm_.Frame25[U(ch)], this, QRect(2, kSectionTop, kClientWidth - 4, kSectionHeight));
    s->setObjectName(QStringLiteral("Frame25_%1").arg(ch));
    sections_[U(ch)] = s;
    buildGraph(ch, s);
    buildEqualiser(ch, s);
    buildGainDelay(ch, s);
    if (ch == 0)
        buildInputPanels(s);
    else
        buildOutputPanels(ch, s);
}

void FrmCtrlView::buildGraph(int g, QWidget* parent) {
    FrmCtrl& f = frm_;
    QWidget* pic = bind_.picture(f.Picture1[U(g)], parent,
                                 QRect(kPictureLeft, kPictureTop, kPictureWidth, kPictureHeight));
    pic->setObjectName(QStringLiteral("Picture1_%1").arg(g));

    // Band markers on the picture, placed by their twips and shown in their front order.
    const int first = ChannelFirstBand(g);
    const int count = ChannelBandCount(g);
    std::vector<QLabel*> markers;
    for (int b = first; b < first + count; ++b) {
        QLabel* m = bind_.marker(f.Label5[U(b)], pic, kMarkerSize, MarkerViewShiftTwips());
        m->setStyleSheet(
            QStringLiteral("background-color: #ffff80; border: 1px solid black; font-size: 7pt;"));
        markers.push_back(m);
    }
    bind_.onSync([markers, first, &f] {
        std::vector<int> order(markers.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = static_cast<int>(i);
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return f.Label5[U(first + a)].ZOrder < f.Label5[U(first + b)].ZOrder;
        });
        for (int i : order)
            markers[U(i)]->raise();
    });

    // Axis captions: dB on the left (magnitude view), degrees in the same place (phase view),
    // frequencies below.
    for (int i = 0; i < 7; ++i)
        bind_.label(f.Label4[U(8 * g + 1 + i)], parent, QRect(6, kPictureTop + i * 32 - 7, 32, 14))
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    for (int i = 0; i < 9; ++i)
        bind_.label(f.Label6[U(9 * g + i)], parent, QRect(4, kPictureTop + i * 24 - 7, 34, 14))
            ->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int captionTop = kPictureTop + kPictureHeight + 1;
    bind_.label(f.Label4[U(8 * g)], parent, QRect(kPictureLeft, captionTop, 40, 14));
    for (int i = 0; i < 3; ++i) {
        const Label& c = f.FreqCaption[U(3 * g + i)];
        bind_
            .label(f.FreqCaption[U(3 * g + i)], parent,
                   QRect(kPictureLeft + TwipsToPixels(c.Left), captionTop, TwipsToPixels(c.Width), 14))
            ->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    }

    // View options below the graph.
    const int y = kPictureTop + kPictureHeight + 17;
    bind_.check(f.Check3[U(g)], parent, QRect(kPictureLeft, y, 90, 20));
    bind_.option(f.Option2[U(g)], parent, QRect(kPictureLeft + 96, y, 50, 20));
    bind_.option(f.Option5[U(g)], parent, QRect(kPictureLeft + 148, y, 60, 20));
    if (g == 0) {
        for (int i = 0; i < 3; ++i)
            bind_.option(f.Option3[U(i)], parent, QRect(kPictureLeft + 220 + i * 118, y, 116, 20));
        return;
    }
    // An output graph: the overlay box and the curves' captions beside "Mag" and "Phase"; below
    // them "Output" or "Output+Input" and the dB ranges in their frame "Graphic Scale Gain".
    const int k = g - 1;
    bind_.check(f.Check4[U(k)], parent, QRect(kPictureLeft + 220, y, 100, 20));
    bind_.label(f.Label10[U(2 + 2 * k)], parent, QRect(kPictureLeft + 330, y, 100, 20));
    bind_.label(f.Label10[U(3 + 2 * k)], parent, QRect(kPictureLeft + 434, y, 100, 20));
    const int y2 = y + 18;
    QGroupBox* scale =
        bind_.frame(f.Frame11[U(g)], parent, QRect(kPictureLeft + 186, y2, 390, kScaleFrameHeight));
    scale->setObjectName(QStringLiteral("Frame11_%1").arg(g));
    for (int i = 0; i < 3; ++i)
        bind_.option(f.Option3[U(3 * g + i)], scale, QRect(8 + i * 126, 16, 120, 20));
    bind_.option(f.Option4[U(2 * k)], parent, QRect(kPictureLeft, y2 + 16, 70, 20));
    bind_.option(f.Option4[U(2 * k + 1)], parent, QRect(kPictureLeft + 72, y2 + 16, 110, 20));
}

void FrmCtrlView::buildEqualiser(int ch, QWidget* parent) {
    FrmCtrl& f = frm_;
    // On an output section below the frame of the graph's dB ranges.
    const int top = kPictureTop + kPictureHeight + (ch == 0 ? 60 : 60 + kScaleFrameHeight / 2);
    QGroupBox* eq = bind_.frame(f.Frame5[U(ch)], parent, QRect(6, top, 620, kSectionHeight - top - 6));
    const int first = ChannelFirstBand(ch);
    const int count = ChannelBandCount(ch);
    for (int j = 0; j < count; ++j) {
        const int b = first + j;
        const int x = 6 + j * kBandColumn;
        bind_.button(f.Command10[U(b)], eq, QRect(x, 18, kBandColumn - 4, 22));
        bind_.button(f.Command5[U(b)], eq, QRect(x, 42, kBandColumn - 4, 20));
        bind_.slider(f.Slider2[U(b)], eq, QRect(x + 22, 64, 24, 112));
        bind_.textBox(f.Text9[U(b)], eq, QRect(x, 180, kBandColumn - 4, 20));
        bind_.textBox(f.Text4[U(b)], eq, QRect(x, 204, kBandColumn - 22, 20));
        bind_.upDown(f.UpDown4[U(b)], eq, QRect(x + kBandColumn - 21, 204, 17, 20));
        bind_.textBox(f.Text5[U(b)], eq, QRect(x, 228, kBandColumn - 22, 20));
        bind_.upDown(f.UpDown3[U(b)], eq, QRect(x + kBandColumn - 21, 228, 17, 20));
        bind_.textBox(f.Text50[U(b)], eq, QRect(x, 252, kBandColumn - 22, 20));
    }
    const int bx = 6 + 7 * kBandColumn;
    bind_.button(f.Command1[U(ch)], eq, QRect(bx, 18, 100, 30));
    // The bypass button lies over the frame, not in it: the frame is disabled while the
    // equaliser is bypassed, and the button must stay usable to switch it back.
    bind_.button(f.Command40[U(ch)], parent, QRect(6 + bx, top + 54, 100, 40))
        ->setObjectName(QStringLiteral("Command40_%1").arg(ch));
    const char* rows[] = {"Gain dB", "Freq Hz", "Q", "BW oct"};
    for (int i = 0; i < 4; ++i)
        caption(QString::fromLatin1(rows[i]), eq, QRect(bx + 4, 180 + 24 * i, 90, 20));
}

void FrmCtrlView::buildGainDelay(int ch, QWidget* parent) {
    FrmCtrl& f = frm_;
    QGroupBox* gain = bind_.frame(f.Frame1[U(ch)], parent, QRect(kRightColumn, 16, 80, 120));
    bind_.textBox(f.Text1[U(ch)], gain, QRect(8, 18, 64, 20))
        ->setObjectName(QStringLiteral("Text1_%1").arg(ch));
    bind_.slider(f.Slider1[U(ch)], gain, QRect(28, 40, 24, 76))
        ->setObjectName(QStringLiteral("Slider1_%1").arg(ch));

    QGroupBox* delay = bind_.frame(f.Frame3[U(ch)], parent, QRect(kRightColumn + 84, 16, 160, 80));
    bind_.textBox(f.Text2[U(ch)], delay, QRect(8, 18, 144, 20))
        ->setObjectName(QStringLiteral("Text2_%1").arg(ch));
    caption(QStringLiteral("Adj"), delay, QRect(8, 44, 30, 28));
    bind_.upDown(f.UpDown2[U(ch)], delay, QRect(38, 44, 20, 28));
    caption(QStringLiteral("Fine"), delay, QRect(80, 44, 30, 28));
    bind_.upDown(f.UpDown1[U(ch)], delay, QRect(112, 44, 20, 28));
}

void FrmCtrlView::buildMeter(int m, QWidget* parent, const QRect& r) {
    FrmCtrl& f = frm_;
    QGroupBox* box = bind_.frame(f.MeterFrame[U(m)], parent, r);
    // Seven LEDs, the first at the bottom, each with its level caption beside it.
    static const char* const input[] = {"-20dBu",  "-10 dBu", "   0 dBu", "+ 3 dBu",
                                        "+ 6 dBu", "+10 dBu", " Clip"};
    static const char* const output[] = {"-20 dB",  "-10 dB",  "- 6 dB", "- 3 dB",
                                         "   0 dB", "  Limit", " Clip"};
    const char* const* captions = m < 2 ? input : output;
    for (int led = 0; led < 7; ++led) {
        const int y = 12 + (6 - led) * 13;
        bind_.shape(f.Shape1[U(7 * m + led)], box, QRect(6, y, 16, 10), false)
            ->setObjectName(QStringLiteral("Shape1_%1").arg(7 * m + led));
        caption(QString::fromLatin1(captions[led]), box, QRect(26, y - 2, r.width() - 28, 14));
    }
}

void FrmCtrlView::buildInputPanels(QWidget* parent) {
    FrmCtrl& f = frm_;
    QGroupBox* dlf = plainFrame(QStringLiteral("D.L.F."), parent, QRect(kRightColumn + 248, 16, 88, 56));
    bind_.check(f.Check5, dlf, QRect(8, 20, 60, 20))->setObjectName(QStringLiteral("Check5"));
    bind_.shape(f.Shape4, dlf, QRect(68, 24, 12, 12), true);

    // Meters of the input (with the second input bar beside it, which nothing drives) and both
    // outputs; each channel's mute button below its meter.
    const int y = 140;
    for (int m = 0; m < 4; ++m) {
        const int x = kRightColumn + m * 84;
        buildMeter(m, parent, QRect(x, y, 82, 110));
        if (m == 1) continue;
        const int ch = m == 0 ? 0 : m - 1;
        if (ch > 0) bind_.label(f.Label1[U(24 + ch)], parent, QRect(x, y + 112, 82, 16));
        bind_.button(f.Command4[U(ch)], parent, QRect(x, y + 130, 80, 28))
            ->setObjectName(QStringLiteral("Command4_%1").arg(ch));
    }

    QGroupBox* units = plainFrame(QStringLiteral("Unidades"), parent, QRect(kRightColumn, 364, 150, 90));
    QGroupBox* delayUnits = plainFrame(QStringLiteral("Delay Units"), units, QRect(8, 18, 134, 64));
    bind_.option(f.Option1[0], delayUnits, QRect(8, 18, 120, 20));
    bind_.option(f.Option1[1], delayUnits, QRect(8, 40, 120, 20));

    QGroupBox* temp =
        plainFrame(QStringLiteral("Temperatura"), parent, QRect(kRightColumn + 156, 364, 180, 110));
    bind_.scrollBar(f.HScroll1, temp, QRect(8, 20, 164, 18));
    bind_.label(f.Label13, temp, QRect(8, 42, 164, 18))->setAlignment(Qt::AlignCenter);
    bind_.option(f.Option6[0], temp, QRect(8, 62, 100, 20));
    bind_.option(f.Option6[1], temp, QRect(8, 84, 100, 20));
    buildInertPanels(parent, QRect(kRightColumn, 480, 336, 110));
}

void FrmCtrlView::buildInertPanels(QWidget* parent, const QRect& r) {
    FrmCtrl& f = frm_;
    auto* tabs = new QTabWidget(parent);
    tabs->setGeometry(r);
    tabs->setObjectName(QStringLiteral("SSTab1"));
    std::vector<QWidget*> pages;
    for (const QString& caption : f.SSTab1.Tabs) {
        pages.push_back(new QWidget(tabs));
        tabs->addTab(pages.back(), caption);
    }
    if (pages.size() < 4) return;
    QObject::connect(tabs, &QTabWidget::currentChanged, tabs, [&f](int i) { f.SSTab1.Tab = i; });

    // The block diagram of each channel: the input stages on the first row, the channel's own
    // stages on the second.
    for (int c = 0; c < 2; ++c) {
        const std::array<Label*, 5> inputRow = {&f.Label400[U(c)], &f.Label100[U(c)], &f.Label200[U(c)],
                                                &f.Label100[U(c == 0 ? 2 : 7)], &f.Label100[U(3 + c)]};
        std::array<Label*, 6> channelRow = {&f.Label300[U(c)]};
        for (int j = 0; j < 5; ++j)
            channelRow[U(j + 1)] = &f.Label100[U(10 + 5 * c + j)];
        for (size_t j = 0; j < inputRow.size(); ++j)
            bind_.label(*inputRow[j], pages[U(c)], QRect(4 + 54 * static_cast<int>(j), 8, 52, 18))
                ->setAlignment(Qt::AlignCenter);
        for (size_t j = 0; j < channelRow.size(); ++j)
            bind_.label(*channelRow[j], pages[U(c)], QRect(4 + 54 * static_cast<int>(j), 40, 52, 18))
                ->setAlignment(Qt::AlignCenter);
    }

    QGroupBox* peak = plainFrame(QStringLiteral("Show Peak Limiter"), pages[2], QRect(4, 2, 200, 74));
    int x = 8;
    for (Slider* s : {&f.Slider40, &f.Slider50, &f.Slider60}) {
        bind_.slider(*s, peak, QRect(x, 18, 24, 52));
        x += 40;
    }
    bind_.textBox(f.Text17, pages[2], QRect(212, 8, 60, 22));
    bind_.slider(f.Slider3, pages[2], QRect(280, 8, 24, 68));

    QGroupBox* security = plainFrame(QStringLiteral("Security Utility"), pages[3], QRect(4, 2, 196, 74));
    const char* items[] = {"Enable Password", "Lock Unit", "Show Parameter"};
    for (int i = 0; i < 3; ++i)
        new QCheckBox(QString::fromLatin1(items[i]), security);
    const auto boxes = security->findChildren<QCheckBox*>();
    for (int i = 0; i < boxes.size(); ++i)
        boxes[i]->setGeometry(8, 16 + 18 * i, 110, 18);
    (new QLabel(QStringLiteral("User Password"), security))->setGeometry(116, 16, 80, 18);
    plainFrame(QStringLiteral("Bridge Mode"), pages[3], QRect(204, 2, 60, 74));
    plainFrame(QStringLiteral("Protect"), pages[3], QRect(268, 2, 60, 74));
}

void FrmCtrlView::buildCrossover(int k, QWidget* parent, const QRect& r) {
    FrmCtrl& f = frm_;
    QGroupBox* box = bind_.frame(f.Frame7[U(k)], parent, r);
    bind_.combo(f.Combo2[U(k)], box, QRect(6, 18, r.width() - 12, 22));
    TextBox* freq[] = {&f.Text8[U(k)], &f.Text10[U(k)], &f.Text11[U(k)], &f.Text13[U(k)]};
    UpDown* freqUd[] = {&f.UpDown5[U(k)], &f.UpDown6[U(k)], &f.UpDown7[U(k)], &f.UpDown8[U(k)]};
    TextBox* q[] = {&f.Text12[U(k)], &f.Text14[U(k)], &f.Text15[U(k)], &f.Text16[U(k)]};
    UpDown* qUd[] = {&f.UpDown12[U(k)], &f.UpDown9[U(k)], &f.UpDown10[U(k)], &f.UpDown11[U(k)]};
    caption(QStringLiteral("Hz"), box, QRect(6, 42, 60, 14));
    caption(QStringLiteral("Q"), box, QRect(90, 42, 60, 14));
    for (int i = 0; i < 4; ++i) {
        const int y = 56 + i * 24;
        bind_.textBox(*freq[i], box, QRect(6, y, 58, 20));
        bind_.upDown(*freqUd[i], box, QRect(65, y, 16, 20));
        bind_.textBox(*q[i], box, QRect(90, y, 48, 20));
        bind_.upDown(*qUd[i], box, QRect(139, y, 16, 20));
    }
    bind_.check(f.Check1[U(k)], box, QRect(6, 154, r.width() - 12, 20));
    bind_.button(f.Command7[U(k)], box, QRect(6, 178, (r.width() - 16) / 2, 26));
    bind_.button(f.Command12[U(k)], box, QRect(10 + (r.width() - 16) / 2, 178, (r.width() - 16) / 2, 26));
}

void FrmCtrlView::buildOutputPanels(int ch, QWidget* parent) {
    FrmCtrl& f = frm_;
    QGroupBox* phase = bind_.frame(f.Frame2[U(ch)], parent, QRect(kRightColumn + 248, 16, 88, 56));
    bind_.check(f.Check2[U(ch)], phase, QRect(8, 22, 70, 20))
        ->setObjectName(QStringLiteral("Check2_%1").arg(ch));

    // Lamps of the output's compressor (Shape50 ch - 1) and limiter (Shape50 ch + 1).
    const std::pair<int, const char*> lamps[] = {{ch - 1, "Compressor"}, {ch + 1, "Limiter"}};
    for (int i = 0; i < 2; ++i) {
        const int x = kRightColumn + 92 + i * 92;
        bind_.shape(f.Shape50[U(lamps[i].first)], parent, QRect(x, 110, 12, 12), true)
            ->setObjectName(QStringLiteral("Shape50_%1").arg(lamps[i].first));
        caption(QString::fromLatin1(lamps[i].second), parent, QRect(x + 16, 109, 72, 14));
    }

    const int k = 2 * (ch - 1);
    buildCrossover(k, parent, QRect(kRightColumn, 140, 166, 212));
    buildCrossover(k + 1, parent, QRect(kRightColumn + 170, 140, 166, 212));

    // Peak limiter: threshold, release, attack. Each caption stands within its own column, on two
    // lines where one is too narrow, just above its field.
    QGroupBox* lim =
        bind_.frame(f.Frame8[U(ch + 2)], parent, QRect(kRightColumn, 356, 128, kSectionHeight - 362));
    lim->setObjectName(QStringLiteral("Frame8_%1").arg(ch + 2));
    struct Column {
        Slider* s;
        TextBox* t;
        const char* caption;
        const char* name;
    };
    auto column = [this, ch](QWidget* frame, const Column& c, int x, int width) {
        QLabel* l = caption(QString::fromLatin1(c.caption), frame, QRect(x, 14, width, 28));
        l->setAlignment(Qt::AlignHCenter | Qt::AlignBottom);
        l->setWordWrap(true);
        bind_.textBox(*c.t, frame, QRect(x + 1, 44, width - 2, 20));
        bind_.slider(*c.s, frame, QRect(x + (width - 24) / 2, 68, 24, 108))
            ->setObjectName(QStringLiteral("%1_%2").arg(QString::fromLatin1(c.name)).arg(ch));
    };
    const Column limiter[] = {{&f.Slider500[U(ch)], &f.Text500[U(ch)], "Thr [dBu]", "Slider500"},
                              {&f.Slider503[U(ch)], &f.Text503[U(ch)], "Release", "Slider503"},
                              {&f.Slider504[U(ch)], &f.Text504[U(ch)], "Attack", "Slider504"}};
    for (int i = 0; i < 3; ++i)
        column(lim, limiter[i], 4 + i * kDynamicsColumn, kDynamicsColumn);
    // The bypass buttons lie over their frames but are not inside them: a bypassed frame is
    // disabled, and its button must stay usable to bring the section back.
    bind_.button(f.Command13[U(ch)], parent, QRect(kRightColumn + 8, 356 + 182, 118, 40))
        ->setObjectName(QStringLiteral("Command13_%1").arg(ch));

    // RMS compressor: threshold, ratio, knee, release, attack.
    QGroupBox* comp =
        bind_.frame(f.Frame8[U(ch)], parent, QRect(kRightColumn + 132, 356, 204, kSectionHeight - 362));
    comp->setObjectName(QStringLiteral("Frame8_%1").arg(ch));
    const Column compressor[] = {{&f.Slider400[U(ch)], &f.Text400[U(ch)], "Thr [dBu]", "Slider400"},
                                 {&f.Slider401[U(ch)], &f.Text401[U(ch)], "Ratio", "Slider401"},
                                 {&f.Slider402[U(ch)], &f.Text402[U(ch)], "S/H Knee", "Slider402"},
                                 {&f.Slider403[U(ch)], &f.Text403[U(ch)], "Release", "Slider403"},
                                 {&f.Slider404[U(ch)], &f.Text404[U(ch)], "Attack", "Slider404"}};
    for (int i = 0; i < 5; ++i)
        column(comp, compressor[i], 2 + i * kDynamicsColumn, kDynamicsColumn);
    bind_.button(f.Command14[U(ch)], parent, QRect(kRightColumn + 132 + 8, 356 + 182, 188, 40))
        ->setObjectName(QStringLiteral("Command14_%1").arg(ch));
}

// ---------------------------------------------------------------- state

void FrmCtrlView::sync() {
    setWindowTitle(frm_.Caption);
    ShowMousePointer(this, frm_.MousePointer);
    bind_.sync();
    for (Lamp& l : lamps_)
        l.shown = l.s->FillColor; // the binder repainted every shape
    ShowTimer(pollTimer_, frm_.Timer1[U(frm_.slot())]);
    // The three sections lie in one place: only the one in front is seen.
    for (int ch = 0; ch < kChannels; ++ch)
        sections_[U(ch)]->setVisible(frm_.FrontSection == ch && frm_.Frame25[U(ch)].Visible);
}

void FrmCtrlView::pollTick() {
    Timer& t = frm_.Timer1[U(frm_.slot())];
    if (t.Enabled && t.Tick) t.Tick();
    if (frm_.loaded() && frm_.Visible) {
        showMeters();
        return;
    }
    // A window the failed exchange closed stops its timer (a hidden window's view is not shown
    // again, so nothing else would), and every window shows everything again.
    ShowTimer(pollTimer_, t);
    afterEvent();
}

void FrmCtrlView::showMeters() {
    for (Lamp& l : lamps_) {
        if (l.s->FillColor == l.shown) continue;
        l.shown = l.s->FillColor;
        l.w->update();
    }
    ShowTimer(pollTimer_, frm_.Timer1[U(frm_.slot())]);
}

void FrmCtrlView::afterEvent() {
    if (AfterEvent)
        AfterEvent();
    else
        sync();
}
