#include "params/EqSetters.h"
#include "common/Index.h"

#include "common/Numbers.h"
#include "common/ScopedFlags.h"
#include "graph/MarkerScale.h"
#include "params/ValueGrids.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMinFreq = 20;
constexpr int kMaxFreq = 20000;
constexpr double kSampleRate = 48000.0;

const QString kTitleEqFilter = QStringLiteral("EQ filter");
const QString kTitleWarning = QStringLiteral("Advertencia");
const QString kBadFrequency = QStringLiteral("  Valor de frecuencia incorrecto");

bool ValidChannel(int ch) {
    return ch >= 0 && ch < kChannels;
}
bool ValidBand(int b) {
    return b >= 0 && b < kBands;
}

// Brings a frequency field into 20..20000 Hz: above the range it becomes "20000", then below it
// "20"; anything in between stays as typed. Empty when the field holds no number.
std::optional<double> ClampFrequencyField(TextBox& t, int32_t comma) {
    auto v = ParseNumber(t.Text, comma);
    if (!v) return std::nullopt;
    if (*v > kMaxFreq) {
        t.Text = QString::number(kMaxFreq);
        v = kMaxFreq;
    }
    if (*v < kMinFreq) {
        t.Text = QString::number(kMinFreq);
        v = kMinFreq;
    }
    return v;
}

// Whole number nearest to x (half to even) as a stepper value.
int NearestInt(double x) {
    return static_cast<int>(RoundHalfEven(x));
}

// Which of a band's gain and Q controls its type uses.
struct BandTypeControls {
    bool gain; // gain slider and text
    bool q;    // Q stepper, Q text and width text
};
BandTypeControls ControlsOfBandType(int type) {
    switch (ClampBandType(type)) {
    case 0:
    case 3:
    case 6:
    case 15:
        return {true, true};
    case 1:
    case 2:
    case 4:
    case 5:
        return {true, false};
    case 9:
    case 12:
    case 14:
    case 16:
        return {false, true};
    default:
        return {false, false}; // 7, 8, 10, 11 and 13 use neither
    }
}

void ApplyBandControlStates(AppState& st, FrmCtrl& w, int b) {
    const int dev = st.CurDevice();
    ShowBandControlStates(w, b, st.DevRecs[U(dev)].BandOff[U(b)] != 0.0f, st.BandType[U(dev)][U(b)]);
}

// Puts band b back as the image holds it: controls, type, on/off state and record. Used when the
// device does not admit an edit, so that nothing of the refused edit is left anywhere.
void RestoreBandFromImage(AppState& st, FrmCtrl& w, int b) {
    const size_t i = U(b);
    const int dev = st.CurDevice();
    const ProgRecord& img = st.DevProgs[U(dev)];
    DeviceRec& rec = st.DevRecs[U(dev)];
    const int base = st.Tables.BandBase[i];
    const int ch = BandChannel(b);

    {
        const auto quiet = RaiseSuppressEvents(st);
        w.Slider2[i].setValue(60 - img.Params[U(base + 4)]);
        const int freq =
            std::clamp(img.Params[U(base + 1)] * 256 + img.Params[U(base + 2)], kMinFreq, kMaxFreq);
        w.Text4[i].Text = QString::number(freq);
        w.UpDown4[i].setValue(freq);
        w.UpDown3[i].setValue(img.Params[U(base + 3)]);
        const int qi = w.UpDown3[i].value();
        w.Text5[i].Text = NumberText(EqQOfIndex(qi), st.DecimalComma);
        w.Text50[i].Text = NumberText(EqWidthShown(st.Tables, qi), st.DecimalComma);
        const int v = w.Slider2[i].value();
        w.Text9[i].Text = NumberText(EqGainOfSlider(v), st.DecimalComma);
        st.BandType[U(dev)][i] = static_cast<int16_t>(ClampBandType(img.Params[U(base)]));
        w.Command10[i].Caption = st.Tables.BandTypeNames[U(st.BandType[U(dev)][i])];
        const bool off = (img.Params[U(st.Tables.BandMaskAddr[U(ch)])] >> BandInChannel(b)) & 1;
        rec.BandOff[i] = off ? 1.0f : 0.0f;
        rec.BandFreq[i] = static_cast<float>(freq);
        rec.BandQ[i] = static_cast<float>(EqQOfIndex(qi));
        rec.BandGain[i] = off ? 0.0f : static_cast<float>(EqGainOfSlider(v));
    }
    ApplyBandControlStates(st, w, b);
}

} // namespace

void ShowBandControlStates(FrmCtrl& w, int b, bool off, int type) {
    if (!ValidBand(b)) return;
    const size_t i = U(b);
    if (off) {
        w.Command5[i].BackColor = kRed;
        for (Control* ctl : std::initializer_list<Control*>{&w.Command10[i], &w.Text9[i], &w.Label5[i],
                                                            &w.Slider2[i], &w.Text4[i], &w.Text5[i],
                                                            &w.Text50[i], &w.UpDown3[i], &w.UpDown4[i]})
            ctl->Enabled = false;
        return;
    }
    w.Command5[i].BackColor = kButtonFace;
    w.Command10[i].Enabled = true;
    w.Label5[i].Enabled = true;
    w.Text4[i].Enabled = true;
    w.UpDown4[i].Enabled = true;
    const BandTypeControls use = ControlsOfBandType(type);
    w.Text9[i].Enabled = use.gain;
    w.Slider2[i].Enabled = use.gain;
    w.Text5[i].Enabled = use.q;
    w.Text50[i].Enabled = use.q;
    w.UpDown3[i].Enabled = use.q;
}

void ShowEqBypassControls(FrmCtrl& w, int ch, bool bypassed) {
    if (!ValidChannel(ch)) return;
    w.Command40[U(ch)].BackColor = bypassed ? kRed : kButtonFace;
    w.Frame5[U(ch)].Enabled = !bypassed;
    w.Command1[U(ch)].Enabled = !bypassed;
}

double EqWidthShown(const ConstantTables& t, int i) {
    i = std::clamp(i, 0, static_cast<int>(t.WidthTable.size()) - 1);
    return std::floor(t.WidthTable[U(i)] * 10000.0) / 10000.0;
}

bool EqBandAdmitted(int type, double f, double q) {
    if (type < 14 || type > 16) return true;
    if (!(q > 0)) return false;
    const double bw = f / q;
    const double w = f * 3.1415926535 / q / kSampleRate;
    if (!(bw < 24000.0) || !(std::tan(w) - 1 < 0)) return false;
    if (type == 14) return std::tan(w) + 1 > 0;
    return std::tan(2 * w) + 1 > 0;
}

int ClampBandType(int type) {
    return std::clamp(type, 0, 16);
}

bool SendEqBand(WindowContext& c, int b) {
    if (!ValidBand(b)) return false;
    AppState& st = c.st;
    FrmCtrl& w = c.windows.current();
    const int dev = st.CurDevice();
    if (!ValidBusAddress(dev)) return false;
    if (c.link.Busy()) return true; // no exchange can start: nothing changes
    const size_t i = U(b);
    const int ch = BandChannel(b);
    const int32_t comma = st.DecimalComma;
    DeviceRec& rec = st.DevRecs[U(dev)];
    ProgRecord& img = st.DevProgs[U(dev)];

    // A frequency field without a number is refused like a typo: the band stays as the image
    // holds it.
    const auto f = ClampFrequencyField(w.Text4[i], comma);
    if (!f) {
        c.msg.show(kBadFrequency, kTitleWarning, MsgButtons::Ok, MsgIcon::Exclamation);
        RestoreBandFromImage(st, w, b);
        return false;
    }

    const int v = w.Slider2[i].value();
    const double gain = EqGainOfSlider(v);
    w.Text9[i].Text = NumberText(gain, comma);

    {
        const auto quiet = RaiseSuppressEvents(st);
        w.UpDown4[i].setValue(NearestInt(*f));
    }

    const int qi = w.UpDown3[i].value();
    w.Text5[i].Text = NumberText(EqQOfIndex(qi), comma);
    w.Text50[i].Text = NumberText(EqWidthShown(st.Tables, qi), comma);
    const double q = ParseNumber(w.Text5[i].Text, comma).value_or(EqQOfIndex(qi));

    const int type = ClampBandType(st.BandType[U(dev)][i]);
    st.BandType[U(dev)][i] = static_cast<int16_t>(type);
    if (!EqBandAdmitted(type, *f, q)) {
        c.msg.show(
            QStringLiteral("Error: Parametro Q no admitido.\r\nPor favor cambie el valor Q o la Frecuencia"),
            kTitleEqFilter, MsgButtons::Ok, MsgIcon::Exclamation);
        RestoreBandFromImage(st, w, b);
        return false;
    }

    rec.BandFreq[i] = static_cast<float>(*f);
    rec.BandGain[i] = rec.BandOff[i] == 0.0f ? static_cast<float>(gain) : 0.0f;
    rec.BandQ[i] = static_cast<float>(q);

    // The marker at the height of the slider's gain, whether the band is on or off, on the dB
    // range its graph shows.
    w.Label5[i].Top = MarkerTopOfGain(gain, w.GainScale(ch));
    w.Label5[i].Left = MarkerLeftOfFrequency(st.Tables.TwipsPerDecade, *f);

    const int first = ChannelFirstBand(ch);
    int mask = 0;
    for (int j = 0; j < ChannelBandCount(ch); ++j)
        if (rec.BandOff[U(first + j)] != 0.0f) mask |= 1 << j;
    img.Params[U(st.Tables.BandMaskAddr[U(ch)])] = static_cast<uint8_t>(mask);

    const int base = st.Tables.BandBase[i];
    SplitToBytesBE(st.SplitBytes, rec.BandFreq[i], 0);
    img.Params[U(base)] = static_cast<uint8_t>(type);
    img.Params[U(base + 1)] = st.SplitBytes[2];
    img.Params[U(base + 2)] = st.SplitBytes[3];
    img.Params[U(base + 3)] = static_cast<uint8_t>(qi);
    img.Params[U(base + 4)] = static_cast<uint8_t>(60 - v);

    const Data8 d{static_cast<uint8_t>(ch),   static_cast<uint8_t>(BandInChannel(b)),
                  static_cast<uint8_t>(mask), img.Params[U(base)],
                  img.Params[U(base + 1)],    img.Params[U(base + 2)],
                  img.Params[U(base + 3)],    img.Params[U(base + 4)]};
    if (c.link.SendFrame(dev, CmdSetEqBand, d)) return true;

    ApplyBandControlStates(st, w, b);
    return false;
}

bool SendXover(WindowContext& c, int k) {
    if (k < 0 || k >= kXoverFilters) return false;
    AppState& st = c.st;
    FrmCtrl& w = c.windows.current();
    const int dev = st.CurDevice();
    if (!ValidBusAddress(dev)) return false;
    if (c.link.Busy()) return true; // no exchange can start: nothing changes
    const size_t x = U(k);
    const int32_t comma = st.DecimalComma;
    DeviceRec& rec = st.DevRecs[U(dev)];
    ProgRecord& img = st.DevProgs[U(dev)];

    std::array<TextBox*, 4> freqText{&w.Text8[x], &w.Text10[x], &w.Text11[x], &w.Text13[x]};
    std::array<UpDown*, 4> freqStep{&w.UpDown5[x], &w.UpDown6[x], &w.UpDown7[x], &w.UpDown8[x]};
    std::array<TextBox*, 4> qText{&w.Text12[x], &w.Text14[x], &w.Text15[x], &w.Text16[x]};
    std::array<UpDown*, 4> qStep{&w.UpDown12[x], &w.UpDown9[x], &w.UpDown10[x], &w.UpDown11[x]};

    // Every field is checked before anything is stored or sent; a field without a number is
    // refused with the frequency message and the filter stays as it was.
    std::array<double, 4> f{};
    for (size_t s = 0; s < 4; ++s) {
        const auto v = ClampFrequencyField(*freqText[s], comma);
        if (!v) {
            c.msg.show(kBadFrequency, kTitleWarning, MsgButtons::Ok, MsgIcon::Exclamation);
            return false;
        }
        f[s] = *v;
    }

    {
        const auto quiet = RaiseSuppressEvents(st);
        for (size_t s = 0; s < 4; ++s)
            freqStep[s]->setValue(NearestInt(f[s]));
    }

    std::array<double, 4> q{};
    for (size_t s = 0; s < 4; ++s) {
        const double qv = XoverQOfIndex(qStep[s]->value());
        qText[s]->Text = NumberText(qv, comma);
        q[s] = ParseNumber(qText[s]->Text, comma).value_or(qv);
    }

    const int type = std::clamp(w.Combo2[x].listIndex(), 0, 17);
    rec.XoverType[x] = static_cast<float>(type);
    rec.XoverFreq[x] = static_cast<float>(f[0]);
    rec.XoverF1[x] = rec.XoverFreq[x];
    rec.XoverF2[x] = static_cast<float>(f[1]);
    rec.XoverF3[x] = static_cast<float>(f[2]);
    rec.XoverF4[x] = static_cast<float>(f[3]);
    rec.XoverQ1[x] = static_cast<float>(q[0]);
    rec.XoverQ2[x] = static_cast<float>(q[1]);
    rec.XoverQ3[x] = static_cast<float>(q[2]);
    rec.XoverQ4[x] = static_cast<float>(q[3]);

    // The 13-byte block: frequency (2 bytes) then type and section 1 Q, then frequency and Q of
    // sections 2, 3 and 4.
    const int base = st.Tables.XoverBase[x];
    auto putFreq = [&](int at, float hz) {
        SplitToBytesBE(st.SplitBytes, static_cast<double>(hz), 0);
        img.Params[U(base + at)] = st.SplitBytes[2];
        img.Params[U(base + at + 1)] = st.SplitBytes[3];
    };
    putFreq(0, rec.XoverFreq[x]);
    img.Params[U(base + 2)] = static_cast<uint8_t>(type);
    img.Params[U(base + 3)] = static_cast<uint8_t>(qStep[0]->value());
    putFreq(4, rec.XoverF2[x]);
    img.Params[U(base + 6)] = static_cast<uint8_t>(qStep[1]->value());
    putFreq(7, rec.XoverF3[x]);
    img.Params[U(base + 9)] = static_cast<uint8_t>(qStep[2]->value());
    putFreq(10, rec.XoverF4[x]);
    img.Params[U(base + 12)] = static_cast<uint8_t>(qStep[3]->value());

    auto blk = [&](int j) { return img.Params[U(base + j)]; };
    if (c.link.SendFrame(dev, CmdSetXoverB,
                         Data8{blk(6), blk(7), blk(8), blk(9), blk(10), blk(11), blk(12), 0}))
        return true;
    if (c.link.SendFrame(dev, CmdSetXoverA,
                         Data8{static_cast<uint8_t>(XoverChannel(k)), static_cast<uint8_t>(k % 2), blk(0),
                               blk(1), blk(2), blk(3), blk(4), blk(5)}))
        return true;

    // Which sections a type uses: fixed types only their type and section 1 frequency; the
    // custom types their sections one by one.
    struct Row {
        bool f2, f3, f4, q1, q2, q3, q4, bw, lr;
    };
    const bool even = k % 2 == 0;
    Row r{};
    switch (type) {
    case 11:
        r = {false, false, false, true, false, false, false, true, false};
        break;
    case 12:
        r = {true, false, false, false, true, false, false, true, false};
        break;
    case 13:
        r = {true, false, false, true, true, false, false, true, true};
        break;
    case 14:
        r = {true, true, false, false, true, true, false, even, false};
        break;
    case 15:
        r = {true, true, false, true, true, true, false, even, true};
        break;
    case 16:
        r = {true, true, true, false, true, true, true, even, false};
        break;
    case 17:
        r = {true, true, true, true, true, true, true, even, true};
        break;
    default:
        break; // 0..10: every section field off
    }
    w.Command7[x].Enabled = true;
    w.Command12[x].Enabled = true;
    auto set = [](TextBox& t, UpDown& u, bool on) {
        t.Enabled = on;
        u.Enabled = on;
    };
    set(w.Text10[x], w.UpDown6[x], r.f2);
    set(w.Text11[x], w.UpDown7[x], r.f3);
    set(w.Text13[x], w.UpDown8[x], r.f4);
    set(w.Text12[x], w.UpDown12[x], r.q1);
    set(w.Text14[x], w.UpDown9[x], r.q2);
    set(w.Text15[x], w.UpDown10[x], r.q3);
    set(w.Text16[x], w.UpDown11[x], r.q4);
    w.Check1[x].Enabled = true;
    w.Command7[x].Enabled = r.bw;
    w.Command12[x].Enabled = r.lr;
    return false;
}

bool ToggleEqBypass(WindowContext& c, int ch) {
    if (!ValidChannel(ch)) return false;
    AppState& st = c.st;
    const int dev = st.CurDevice();
    if (!ValidBusAddress(dev)) return false;
    if (c.link.Busy()) return true; // no exchange can start: nothing changes
    int16_t& byp = st.EqBypass[U(dev)][U(ch)];
    byp = byp == 1 ? 0 : 1;
    const int addr = st.Tables.EqBypassAddr[U(ch)];
    st.DevProgs[U(dev)].Params[U(addr)] = static_cast<uint8_t>(byp);
    if (c.link.SendFrame(
            dev, CmdSetEqBypass,
            Data8{static_cast<uint8_t>(ch), 0, 0, 0, 0, 0, 0, st.DevProgs[U(dev)].Params[U(addr)]}))
        return true;
    ShowEqBypassState(c, ch);
    return false;
}

void ShowEqBypassState(WindowContext& c, int ch) {
    if (!ValidChannel(ch)) return;
    const int dev = c.st.CurDevice();
    if (!ValidBusAddress(dev)) return;
    ShowEqBypassControls(c.windows.current(), ch, c.st.EqBypass[U(dev)][U(ch)] == 1);
}

bool SetEqFlat(WindowContext& c, int ch) {
    if (!ValidChannel(ch)) return false;
    const int dev = c.st.CurDevice();
    if (!ValidBusAddress(dev)) return false;
    if (c.link.Busy()) return true; // no exchange can start: nothing changes
    FrmCtrl& w = c.windows.current();
    const int first = ChannelFirstBand(ch);
    for (int b = first; b < first + ChannelBandCount(ch); ++b) {
        w.Slider2[U(b)].setValue(30);
        c.st.DevRecs[U(dev)].BandOff[U(b)] = 1.0f;
        ShowBandBypassState(c, b);
        // The window is closed once a send failed: the rest of the channel is not sent.
        if (SendEqBand(c, b)) return true;
        c.graph.CalcBandGraph(b);
    }
    return false;
}

void ToggleBandBypass(WindowContext& c, int b) {
    if (!ValidBand(b)) return;
    const int dev = c.st.CurDevice();
    if (!ValidBusAddress(dev)) return;
    float& off = c.st.DevRecs[U(dev)].BandOff[U(b)];
    off = off == 0.0f ? 1.0f : 0.0f;
    ShowBandBypassState(c, b);
}

void ShowBandBypassState(WindowContext& c, int b) {
    if (!ValidBand(b)) return;
    const int dev = c.st.CurDevice();
    if (!ValidBusAddress(dev)) return;
    c.windows.current().Command5[U(b)].BackColor =
        c.st.DevRecs[U(dev)].BandOff[U(b)] == 0.0f ? kButtonFace : kRed;
}

void RedrawChannelBands(WindowContext& c, int ch) {
    if (!ValidChannel(ch)) return;
    const int dev = c.st.CurDevice();
    if (!ValidBusAddress(dev)) return;
    const int first = ChannelFirstBand(ch);
    // A bypassed equaliser's bands do not count: one computation refreshes the channel.
    if (c.st.EqBypass[U(dev)][U(ch)] != 0) {
        c.graph.CalcBandGraph(first);
        return;
    }
    for (int b = first; b < first + ChannelBandCount(ch); ++b)
        c.graph.CalcBandGraph(b);
}

void RedrawChannelResponse(WindowContext& c, int ch) {
    if (!ValidChannel(ch)) return;
    c.graph.CalcBandGraph(ChannelFirstBand(ch));
}

void ShowGraphCursor(WindowContext& c, int ch) {
    if (!ValidChannel(ch)) return;
    const int dev = c.st.CurDevice();
    if (!ValidBusAddress(dev)) return;
    FrmCtrl& w = c.windows.current();
    const int first = ChannelFirstBand(ch);
    const int last = first + ChannelBandCount(ch) - 1;
    const int value = w.Check3[U(ch)].value();
    if (value != 0) {
        // From the last band down, each brought to the front: the first band's marker ends on top.
        for (int b = last; b >= first; --b) {
            w.Label5[U(b)].Visible = true;
            int front = 0;
            for (const Label& l : w.Label5)
                front = std::max(front, l.ZOrder);
            w.Label5[U(b)].ZOrder = front + 1;
        }
    } else {
        for (int b = first; b <= last; ++b)
            w.Label5[U(b)].Visible = false;
    }
    c.st.DevProgs[U(dev)].Options[U(30 + ch)] = static_cast<uint8_t>(value);
}

void ApplyViewChannelCheck(WindowContext& c, int k) {
    if (k < 0 || k > 1) return;
    const int dev = c.st.CurDevice();
    if (!ValidBusAddress(dev)) return;
    FrmCtrl& w = c.windows.current();
    const int value = w.Check4[U(k)].value();
    c.st.OverlayOther[U(c.st.CurSlot)][U(k)] = static_cast<int16_t>(value);
    c.graph.RedrawGraph(k + 1);
    c.st.DevProgs[U(dev)].Options[U(k)] = static_cast<uint8_t>(value);
}
