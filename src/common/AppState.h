#pragma once
// The one object of program-wide state. Start-up builds it once and hands it down by reference;
// every table is created empty and keeps its size for the whole run.
#include "common/DeviceRecords.h"
#include "common/Tables.h"
#include "graph/GraphState.h"

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

constexpr int kBusAddresses = 66; // bus addresses 0..65
constexpr int kWindowSlots = 66;  // editing window slots 0..65
constexpr int kListRows = 66;     // device list rows 0..65

// A bus address is valid for a table index and for a frame when it lies in 0..65.
constexpr bool ValidBusAddress(int a) { return a >= 0 && a < kBusAddresses; }

// Device table record: eleven 16-bit words; the demo device file holds 66 of them.
struct DevTableRec {
    int16_t Address = 0;
    std::array<int16_t, 9> Unused{}; // carried unchanged from the demo device file
    int16_t Present = 0;             // 1 answered the last scan or reconnection
};

// Window slot record.
struct WinSlotRec {
    int16_t InUse = 0;  // -1 taken, 0 free
    int16_t Device = 0; // bus address shown in the window
    int16_t Slot = 0;   // the slot's own index
};

struct AppState {
    // ---- Application ----
    QString AppFolder;              // the working folder at start
    QString SoftwareVersion = "2.1";
    bool ServiceMode = false;       // service login accepted

    // ---- Program-wide flags ----
    bool DemoMode = false;          // running without devices: no exchange leaves
    bool PortReady = false;         // the port is open and usable
    bool PortOpened = false;        // the port was opened
    bool CommSuspended = false;     // every send returns at once, as after success
    bool ExchangeIdle = true;       // no request waits for its reply (the meter poll may run)
    bool ReportCommErrors = false;  // a failed send is reported and the device disconnected
    bool RxTimeout = false;         // the ping's receive time-out has passed
    bool FirstWindowPending = true;
    bool EditBusy = false;          // an edit handler is exchanging with the device
    bool QuitSilently = false;
    bool SuppressEvents = false;    // code is setting controls: change handlers return at once
    int16_t DrawSuspended = 0;      // exactly 1: the graph line routines draw nothing

    // ---- Connection choices ----
    int CommPortNumber = 0;         // 0 "NONE", n "COM n"
    QString CommSettings = "9600,N,8,1";

    // ---- Connection choices of the connection dialog (bus) ----
    bool NetworkMode = false;       // false one device, true several (scan or chain)
    bool TenIdChain = false;        // chain of the IDs ChainIds 0..9
    bool TwentyIdChain = false;     // chain of the IDs ChainIds 0..19
    int16_t SingleDeviceAddress = 1; // ID of the single device; the main window adds 33 for the second model
    std::array<int16_t, 65> ChainIds{}; // 0..19 the chain IDs; 20..64 carried with their file
    int16_t ModelMask = 0;          // bit 0 first model, bit 1 second model
    bool IdConfigPending = false;   // the ID configuration panel lists found devices

    // ---- Serial link buffers ----
    std::array<uint8_t, 13> TxBuf{};
    std::array<uint8_t, 465> RxBuf{};
    QByteArray RxInput;
    uint8_t BankLetter = 0x65;

    // ---- Tables indexed by bus address ----
    std::array<DevTableRec, kBusAddresses> DevTable{};
    std::array<bool, kBusAddresses> DeviceDisconnected{};
    std::array<bool, kBusAddresses> DevicePingOk{};
    std::array<int16_t, kBusAddresses> DeviceRow{};
    std::array<int16_t, kBusAddresses> ModelCode{};
    std::array<QString, kBusAddresses> DeviceName{};
    std::array<QString, kBusAddresses> FirmwareVersion{};
    std::array<int16_t, kBusAddresses> DeviceSlot{};
    std::array<bool, kBusAddresses> DeviceWindowOpen{};

    // ---- Tables indexed by device-list row ----
    std::array<int16_t, kListRows> FoundList{};
    std::array<bool, kListRows> LinkOn{};
    int16_t FoundLast = -1;         // last used row; -1 no device

    // ---- Tables indexed by window slot ----
    std::array<WinSlotRec, kWindowSlots> SlotTable{};
    int16_t NextSlot = 0;
    int16_t CurSlot = 0;
    int16_t OpenWindowCount = -1;   // open editing windows minus one

    // ---- Constant tables, number format, device records ----
    ConstantTables Tables;          // filled on construction, read-only afterwards
    int32_t DecimalComma = 0;       // 1 when the locale's decimal sign is not "." (set at start)
    std::array<uint8_t, 31> SplitBytes{}; // output buffer of SplitToBytesBE
    std::array<ProgRecord, kBusAddresses> DevProgs{}; // program image by bus address
    ProgRecord FileProg;            // buffer of a program or output preset file being read
    std::array<DeviceRec, kBusAddresses> DevRecs{};   // display record by bus address
    std::array<std::array<int16_t, 19>, kBusAddresses> BandType{}; // band type 0..16 by band
    std::array<std::array<int16_t, 3>, kBusAddresses> EqBypass{};  // 1 equaliser bypassed, by channel
    std::array<int16_t, kBusAddresses> DevTemperature{};           // air temperature, degrees Celsius
    std::array<std::array<int32_t, 3>, kBusAddresses> DelaySamples{}; // delay in samples at 48 kHz

    // ---- Device list ----
    bool SearchingNewId = false;    // the rescan is closing the device list (it refuses otherwise)

    // ---- What a device read brings in (memories list, speaker slots, current program) ----
    std::array<std::array<int16_t, 16>, kBusAddresses> PresetStatus{}; // speaker slot status, 35 used
    std::array<std::array<QString, 16>, kBusAddresses> PresetName{};   // speaker slot names
    std::array<int16_t, kBusAddresses> LastSystemType{};               // 16 or more: none
    int16_t LastProgNumber = 0;     // program the device runs (0-based; 65 unsaved, 255 default)
    // Memory each device last stored or recalled, by bus address (0 before any): the memory in
    // use that the delete refuses when the device itself is not asked (demo mode).
    std::array<int16_t, kBusAddresses> DevMemoryInUse{};

    // ---- Speaker presets: the factory list and the speaker library (records 0..15 used) ----
    std::array<SpkRec, 17> SpkLib{};     // record s belongs to speaker slot s
    std::array<bool, 16> SpkSelected{}; // records marked for the library download

    // ---- Editing window ----
    std::array<int16_t, kBusAddresses> SelectedSection{}; // channel section in front, by bus address
    bool CloseForCopy = false;       // the copy dialog is closing a target device's window
    int16_t CloseForCopyDevice = 0;  // that device's bus address
    int16_t FilterDialogBand = 0;    // equaliser band 0..18 the filter-type dialog works on
    int16_t CopySource = 0;          // bus address whose program the copy dialog copies from
    QString BadCharMessage;          // the last refusal of a name field's key filter

    // ---- Graph view options, by window slot: each window's graphs follow its own choices ----
    // Entry [s][k] serves output graph k + 1 of the window in slot s.
    std::array<std::array<int16_t, 2>, kWindowSlots> AddInputGain{}; // 1: "Output+Input"
    std::array<std::array<int16_t, 2>, kWindowSlots> OverlayOther{}; // non-zero: the other output too

    // ---- Response graph ----
    GraphState Graph;               // response store by window slot, grid pictures, pens

    // ---- Level meters ----
    // Lit LEDs of meter 0..8 (0 the input, 2 and 3 the outputs) by bus address, a whole number.
    std::array<std::array<double, 9>, kBusAddresses> MeterLevel{};

    // Row of the device list that lists bus address a, or -1 when no listed row does.
    int ListedRow(int a) const;
    // Bus address bound to the current window slot.
    int CurDevice() const { return SlotTable[static_cast<size_t>(CurSlot)].Device; }
};
