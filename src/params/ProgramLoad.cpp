#include "params/ProgramLoad.h"
#include "common/Index.h"

#include "common/ScopedFlags.h"

#include <algorithm>

namespace {

// A 0/1 switch or unit held in an image byte: anything but 0 counts as 1.
int Flag(int v) {
    return v == 0 ? 0 : 1;
}

// The numbered steps of the load, each returning true when a send failed and was reported.
class ProgramLoader {
  public:
    explicit ProgramLoader(WindowContext& c)
        : c_(c), st_(c.st), dev_(c.st.CurDevice()), w_(c.win()), img_(c.prog()), rec_(c.rec()),
          t_(c.st.Tables) {}

    void run() {
        const auto busy = RaiseEditBusy(st_);
        const uint8_t savedMute = img_.Params[U(t_.MuteAddr)];
        // Each step stops the load when its device failed; later steps are skipped.
        const bool stopped = muteOutputs() || loudness() || limiters() || compressors() || gains() ||
                             polarity() || temperature() || delays() || delayUnit() || crossovers() ||
                             eqBypass() || bands() || viewOptions() || restoreMute(savedMute);
        if (!stopped)
            for (int g = 0; g < kGraphs; ++g)
                c_.graph.RedrawGraph(g);
    }

  private:
    uint8_t P(int i) const { return img_.Params[U(i)]; }

    bool muteOutputs() {
        for (int ch = 1; ch <= 2; ++ch) {
            rec_.Mute[U(ch)] = 0;
            if (SendMute(c_, ch)) return true;
        }
        return false;
    }

    bool loudness() {
        {
            const auto quiet = RaiseSuppressEvents(st_);
            w_.Check5.setValue(P(t_.DlfAddr) == 1 ? 1 : 0);
        }
        return SendDynLoudness(c_);
    }

    bool limiters() {
        const uint8_t bits = P(t_.LimiterBypassAddr);
        rec_.LimiterBypass[1] = (bits >> 1) & 1;
        rec_.LimiterBypass[2] = (bits >> 2) & 1;
        for (int ch = 1; ch <= 2; ++ch) {
            const int l = t_.LimiterBase[U(ch)];
            UpgLimiterBypassButton(c_, ch);
            w_.Slider500[U(ch)].setValue(150 - P(l + 2));
            w_.Slider503[U(ch)].setValue(29 - P(l + 1));
            w_.Slider504[U(ch)].setValue(29 - P(l));
            if (SendLimiterThreshold(c_, ch) || SendLimiterRelease(c_, ch) || SendLimiterAttack(c_, ch))
                return true;
        }
        return false;
    }

    bool compressors() {
        const uint8_t bits = P(t_.CompBypassAddr);
        rec_.CompBypass[1] = (bits >> 1) & 1;
        rec_.CompBypass[2] = (bits >> 2) & 1;
        for (int ch = 1; ch <= 2; ++ch) {
            const int cb = t_.CompBase[U(ch)];
            UpgCompBypassButton(c_, ch);
            w_.Slider400[U(ch)].setValue(150 - P(cb));
            w_.Slider401[U(ch)].setValue(31 - P(cb + 1));
            w_.Slider402[U(ch)].setValue(100 - P(cb + 2));
            w_.Slider403[U(ch)].setValue(29 - P(cb + 3));
            w_.Slider404[U(ch)].setValue(29 - P(cb + 4));
            if (SendCompThreshold(c_, ch) || SendCompRatio(c_, ch) || SendCompKnee(c_, ch) ||
                SendCompRelease(c_, ch) || SendCompAttack(c_, ch))
                return true;
        }
        return false;
    }

    bool gains() {
        for (int ch = 0; ch < kChannels; ++ch) {
            w_.Slider1[U(ch)].setValue(96 - P(t_.GainBase[U(ch)] + 1));
            if (SendGain(c_, ch)) return true;
        }
        return false;
    }

    bool polarity() {
        const uint8_t bits = P(t_.PolarityAddr);
        rec_.Polarity[1] = (bits >> 1) & 1;
        rec_.Polarity[2] = (bits >> 2) & 1;
        for (int ch = 1; ch <= 2; ++ch) {
            {
                const auto quiet = RaiseSuppressEvents(st_);
                w_.Check2[U(ch)].setValue(rec_.Polarity[U(ch)]);
            }
            if (SendPolarity(c_, ch)) return true;
        }
        return false;
    }

    bool temperature() {
        rec_.DelayUnit = static_cast<int16_t>(Flag(img_.Ext[18]));
        const int tempUnit = Flag(rec_.TempUnit);
        int h = 0;
        {
            const auto quiet = RaiseSuppressEvents(st_);
            w_.Option6[U(tempUnit)].setValue(true);
            w_.HScroll1.setValue(rec_.TempSlider);
            h = w_.HScroll1.value();
            st_.DevTemperature[U(dev_)] = static_cast<int16_t>(h - 20);
            w_.Label13.Caption = tempUnit == 0 ? QString::number(h - 20) : t_.FahrenheitLabels[U(h)];
        }
        if (c_.link.SendFrame(dev_, CmdSetTemperature, Data8{0, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(h)}))
            return true;
        return SendTempUnit(c_, tempUnit);
    }

    bool delays() {
        for (int ch = 0; ch < kChannels; ++ch) {
            const int d = t_.DelayBase[U(ch)];
            {
                const auto quiet = RaiseSuppressEvents(st_);
                w_.UpDown2[U(ch)].setValue(P(d) * 256 + P(d + 1));
                w_.UpDown1[U(ch)].setValue(P(d + 2));
            }
            if (SendDelay(c_, ch)) return true;
        }
        return false;
    }

    // Selecting the option runs its own click procedure when the selection changes: it sends
    // the delay unit and repeats it on the linked devices.
    bool delayUnit() {
        const bool wasDisconnected = st_.DeviceDisconnected[U(dev_)];
        st_.SuppressEvents = false;
        w_.Option1[U(Flag(rec_.DelayUnit))].setValue(true);
        return !wasDisconnected && st_.DeviceDisconnected[U(dev_)];
    }

    bool crossovers() {
        for (int k = 0; k < kXoverFilters; ++k) {
            const int x = t_.XoverBase[U(k)];
            const size_t i = U(k);
            const int f1 = P(x) * 256 + P(x + 1);
            const int f2 = P(x + 4) * 256 + P(x + 5);
            const int f3 = P(x + 7) * 256 + P(x + 8);
            const int f4 = P(x + 10) * 256 + P(x + 11);
            rec_.XoverF1[i] = static_cast<float>(f1);
            rec_.XoverF2[i] = static_cast<float>(f2);
            rec_.XoverF3[i] = static_cast<float>(f3);
            rec_.XoverF4[i] = static_cast<float>(f4);
            rec_.XoverQ1[i] = static_cast<float>(0.05 * P(x + 3) + 0.05);
            rec_.XoverQ2[i] = static_cast<float>(0.05 * P(x + 6) + 0.05);
            rec_.XoverQ3[i] = static_cast<float>(0.05 * P(x + 9) + 0.05);
            rec_.XoverQ4[i] = static_cast<float>(0.05 * P(x + 12) + 0.05);
            {
                const auto quiet = RaiseSuppressEvents(st_);
                w_.Text8[i].Text = QString::number(f1);
                w_.Text10[i].Text = QString::number(f2);
                w_.Text11[i].Text = QString::number(f3);
                w_.Text13[i].Text = QString::number(f4);
                w_.Combo2[i].setListIndex(std::min<int>(P(x + 2), 17));
                w_.UpDown12[i].setValue(P(x + 3));
                w_.UpDown9[i].setValue(P(x + 6));
                w_.UpDown10[i].setValue(P(x + 9));
                w_.UpDown11[i].setValue(P(x + 12));
            }
            if (SendXover(c_, k)) return true;
            const auto noDrawing = RaiseDrawSuspended(st_);
            c_.graph.CalcXoverGraph(k);
        }
        return false;
    }

    bool eqBypass() {
        for (int ch = 0; ch < kChannels; ++ch) {
            const uint8_t byte = P(t_.EqBypassAddr[U(ch)]);
            st_.EqBypass[U(dev_)][U(ch)] = byte;
            if (c_.link.SendFrame(dev_, CmdSetEqBypass,
                                  Data8{static_cast<uint8_t>(ch), 0, 0, 0, 0, 0, 0, byte}))
                return true;
            ShowEqBypassState(c_, ch);
        }
        return false;
    }

    bool bands() {
        for (int ch = 0; ch < kChannels; ++ch) {
            const uint8_t mask = P(t_.BandMaskAddr[U(ch)]);
            for (int j = 0; j < ChannelBandCount(ch); ++j)
                rec_.BandOff[U(ChannelFirstBand(ch) + j)] = ((mask >> j) & 1) ? 1.0f : 0.0f;
        }
        for (int b = 0; b < kBands; ++b) {
            const int base = t_.BandBase[U(b)];
            const size_t i = U(b);
            {
                const auto quiet = RaiseSuppressEvents(st_);
                w_.Slider2[i].setValue(60 - P(base + 4));
                w_.Text4[i].Text = QString::number(P(base + 1) * 256 + P(base + 2));
                w_.UpDown3[i].setValue(P(base + 3));
                st_.BandType[U(dev_)][i] = static_cast<int16_t>(ClampBandType(P(base)));
                w_.Command10[i].Caption = t_.BandTypeNames[U(st_.BandType[U(dev_)][i])];
                ShowBandBypassState(c_, b);
            }
            if (SendEqBand(c_, b)) return true;
            const auto noDrawing = RaiseDrawSuspended(st_);
            c_.graph.CalcBandGraph(b);
        }
        for (int ch = 0; ch < kChannels; ++ch)
            RedrawChannelBands(c_, ch);
        return false;
    }

    bool viewOptions() {
        auto& opt = img_.Options;
        for (int g = 0; g < kGraphs; ++g) {
            w_.Check3[U(g)].setValue(Flag(opt[U(30 + g)]));
            ShowGraphCursor(c_, g);
        }
        for (int k = 0; k < 2; ++k) {
            w_.Check4[U(k)].setValue(Flag(opt[U(k)]));
            ApplyViewChannelCheck(c_, k);
        }
        for (int k = 0; k < 2; ++k) {
            const int v = 2 * k + Flag(opt[U(40 + k)]);
            {
                const auto quiet = RaiseSuppressEvents(st_);
                w_.Option4[U(v)].setValue(true);
            }
            SetViewOption(c_, v);
        }
        return false;
    }

    bool restoreMute(uint8_t saved) {
        img_.Params[U(t_.MuteAddr)] = saved;
        for (int ch = 0; ch < kChannels; ++ch)
            rec_.Mute[U(ch)] = static_cast<int16_t>(1 - ((saved >> ch) & 1));
        for (int ch = 0; ch < kChannels; ++ch) {
            if (SendMute(c_, ch)) return true;
            UpgMuteButton(c_, ch);
        }
        return false;
    }

    WindowContext& c_;
    AppState& st_;
    const int dev_;
    FrmCtrl& w_;
    ProgRecord& img_;
    DeviceRec& rec_;
    const ConstantTables& t_;
};

} // namespace

void LoadProgramToWindow(WindowContext& c) {
    if (!ValidBusAddress(c.st.CurDevice())) return;
    ProgramLoader(c).run();
}
