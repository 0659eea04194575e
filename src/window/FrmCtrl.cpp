#include "window/FrmCtrl.h"
#include "common/Index.h"

#include "window/WindowContext.h"

#include "graph/GraphDraw.h"
#include "graph/GraphState.h"

#include <utility>

const std::array<const char*, 18> kXoverTypeCaptions = {
    "   Bypass",    "Buttw -6dB",   "Buttw -12dB",  "LRiley -12dB", "Bessel -12dB", "Buttw -18dB",
    "Buttw -24dB",  "LRiley -24dB", "Bessel -24dB", "LRiley -36dB", "LRiley -48dB", "Custom -12dB",
    "Custom -18dB", "Custom -24dB", "Custom -30dB", "Custom -36dB", "Custom -42dB", "Custom -48dB",
};

namespace {

void setRange(Slider& s, int max) {
    s.Min = 0;
    s.Max = max;
}

// The limiter and compressor sliders move one position a step and five a page: a click in the
// threshold's trough moves it by 1 dB.
void setDynamicsRange(Slider& s, int max) {
    setRange(s, max);
    s.SmallChange = 1;
    s.LargeChange = 5;
}

void setRange(UpDown& u, int min, int max) {
    u.Min = min;
    u.Max = max;
    u.Increment = 1;
    u.setValueSilently(min);
}

} // namespace

namespace {
constexpr int kFreqCaptionWidth = 50 * kTwipsPerPixel; // wide enough for "10KHz"
} // namespace

void FrmCtrl::linkGroup(std::initializer_list<OptionButton*> group) {
    for (OptionButton* o : group)
        o->group.assign(group.begin(), group.end());
}

FrmCtrl::FrmCtrl(AppState& st, int slot) : st_(st), slot_(slot) {
    designControls();
    bindProcedures();
}

void FrmCtrl::resetControls() {
    static_cast<FrmCtrlControls&>(*this) = FrmCtrlControls{};
    designControls();
    bindProcedures();
}

void FrmCtrl::designControls() {
    // Gain, mute, loudness and phase.
    for (int ch = 0; ch < kChannels; ++ch) {
        Frame1[ch].Caption = "Gain";
        setRange(Slider1[ch], 96);
        Slider1[ch].setValue(24); // 0 dB
        Text1[ch].Text = "0";
        Command4[ch].Caption = "Mute";
        Frame3[ch].Caption = "Delay";
        setRange(UpDown2[ch], 0, 790);
        setRange(UpDown1[ch], 0, 48);
        Frame5[ch].Caption = "EQ";
        Command40[ch].Caption = " Equalizer  Bypass";
        Command40[ch].ToolTipText = "Eq Bypass";
        Command1[ch].Caption = "EQ Flat";
        Command1[ch].ToolTipText = "EQ Flat";
        Check3[ch].Caption = ch == 0 ? "Cursor" : "Show cursor";
    }
    Check5.Caption = "Enable";
    for (int ch = 1; ch < kChannels; ++ch) {
        Frame2[ch].Caption = "Phase";
        Check2[ch].Caption = QStringLiteral("180°");
        Frame8[ch].Caption = "RMS Compressor";
        Frame8[ch + 2].Caption = "Peak Limiter";
        setDynamicsRange(Slider500[ch], 150);
        setDynamicsRange(Slider503[ch], 29);
        setDynamicsRange(Slider504[ch], 29);
        Command13[ch].Caption = "      Limiter      Bypass";
        setDynamicsRange(Slider400[ch], 150);
        setDynamicsRange(Slider401[ch], 31);
        setDynamicsRange(Slider402[ch], 100);
        setDynamicsRange(Slider403[ch], 29);
        setDynamicsRange(Slider404[ch], 29);
        Command14[ch].Caption = "Compressor Bypass";
    }

    // Delay and temperature units.
    Option1[0].Caption = "Tiempo";
    Option1[1].Caption = "Distancia";
    linkGroup({&Option1[0], &Option1[1]});
    Option1[0].setValue(true);
    Option6[0].Caption = "Celsius";
    Option6[1].Caption = "Fahrenheit";
    linkGroup({&Option6[0], &Option6[1]});
    Option6[0].setValue(true);
    HScroll1.Min = 0;
    HScroll1.Max = 70;

    // Equaliser bands.
    for (int b = 0; b < kBands; ++b) {
        Command5[b].Caption = "Byp";
        setRange(Slider2[b], 60);
        Slider2[b].setValue(30); // 0 dB
        setRange(UpDown4[b], 20, 20000);
        Text4[b].Text = "20000";
        setRange(UpDown3[b], 0, 197);
        Text5[b].Text = "1.05";
        Text50[b].Text = "1.05";
        Label5[b].Caption = QString::number(BandInChannel(b) + 1);
        Label5[b].Width = 120;
        Label5[b].Height = 120;
        Label5[b].Visible = false;
    }

    // Crossover filters.
    for (int k = 0; k < kXoverFilters; ++k) {
        Frame7[k].Caption = k % 2 == 0 ? "High Pass Filter" : "Low Pass Filter";
        for (const char* c : kXoverTypeCaptions)
            Combo2[k].items << QString::fromLatin1(c);
        Combo2[k].setListIndex(0);
        for (TextBox* t : {&Text8[k], &Text10[k], &Text11[k], &Text13[k]})
            t->Text = "1000";
        for (UpDown* u : {&UpDown5[k], &UpDown6[k], &UpDown7[k], &UpDown8[k]})
            setRange(*u, 20, 20000);
        for (TextBox* t : {&Text12[k], &Text14[k], &Text15[k], &Text16[k]})
            t->Text = "0.05";
        for (UpDown* u : {&UpDown12[k], &UpDown9[k], &UpDown10[k], &UpDown11[k]})
            setRange(*u, 0, 199);
        Check1[k].Caption = "Link Frequency";
        Command7[k].Caption = "Set as Bw";
        Command12[k].Caption = "Set as LR";
    }

    // Graph view options.
    for (int g = 0; g < kGraphs; ++g) {
        Option2[g].Caption = "Mag";
        Option5[g].Caption = "Phase";
        linkGroup({&Option2[g], &Option5[g]});
        Option2[g].setValue(true);
        const int o = 3 * g;
        Option3[o].Caption = "-30dB/+30dB";
        Option3[o + 1].Caption = "-28dB/+14dB";
        Option3[o + 2].Caption = "-15dB/+15dB";
        if (g > 0) Frame11[g].Caption = "Graphic Scale Gain";
        linkGroup({&Option3[o], &Option3[o + 1], &Option3[o + 2]});
        Option3[o].setValue(true);
        // The frequency captions stand centred under their grid lines (twips from the picture's
        // left edge); "20Hz" starts at the left edge, under the first line.
        Label4[8 * g].Caption = "20Hz";
        const std::array<std::pair<const char*, double>, 3> freqs{
            {{"100Hz", 100.0}, {"1KHz", 1000.0}, {"10KHz", 10000.0}}};
        for (size_t i = 0; i < freqs.size(); ++i) {
            Label& c = FreqCaption[3 * static_cast<size_t>(g) + i];
            c.Caption = freqs[i].first;
            c.Width = kFreqCaptionWidth;
            c.Left = GridLineX(freqs[i].second, st_.Tables.PointsPerDecade) * kTwipsPerPixel - c.Width / 2;
        }
        const char* db[] = {"+30", "+20", "+10", " 0", "-10", "-20", "-30"};
        for (int i = 0; i < 7; ++i)
            Label4[8 * g + 1 + i].Caption = db[i];
        const char* phase[] = {"+180", "+135", "+90", "+45", "  0", "-45", "-90", "-135", "-180"};
        for (int i = 0; i < 9; ++i) {
            Label6[9 * g + i].Caption = phase[i];
            Label6[9 * g + i].Visible = false;
        }
    }
    for (int k = 0; k < 2; ++k) {
        Option4[2 * k].Caption = "Output";
        Option4[2 * k + 1].Caption = "Output+Input";
        linkGroup({&Option4[2 * k], &Option4[2 * k + 1]});
        Option4[2 * k].setValue(true);
    }
    Check4[0].Caption = "View Right";
    Check4[1].Caption = "View Left";
    for (int i = 2; i < 6; ++i) {
        // Each caption in the colour of the curve it names: "Channel Left" is the first output's.
        const bool left = i % 2 == 0;
        Label10[i].Caption = left ? "Channel Left" : "Channel Right";
        Label10[i].ForeColor = CurveColor(left ? 1 : 2);
    }

    // Meters.
    Label1[25].Caption = "Output Low";
    Label1[26].Caption = "Output High";
    Timer1[kWindowSlots].Enabled = false;

    // Channel sections and the top bar.
    Frame25[0].Caption = "ENTRADA DE CANAL";
    Frame25[1].Caption = "OUTPUT CHANNEL LOW";
    Frame25[2].Caption = "OUTPUT CHANNEL HIGH";
    Command15[0].Caption = "Select Input channel";
    Command15[1].Caption = " Select output   channel low";
    Command15[2].Caption = "Select output   channel high";
    Command2[0].ToolTipText = "Abrir memoria PC";
    Command2[1].ToolTipText = "Guardar memoria PC";
    Command2[5].ToolTipText = "Unconnect device";
    Command2[6].ToolTipText = "Edit name device";
    Command2[8].Caption = "Sw/Fw Version";
    Command2[8].ToolTipText = "Version Software y Firmware";
    Command2[9].Caption = " Guardar memoria";
    Command2[9].ToolTipText = "Guardar memoria equipo";
    Command2[10].Caption = "  Store    Project";
    Command2[10].ToolTipText = "Store Project";
    Command2[11].Caption = " Leer memoria";
    Command2[11].ToolTipText = "Leer memoria equipo";
    Command2[2].Caption = "Borrar memoria";
    Command2[2].ToolTipText = "Borrar memoria equipo";
    for (int i : {3, 4, 7})
        Command2[i].Visible = false; // no such buttons
    Command16[0].Caption = "Save Outputs to PC";
    Command16[1].Caption = "Load Outputs from PC";
    Command11.Caption = "Copy Data";
    Command11.ToolTipText = "Copy current program data to another device";
    Command17.Caption = "Store Factory Project";
    Command18.Caption = "Leer tipo sistema";
    Command19.Caption = "Firmware Librerias";
    Command6[0].Caption = "Load Preset";
    Command6[1].Caption = "Save Preset";
    Check10.Caption = "Bloquear Unidad";

    // Block diagram of the two channels.
    const std::pair<std::array<int, 2>, const char*> stages[] = {
        {{0, 1}, "Gain"},    {{2, 7}, "PEQ"},       {{3, 4}, "DLF"},     {{10, 15}, "X-over"},
        {{11, 16}, "Delay"}, {{12, 17}, "Limiter"}, {{13, 18}, "Level"}, {{14, 19}, "Phase"},
    };
    for (const auto& [at, text] : stages)
        for (int i : at)
            Label100[U(i)].Caption = text;
    for (size_t c = 0; c < 2; ++c) {
        Label200[c].Caption = "+";
        Label300[c].Caption = c == 0 ? "CH.A" : "CH.B";
        Label400[c].Caption = c == 0 ? "Input A" : "Input B";
    }

    // Inert controls.
    SSTab1.Tabs = {"CH.A", "CH.B", "IO/Meter/Delays", "Utilities"};
    for (Slider* s : {&Slider40, &Slider50, &Slider60, &Slider3}) {
        s->Min = 0;
        s->Max = 100;
    }
    Check10.ToolTipText = "Bloquear Unidad";
}

void FrmCtrl::bindProcedures() {
    for (int ch = 0; ch < kChannels; ++ch) {
        Text1[U(ch)].KeyPress = [this, ch](int& key) { Text1_KeyPress(ch, key); };
        Slider1[U(ch)].Change = [this, ch] { ApplyGainSlider(ch); };
        Command4[U(ch)].Click = [this, ch] { Command4_Click(ch); };
    }
    Check5.Click = [this] { Check5_Click(); };
    for (int ch = 1; ch < kChannels; ++ch)
        Check2[U(ch)].Click = [this, ch] { Check2_Click(ch); };
    for (int i = 0; i < 2; ++i)
        Option1[U(i)].Click = [this, i] { Option1_Click(i); };
    bindDelayPanel();
    bindLimiterPanel();
    bindXoverPanel();
    bindEqualiserPanel();
    bindGraphOptionsPanel();
    bindUtilitiesBar();
    bindMetersPanel();
}

void FrmCtrl::setContext(WindowContext* cx) {
    cx_ = cx;
}

void FrmCtrl::LoadCorrectWindow() {
    st_.CurSlot = static_cast<int16_t>(slot_);
}

bool FrmCtrl::linkHeld() const {
    return cx_ && cx_->link.Busy();
}

bool FrmCtrl::hasContext() const {
    return cx_ != nullptr;
}
