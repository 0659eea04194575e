#pragma once
// Constant tables of the whole program: value grids, captions, the default program bytes, graph
// factors, meter thresholds and the byte offsets of every parameter block in the program image.
// They are filled once before any device traffic and only read afterwards.
#include <QString>
#include <array>
#include <cstdint>

struct ConstantTables {
    // ---- Value grids ----
    std::array<double, 233> FreqTable{};   // Hz, 20 .. 16000, ascending
    std::array<double, 198> WidthTable{};  // octaves for Q = 0.3 + 0.1 * index, descending
    std::array<double, 30> ReleaseTimes{}; // 0.1 .. 3.0 s
    std::array<double, 30> AttackTimes{};  // 5 .. 200 ms
    std::array<QString, 32> RatioLabels;   // "1:1 " .. "32:1"

    // ---- Captions ----
    std::array<QString, 17> BandTypeNames;    // by band type code 0..16
    std::array<QString, 71> FahrenheitLabels; // by Celsius + 20, five characters each
    std::array<QString, 2> DelayUnitSuffix;   // 0 " ms", 1 " m"
    std::array<QString, 3> ModelCaption;      // by model code
    std::array<QString, 6> ModelLetters1;
    std::array<QString, 6> ModelLetters2;
    std::array<QString, 16> EmptyMemName; // one character each: "Vacia" and blanks
    QString NameHelpTitle;
    QString NameHelpChars;

    // ---- Default program and name ----
    std::array<uint8_t, 208> DefaultProgram{}; // program image bytes 0..207
    std::array<int16_t, 16> DefaultNameCodes{};

    // ---- Graph and meters ----
    std::array<double, 61> ShelfFactorA{}; // by 60 - band gain slider position
    std::array<double, 61> ShelfFactorB{};
    std::array<int16_t, 7> LedLevels7{};
    std::array<int16_t, 8> LedLevels8{};
    double PointsPerDecade = 0; // response grid points per frequency decade (575 / 3)
    double TwipsPerDecade = 0;  // graph picture twips per frequency decade (8655 / 3)

    // ---- Byte offsets in the program image parameter block ----
    int16_t MuteAddr = 0;
    int16_t DlfAddr = 0;
    int16_t PolarityAddr = 0;
    int16_t LimiterBypassAddr = 0;
    int16_t CompBypassAddr = 0;
    std::array<int16_t, 3> GainBase{};     // by channel; the gain byte is base + 1
    std::array<int16_t, 3> DelayBase{};    // by channel; coarse (2 bytes, high first), fine
    std::array<int16_t, 3> EqBypassAddr{}; // by channel
    std::array<int16_t, 3> LimiterBase{};  // by channel (entry 0 unused: the input has none)
    std::array<int16_t, 3> CompBase{};     // by channel (entry 0 unused)
    std::array<int16_t, 4> XoverBase{};    // by crossover filter 0..3
    std::array<int16_t, 19> BandBase{};    // by equaliser band 0..18
    std::array<int16_t, 3> BandMaskAddr{}; // by channel

    // Builds every table, so that a state object never holds empty tables.
    ConstantTables();
};

// Fills every table and value; filling again gives the same contents.
void FillTables(ConstantTables& t);
