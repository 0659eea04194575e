#pragma once
// The two records kept per device: the program image (the device's parameter memory byte for
// byte, in device units, also the raw content of program and output preset files) and the display
// record (the same settings in user units, with the memory list and the program name).
#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// Program image: 1059 bytes, no header, padding or checksum; numbers of more than one byte are
// big-endian. Bytes 0..208 the parameter block, 209..977 the mirror of device addresses 0..768,
// 978..1058 the editing window's view options.
struct ProgRecord {
    static constexpr int kParamsSize = 209;
    static constexpr int kExtSize = 769;
    static constexpr int kOptionsSize = 81;
    static constexpr int kExtStart = kParamsSize;                       // record byte of Ext(0)
    static constexpr int kOptionsStart = kParamsSize + kExtSize;        // record byte of Options(0)
    static constexpr int kSize = kParamsSize + kExtSize + kOptionsSize; // 1059

    std::array<uint8_t, kParamsSize> Params{};
    std::array<uint8_t, kExtSize> Ext{}; // Ext(a) mirrors device address a
    std::array<uint8_t, kOptionsSize> Options{};

    // Whole-record byte i (0..1058); outside that range reads give 0 and writes are ignored.
    uint8_t Byte(int i) const;
    void SetByte(int i, uint8_t v);
    // 16-bit big-endian number at whole-record bytes i, i + 1.
    uint16_t Word(int i) const;
    void SetWord(int i, uint16_t v);
    // Copies whole-record bytes first..last (inclusive, clipped to the record) from src.
    void CopyBytes(const ProgRecord& src, int first, int last);

    // The raw 1059-byte image as program files and output presets hold it.
    QByteArray ToBytes() const;
    // Takes a raw image; anything but exactly 1059 bytes is refused and changes nothing.
    bool FromBytes(const QByteArray& raw);

    bool operator==(const ProgRecord&) const = default;
};

// Display record: the settings in user units. Bands 0..18 (0..4 input, 5..11 output 1, 12..18
// output 2; arrays hold 21 entries), crossover filters 0..3, channels 0..2, memories 0..15.
struct DeviceRec {
    std::array<float, 21> BandGain{}; // dB, -15..+15
    std::array<float, 21> BandFreq{}; // Hz, 20..20000
    std::array<float, 21> BandQ{};    // 0.3 + 0.1 * index
    std::array<float, 21> BandOff{};  // 1.0 band switched off, 0.0 active
    std::array<float, 4> XoverType{}; // type code 0..17
    std::array<float, 4> XoverFreq{}; // section 1 frequency as last entered
    std::array<float, 4> XoverF1{};
    std::array<float, 4> XoverF2{};
    std::array<float, 4> XoverF3{};
    std::array<float, 4> XoverF4{};
    std::array<float, 4> XoverQ1{}; // 0.05 + 0.05 * index
    std::array<float, 4> XoverQ2{};
    std::array<float, 4> XoverQ3{};
    std::array<float, 4> XoverQ4{};
    std::array<float, 3> ChanGain{};     // dB, -36..+12
    std::array<int16_t, 3> Mute{};       // 1 muted
    std::array<int16_t, 3> Polarity{};   // 1 inverted (outputs only)
    int16_t DelayUnit = 0;               // 0 time (ms), 1 distance (m)
    int16_t TempUnit = 0;                // 0 Celsius, 1 Fahrenheit
    int16_t TempSlider = 0;              // temperature scroll position 0..70 (T + 20)
    std::array<double, 3> DelayCoarse{}; // count of 0.34 m steps
    std::array<double, 3> DelayFine{};   // count of 0.007 m steps
    std::array<int16_t, 3> LimiterBypass{};
    std::array<int16_t, 3> CompBypass{};
    double UnitLock = 0;              // 1.0 locked, 0.0 free
    std::array<double, 16> MemProg{}; // memory number; over 63 the memory is empty
    std::array<QString, 16> MemName;  // five characters, blank-padded
    QString CurProgName;
};

// Speaker preset: a named set of the two output sections, as a speaker slot of a device and a
// record of a speaker list file hold it.
struct SpkRec {
    static constexpr int16_t kUsed = 35; // '#'
    static constexpr int16_t kEmpty = 255;
    static constexpr int kDataSize = 161;

    QString Name;            // 15 characters when read from a device; any length from a file
    int16_t Status = kEmpty; // kUsed, or anything else for an empty record
    // 0..159 are program image bytes 48..207; 160 travels in files, never to a device.
    std::array<uint8_t, kDataSize> Data{};

    bool used() const { return Status == kUsed; }
    bool operator==(const SpkRec&) const = default;
};
