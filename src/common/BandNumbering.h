#pragma once
// Numbering of a device's equaliser bands and crossover filters. Bands are numbered across the
// device: 0..4 belong to the input, 5..11 to the first output and 12..18 to the second output;
// crossover filters 0 and 1 (high and low pass) to the first output, 2 and 3 to the second.

constexpr int kChannels = 3;     // input, output 1, output 2
constexpr int kBands = 19;       // equaliser bands of a device
constexpr int kXoverFilters = 4; // crossover filters of a device

// Channel (0..2) of band b.
constexpr int BandChannel(int b) {
    return b < 5 ? 0 : (b < 12 ? 1 : 2);
}
// First band of channel ch.
constexpr int ChannelFirstBand(int ch) {
    return ch == 0 ? 0 : (ch == 1 ? 5 : 12);
}
// Number of bands of channel ch.
constexpr int ChannelBandCount(int ch) {
    return ch == 0 ? 5 : 7;
}
// Number of band b within its channel, from 0.
constexpr int BandInChannel(int b) {
    return b - ChannelFirstBand(BandChannel(b));
}
// Output channel (1 or 2) of crossover filter k.
constexpr int XoverChannel(int k) {
    return k / 2 + 1;
}
