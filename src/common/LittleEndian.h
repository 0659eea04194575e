#pragma once
// 16-bit little-endian words in the byte images of the PC's configuration and demo files.
#include <QByteArray>
#include <cstdint>

inline int16_t WordAt(const QByteArray& b, qsizetype offset) {
    const auto lo = static_cast<uint8_t>(b[offset]);
    const auto hi = static_cast<uint8_t>(b[offset + 1]);
    return static_cast<int16_t>(static_cast<uint16_t>(lo | (hi << 8)));
}

inline void PutWord(QByteArray& b, qsizetype offset, int16_t v) {
    const auto u = static_cast<uint16_t>(v);
    b[offset] = static_cast<char>(u & 0xFF);
    b[offset + 1] = static_cast<char>(u >> 8);
}
