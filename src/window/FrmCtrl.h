#pragma once
// The editing window of one device: its controls as control state, with the names and indexing
// that the setters, the whole-program load and the window's own procedures use.
//
// Control arrays are indexed by channel ch (0 input, 1 and 2 the outputs), by equaliser band b
// (0..4 input, 5..11 first output, 12..18 second output), by crossover filter k (0 and 1 the high
// and low pass of the first output, 2 and 3 of the second) or by option index. Arrays that only
// use some indices (the outputs' 1 and 2, `Frame8` 1..4, `Command2` 0..11) are sized to cover the
// highest index; the unused entries are inert.
//
// The window knows its own slot from its creation: `LoadCorrectWindow` makes it the current one.
#include "common/AppState.h"
#include "common/BandNumbering.h"
#include "common/ScopedFlags.h"
#include "graph/MagScale.h"
#include "platform/Controls.h"

#include <array>
#include <optional>

constexpr int kGraphs = 3; // one response graph per channel

// Captions of the crossover type list; the list position is the type code 0..17.
extern const std::array<const char*, 18> kXoverTypeCaptions;

struct WindowContext;

// The window's controls with their design values. Kept apart from the procedures so that a
// window object that is loaded again starts from the design values, as a freshly loaded window
// does, whatever the device it showed before left in them.
struct FrmCtrlControls {
    // ---- Window ----
    QString Caption;
    int Width = 14670;
    int Height = 10125;
    int WindowState = 0; // 0 normal, 1 minimised, 2 maximised
    bool Visible = false;
    int FrontSection = 0; // channel section (Frame25 index) in front of the other two
    int MousePointer = 0; // 0 default, 13 arrow and hourglass

    // ---- Gain, mute, loudness, phase ----
    std::array<Frame, kChannels> Frame1{};           // "Gain" boxes
    std::array<TextBox, kChannels> Text1{};          // gain in dB
    std::array<Slider, kChannels> Slider1{};         // 0..96, 0 = +12 dB, 96 = -36 dB
    std::array<CommandButton, kChannels> Command4{}; // "Mute" / "Muted"
    CheckBox Check5;                                 // "Enable" of "D.L.F."
    Shape Shape4;                                    // loudness indicator of the block diagram
    std::array<Frame, kChannels> Frame2{};           // "Phase" frames, outputs 1..2
    std::array<CheckBox, kChannels> Check2{};        // "180°", outputs 1..2

    // ---- Delay and temperature ----
    std::array<Frame, kChannels> Frame3{};   // "Delay" boxes
    std::array<TextBox, kChannels> Text2{};  // delay with its unit suffix
    std::array<UpDown, kChannels> UpDown2{}; // coarse count 0..790 (0.34 m steps), "Adj"
    std::array<UpDown, kChannels> UpDown1{}; // fine count 0..48 (0.007 m steps), "Fine"
    std::array<OptionButton, 2> Option1{};   // 0 "Tiempo", 1 "Distancia"
    std::array<OptionButton, 2> Option6{};   // 0 "Celsius", 1 "Fahrenheit"
    ScrollBar HScroll1;                      // temperature position 0..70 = T + 20
    Label Label13;                           // temperature caption

    // ---- Peak limiter (outputs 1..2) and RMS compressor (outputs 1..2) ----
    std::array<Frame, 5> Frame8{};             // 1, 2 "RMS Compressor"; 3, 4 "Peak Limiter"
    std::array<Slider, kChannels> Slider500{}; // limiter threshold 0..150
    std::array<Slider, kChannels> Slider503{}; // limiter release 0..29
    std::array<Slider, kChannels> Slider504{}; // limiter attack 0..29
    std::array<TextBox, kChannels> Text500{};
    std::array<TextBox, kChannels> Text503{};
    std::array<TextBox, kChannels> Text504{};
    std::array<CommandButton, kChannels> Command13{}; // "      Limiter      Bypass"
    std::array<Slider, kChannels> Slider400{};        // compressor threshold 0..150
    std::array<Slider, kChannels> Slider401{};        // ratio 0..31
    std::array<Slider, kChannels> Slider402{};        // knee 0..100
    std::array<Slider, kChannels> Slider403{};        // release 0..29
    std::array<Slider, kChannels> Slider404{};        // attack 0..29
    std::array<TextBox, kChannels> Text400{};
    std::array<TextBox, kChannels> Text401{};
    std::array<TextBox, kChannels> Text402{};
    std::array<TextBox, kChannels> Text403{};
    std::array<TextBox, kChannels> Text404{};
    std::array<CommandButton, kChannels> Command14{}; // "Compressor Bypass"

    // ---- Equaliser ----
    std::array<Frame, kChannels> Frame5{};            // "EQ" frame of each channel
    std::array<CommandButton, kBands> Command5{};     // band "Byp": red while the band is off
    std::array<CommandButton, kBands> Command10{};    // band type button, caption = type name
    std::array<Slider, kBands> Slider2{};             // band gain 0..60, 0 = +15 dB, 60 = -15 dB
    std::array<TextBox, kBands> Text9{};              // band gain text
    std::array<UpDown, kBands> UpDown4{};             // band frequency 20..20000 Hz
    std::array<TextBox, kBands> Text4{};              // band frequency text
    std::array<UpDown, kBands> UpDown3{};             // band Q index 0..197, Q = 0.3 + 0.1 i
    std::array<TextBox, kBands> Text5{};              // band Q text
    std::array<TextBox, kBands> Text50{};             // band width in octaves
    std::array<Label, kBands> Label5{};               // band marker on the graph (twips)
    std::array<CommandButton, kChannels> Command40{}; // " Equalizer  Bypass"
    std::array<CommandButton, kChannels> Command1{};  // "EQ Flat"

    // ---- Crossover (filters 0..3) ----
    std::array<Frame, kXoverFilters> Frame7{};    // "High Pass Filter" / "Low Pass Filter"
    std::array<ComboBox, kXoverFilters> Combo2{}; // type list, position = type code 0..17
    std::array<TextBox, kXoverFilters> Text8{};   // section 1 frequency
    std::array<TextBox, kXoverFilters> Text10{};  // section 2 frequency
    std::array<TextBox, kXoverFilters> Text11{};  // section 3 frequency
    std::array<TextBox, kXoverFilters> Text13{};  // section 4 frequency
    std::array<UpDown, kXoverFilters> UpDown5{};  // section 1..4 frequency steppers, 20..20000
    std::array<UpDown, kXoverFilters> UpDown6{};
    std::array<UpDown, kXoverFilters> UpDown7{};
    std::array<UpDown, kXoverFilters> UpDown8{};
    std::array<TextBox, kXoverFilters> Text12{};  // section 1 Q
    std::array<TextBox, kXoverFilters> Text14{};  // section 2 Q
    std::array<TextBox, kXoverFilters> Text15{};  // section 3 Q
    std::array<TextBox, kXoverFilters> Text16{};  // section 4 Q
    std::array<UpDown, kXoverFilters> UpDown12{}; // section 1..4 Q steppers 0..199, Q = 0.05 + 0.05 i
    std::array<UpDown, kXoverFilters> UpDown9{};
    std::array<UpDown, kXoverFilters> UpDown10{};
    std::array<UpDown, kXoverFilters> UpDown11{};
    std::array<CheckBox, kXoverFilters> Check1{};         // "Link Frequency"
    std::array<CommandButton, kXoverFilters> Command7{};  // "Set as Bw"
    std::array<CommandButton, kXoverFilters> Command12{}; // "Set as LR"

    // ---- Response graphs and their view options ----
    std::array<PictureBox, kGraphs> Picture1{};  // graph g of channel g
    std::array<CheckBox, kGraphs> Check3{};      // "Cursor" / "Show cursor"
    std::array<OptionButton, kGraphs> Option2{}; // "Mag"
    std::array<OptionButton, kGraphs> Option5{}; // "Phase"
    std::array<OptionButton, 9> Option3{};       // dB range of graph g: 3g .. 3g + 2
    std::array<Frame, kGraphs> Frame11{};        // 1, 2 "Graphic Scale Gain" around graph g's ranges
    std::array<OptionButton, 4> Option4{};       // "Output" / "Output+Input" of graphs 1 and 2
    std::array<CheckBox, 2> Check4{};            // 0 "View Right" (graph 1), 1 "View Left" (graph 2)
    std::array<Label, 6> Label10{};              // 2..5 "Channel Left" / "Channel Right"
    std::array<Label, 24> Label4{};              // 8g frequency caption, 8g + 1 .. 8g + 7 dB captions
    std::array<Label, 9> FreqCaption{};          // 3g .. 3g + 2: "100Hz", "1KHz", "10KHz" under graph g
    std::array<Label, 27> Label6{};              // 9g .. 9g + 8 phase captions

    // ---- Meters ----
    std::array<Frame, 4> MeterFrame{};            // 0 input, 1 second input bar, 2 output 1, 3 output 2
    std::array<Shape, 28> Shape1{};               // seven LEDs per meter, 7m .. 7m + 6 bottom to top
    std::array<Shape, 4> Shape50{};               // compressor and limiter lamps
    std::array<Label, 27> Label1{};               // 25 "Output Low", 26 "Output High"
    std::array<Timer, kWindowSlots + 1> Timer1{}; // meter poll; the window uses the element of its slot

    // ---- Channel sections and the top bar ----
    std::array<Frame, kChannels> Frame25{};           // "ENTRADA DE CANAL", "OUTPUT CHANNEL LOW", ".. HIGH"
    std::array<CommandButton, kChannels> Command15{}; // section selector (service mode)
    std::array<CommandButton, 12> Command2{};         // 0, 1, 2, 5, 6, 8, 9, 10, 11 shown
    std::array<CommandButton, 2> Command16{};         // "Save Outputs to PC", "Load Outputs from PC"
    CommandButton Command11;                          // "Copy Data"
    CommandButton Command17;                          // "Store Factory Project"
    CommandButton Command18;                          // "Leer tipo sistema"
    CommandButton Command19;                          // "Firmware Librerias"
    std::array<CommandButton, 2> Command6{};          // "Load Preset", "Save Preset" (no procedure)
    CheckBox Check10;                                 // "Bloquear Unidad"

    // ---- Block diagram of the two channels: clicking a label does nothing ----
    std::array<Label, 20> Label100{}; // stages of channel A (0, 2, 3, 10..14) and B (1, 7, 4, 15..19)
    std::array<Label, 2> Label200{};  // "+" of channels A and B
    std::array<Label, 2> Label300{};  // "CH.A", "CH.B"
    std::array<Label, 2> Label400{};  // "Input A", "Input B"

    // ---- Inert controls: laid out as in the design, no procedure ----
    TabStrip SSTab1;                             // "CH.A", "CH.B", "IO/Meter/Delays", "Utilities"
    Slider Slider40, Slider50, Slider60;         // "Show Peak Limiter"
    TextBox Text17;
    Slider Slider3;
};

class FrmCtrl : public FrmCtrlControls {
  public:
    FrmCtrl(AppState& st, int slot);
    FrmCtrl(const FrmCtrl&) = delete; // option groups point into the window itself
    FrmCtrl& operator=(const FrmCtrl&) = delete;

    // What the procedures work with: link, setters, graph, link routines, message boxes. Set by
    // CtrlWindowSlots; without it the lifecycle procedures and handlers do nothing.
    void setContext(WindowContext* cx);

    // Makes this window's slot the current one (CurSlot); every setter works on CurSlot.
    void LoadCorrectWindow();
    // The window slot this window object serves.
    int slot() const { return slot_; }
    // True from a load until the window unloads.
    bool loaded() const { return loaded_; }

    // ---- Lifecycle ----
    // Binds the window to its slot and device, loads the device's program into the controls with
    // traffic and drawing suspended, writes the lock box, caption and hidden controls, draws the
    // graphs. False when the slot holds no valid device (nothing is then loaded). When the lock
    // byte's exchange fails the link closes the window during its load: loaded() is then false.
    bool Form_Load();
    void Form_Resize();
    void Form_Activate();
    // Asks before closing a connected device's window (not when the copy dialog closes it); when
    // not cancelled, frees the slot. A window closed while the question was up (the link closes
    // the window of a device that stopped answering) was freed then and is not freed again.
    void Form_QueryUnload(bool& cancel, int unloadMode);
    // Runs the close step; when not cancelled the window is hidden and its meter timer stopped.
    // True when the window is closed (also when it was not loaded).
    bool Unload();
    // Closes the window without its question (the link's failure path); it is hidden and its
    // slot freed, and the object stays for a later window.
    void CloseSilently();

    // ---- Edit handlers, by panel; each control runs its own through the binding ----
    // Gain, mute, loudness and phase (FrmCtrlGain.cpp).
    // Gain field key: a number field of the channel gain family; Enter applies the gain.
    void Text1_KeyPress(int ch, int& keyAscii);
    // The gain slider of channel ch was moved by the operator.
    void ApplyGainSlider(int ch);
    void Command4_Click(int ch); // "Mute"
    void Check5_Click();         // D.L.F. "Enable"
    void Check2_Click(int ch);   // "180°" of output ch
    // Delay and temperature (FrmCtrlDelay.cpp).
    void Option1_Click(int index); // delay unit 0 "Tiempo", 1 "Distancia" became selected
    void Option6_Click(int index); // temperature unit 0 "Celsius", 1 "Fahrenheit" became selected
    // The temperature bar moved; a drag step and a finished move do the same.
    void HScroll1_Change();
    void HScroll1_Scroll();
    void StepDelayCoarse(int ch); // "Adj" stepper of channel ch changed
    void StepDelayFine(int ch);   // "Fine" stepper of channel ch changed
    // Delay field key: digits, Backspace and blank pass, any other key becomes a blank; Enter
    // splits the typed time or distance into coarse and fine steps and sends them.
    void Text2_KeyPress(int ch, int& keyAscii);
    // Peak limiter and RMS compressor of output ch = 1, 2 (FrmCtrlLimiter.cpp).
    void Command13_Click(int ch); // "      Limiter      Bypass"
    void Command14_Click(int ch); // "Compressor Bypass"
    void ApplyLimThresholdSlider(int ch);
    void ApplyLimReleaseSlider(int ch);
    void ApplyLimAttackSlider(int ch);
    void ApplyCompThresholdSlider(int ch);
    void ApplyCompRatioSlider(int ch);
    void ApplyCompKneeSlider(int ch);
    void ApplyCompReleaseSlider(int ch);
    void ApplyCompAttackSlider(int ch);
    // Value field keys: number fields of the dynamics families; Enter snaps the value, sets the
    // field's slider and sends.
    void Text500_KeyPress(int ch, int& keyAscii); // limiter threshold
    void Text503_KeyPress(int ch, int& keyAscii); // limiter release
    void Text504_KeyPress(int ch, int& keyAscii); // limiter attack
    void Text400_KeyPress(int ch, int& keyAscii); // compressor threshold
    void Text401_KeyPress(int ch, int& keyAscii); // compressor ratio
    void Text402_KeyPress(int ch, int& keyAscii); // compressor knee
    void Text403_KeyPress(int ch, int& keyAscii); // compressor release
    void Text404_KeyPress(int ch, int& keyAscii); // compressor attack
    // Crossover panel (FrmCtrlXover.cpp), each with the filter index k 0..3. "Link Frequency"
    // (Check1) has no procedure of its own: the frequency handlers read it.
    void Combo2_Click(int k); // filter type chosen
    // Changes of the section 1..4 frequency steppers UpDown5..UpDown8.
    void StepXoverFreq1(int k);
    void StepXoverFreq2(int k);
    void StepXoverFreq3(int k);
    void StepXoverFreq4(int k);
    // Changes of the section 1..4 Q steppers UpDown12, UpDown9, UpDown10, UpDown11.
    void StepXoverQ1(int k);
    void StepXoverQ2(int k);
    void StepXoverQ3(int k);
    void StepXoverQ4(int k);
    // Keys of the section 1..4 frequency fields; Enter applies the frequency.
    void Text8_KeyPress(int k, int& keyAscii);
    void Text10_KeyPress(int k, int& keyAscii);
    void Text11_KeyPress(int k, int& keyAscii);
    void Text13_KeyPress(int k, int& keyAscii);
    // Keys of the section 1..4 Q fields; Enter applies the Q.
    void Text12_KeyPress(int k, int& keyAscii);
    void Text14_KeyPress(int k, int& keyAscii);
    void Text15_KeyPress(int k, int& keyAscii);
    void Text16_KeyPress(int k, int& keyAscii);
    void Command7_Click(int k);  // "Set as Bw"
    void Command12_Click(int k); // "Set as LR"
    // Equaliser, band markers and the filter-type dialog (FrmCtrlEq.cpp); b is the band, ch the
    // channel.
    void Command5_Click(int b);                 // band "Byp"
    void Command10_Click(int b);                // band type button: the filter-type dialog
    void ApplyBandGainSlider(int b);            // band gain slider moved by the operator
    void StepBandFrequency(int b);              // band frequency stepper changed
    void StepBandQ(int b);                      // band Q stepper changed
    void Text9_KeyPress(int b, int& keyAscii);  // band gain
    void Text4_KeyPress(int b, int& keyAscii);  // band frequency
    void Text5_KeyPress(int b, int& keyAscii);  // band Q
    void Text50_KeyPress(int b, int& keyAscii); // band width
    void Command1_Click(int ch);                // "EQ Flat"
    void Command40_Click(int ch);               // " Equalizer  Bypass"
    void Check3_Click(int ch);                  // "Cursor" / "Show cursor"
    // Band marker drag; x, y is the pointer's position inside the marker, in twips. A press arms
    // the marker unless its channel's equaliser is bypassed; moves with the button held follow
    // the pointer; the release sends the band once if the marker moved.
    void Label5_MouseDown(int b, int button, int shift, int x, int y);
    void Label5_MouseMove(int b, int button, int shift, int x, int y);
    void Label5_MouseUp(int b, int button, int shift, int x, int y);
    // Graph view options and axis captions (FrmCtrlGraphOptions.cpp); g is the graph 0..2. None
    // of them waits for SuppressEvents: they also run when code selects their controls.
    // Shows the captions and options of graph g that fit its view: the dB or the phase captions,
    // and for an output graph in the magnitude view its "Output"/"Output+Input" choice and its
    // overlay box (never the overlay box for the second model).
    void LoadLabelGraph(int g);
    void Option2_Click(int g); // "Mag"
    void Option5_Click(int g); // "Phase"
    // A dB range chosen for graph i / 3; graphs 0 and 1 share theirs, graph 2 has its own.
    void Option3_Click(int i);
    void Option4_Click(int i); // "Output" (0, 2) / "Output+Input" (1, 3) of graph i / 2 + 1
    void Check4_Click(int k);  // overlay of the other output on graph k + 1
    // Block diagram labels: a click changes nothing.
    void Label100_Click(int index);
    void Label200_Click(int index);
    void Label300_Click(int index);
    void Label400_Click(int index);
    // The dB range graph g's curves and markers are drawn on: the one its scale options select.
    MagScale GainScale(int g) const;
    // Top bar (FrmCtrlUtilities.cpp).
    // 0 open and 1 save a program file, 2 "Borrar memoria", 6 "Edit name device", 8 the About
    // box, 9 " Guardar memoria", 11 " Leer memoria"; any other index does nothing.
    void Command2_Click(int index);
    void Command11_Click();            // "Copy Data"
    void Command15_Click(int section); // brings channel section 0..2 to the front
    void Command16_Click(int index);   // 0 "Save Outputs to PC", 1 "Load Outputs from PC"
    void Command17_Click();            // "Store Factory Project"
    void Command18_Click();            // "Leer tipo sistema"
    void Command19_Click();            // "Firmware Librerias": the speaker library download
    void Check10_Click();              // "Bloquear Unidad"

    // ---- Level meters (FrmCtrlMeters.cpp) ----
    // Tick of the meter poll timer element i (the window's slot): only the active window asks its
    // device for the levels and shows them, and never while another exchange or an edit holds
    // the line. The first tick comes 500 ms after the load, then one every 30 ms.
    void Timer1_Timer(int i);
    // Colour the LEDs of meter m after its level: seven for the input (0), six for an output
    // (2, 3), whose LED 5 is the limit lamp and left alone. A level outside the bar changes nothing.
    void PaintMeterSevenLeds(int m);
    void PaintMeterSixLeds(int m);

  private:
    // Level meters: the poll timer's binding, the decoding of a meter reply, the painting.
    void bindMetersPanel();
    void showMeterReply(int dev);
    void paintMeter(int m, bool sixLeds);

    void designControls();
    // Makes every control with a procedure run it.
    void bindProcedures();
    // Frame of the switch handlers: nothing while SuppressEvents is raised (or without a
    // context), EditBusy held for the run when `busy`, the window made current before `body`.
    template <typename Body> void switchFrame(bool busy, Body body) {
        // While a ping waits with events running no edit starts: nothing would reach the device.
        if (st_.SuppressEvents || !cx_ || linkHeld()) return;
        std::optional<ScopedValue<bool>> editBusy;
        if (busy) editBusy.emplace(st_.EditBusy, true);
        LoadCorrectWindow();
        body();
    }
    // True while a ping holds the link: no exchange can start, so no edit may begin.
    bool linkHeld() const;
    // Frame of the top bar's buttons: EditBusy held for the run (and any dialog it shows), the
    // window made current before `body`; nothing without a context.
    template <typename Body> void barFrame(Body body) {
        if (!cx_) return;
        const auto editBusy = RaiseEditBusy(st_);
        LoadCorrectWindow();
        body();
    }
    // Top bar: its bindings, the rename dialog, and this window's and the main window's pointer.
    void bindUtilitiesBar();
    void showNameDevice();
    void setPointers(int pointer);
    // Enter in the gain field of channel ch: false when its text is not a number.
    bool applyGainText(int ch);
    // Delay, temperature, limiter and compressor panels: their bindings and Enter rules.
    void bindDelayPanel();
    void bindLimiterPanel();
    void stepDelay(int ch);
    // Enter in the delay field of channel ch: false when its text is empty or not a number.
    bool applyDelayText(int ch);
    // Frame of the limiter and compressor switches of output ch around their setter.
    void dynamicsSwitch(int ch, bool (*setter)(WindowContext&, int));
    // Runs a key of a limiter or compressor field of output ch through its family's filter;
    // `enter` applies the field's text on Enter and returns false when it is not a number.
    void dynamicsKey(int ch, int& keyAscii, bool knee, bool (FrmCtrl::*enter)(int));
    bool applyLimThresholdText(int ch);
    bool applyLimReleaseText(int ch);
    bool applyLimAttackText(int ch);
    bool applyCompThresholdText(int ch);
    bool applyCompRatioText(int ch);
    bool applyCompKneeText(int ch);
    bool applyCompReleaseText(int ch);
    bool applyCompAttackText(int ch);

    // Graph view options (FrmCtrlGraphOptions.cpp): their bindings, and the dB captions and band
    // markers of graph g put on the range of scale choice 0..2.
    void bindGraphOptionsPanel();
    void applyGainScale(int g, int choice);

    // Equaliser (FrmCtrlEq.cpp).
    void bindEqualiserPanel();
    // Enter in band b's gain, frequency, or Q or width field: false when its text is not a number.
    bool applyBandGainText(int b);
    bool applyBandFrequencyText(int b);
    bool applyBandQText(int b, bool widthField);
    // Sends band b, recomputes its curve and repeats it on linked devices; stops after a failed
    // send.
    void applyBand(int b);
    // What one press on band b's marker holds until its release; cleared when the window loads
    // or closes, so that no press outlives its window.
    struct MarkerDrag {
        bool armed = false; // pressed on a channel whose equaliser is not bypassed
        bool moved = false; // the armed marker has moved
        // Twips from the pointer's top (its height less half a marker) to the top that shows the
        // band's gain: nonzero only while the marker is held on the picture's edge, so that the
        // gain follows the pointer's vertical movement from the band's own gain.
        int topOffset = 0;
        double gain = 0; // the band's gain at the press: kept even beyond the range shown
    };
    std::array<MarkerDrag, kBands> markerDrag_{};
    void clearMarkerDrags() { markerDrag_.fill(MarkerDrag{}); }
    bool hasContext() const;
    static void linkGroup(std::initializer_list<OptionButton*> group);

    // Puts every control back to its design value (a window object loaded again).
    void resetControls();

    // Crossover panel (FrmCtrlXover.cpp): section s is 0..3.
    void bindXoverPanel();
    void stepXoverFreq(int k, int s);
    void stepXoverQ(int k, int s);
    void xoverFreqKey(int k, int s, int& keyAscii);
    void xoverQKey(int k, int s, int& keyAscii);
    // Sends filter k and redraws it; true when the send failed (the link closed the window).
    bool applyXover(int k);
    // Fills filter k's sections from the preset row of its type, if the table has one.
    void setXoverAs(int k, bool linkwitzRiley);
    // Raised by applyXover when a send failed; the "Set as" buttons stop writing on it.
    bool xoverSendFailed_ = false;

    AppState& st_;
    int slot_;
    WindowContext* cx_ = nullptr;
    bool loaded_ = false;     // between a load and the unload
    bool everLoaded_ = false; // the object has served a window before
    bool closeSilently_ = false;
    bool closeAsking_ = false; // the close question is up: the meter poll keeps off the line
};
