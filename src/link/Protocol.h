#pragma once
// The device protocol: 13-byte request frames, the command codes and the bank letters.
#include <array>
#include <cstdint>

using Data8 = std::array<uint8_t, 8>; // data bytes D1..D8 of a frame
using Frame13 = std::array<uint8_t, 13>;

constexpr uint8_t kFrameStart = 0xF0;
constexpr uint8_t kFrameEnd = 0xF7;
constexpr uint8_t kBankFirst = 0x65;  // 'e': bus addresses 0..32
constexpr uint8_t kBankSecond = 0x66; // 'f': bus addresses 33..65

constexpr uint8_t CmdPing = 0x00;
constexpr uint8_t CmdSetGain = 0x01;
constexpr uint8_t CmdSetDelay = 0x02;
constexpr uint8_t CmdSetPolarity = 0x03;
constexpr uint8_t CmdSetXoverA = 0x04;
constexpr uint8_t CmdSetEqBand = 0x05;
constexpr uint8_t CmdSetTemperature = 0x06;
constexpr uint8_t CmdSetCompressor = 0x07;
constexpr uint8_t CmdSetXoverB = 0x08;
constexpr uint8_t CmdSetMute = 0x09;
constexpr uint8_t CmdRecallMemory = 0x0B;
constexpr uint8_t CmdReadByte = 0x10;
constexpr uint8_t CmdWriteByte = 0x11;
constexpr uint8_t CmdReadMeters = 0x12;
constexpr uint8_t CmdSetLimiter = 0x16;
constexpr uint8_t CmdWrite4 = 0x18;
constexpr uint8_t CmdSetOutputFlag = 0x1A;
constexpr uint8_t CmdCommitName = 0x1C;
constexpr uint8_t CmdStoreMemory = 0x1F;
constexpr uint8_t CmdSetLoudness = 0x21;
constexpr uint8_t CmdReadVersion = 0x25;
constexpr uint8_t CmdSetId = 0x26;
constexpr uint8_t CmdSetEqBypass = 0x27;
constexpr uint8_t CmdRead8 = 0x2D;
constexpr uint8_t CmdSignOff = 0x8F;

constexpr int kReplyLength = 13;
constexpr int kHeaderReplyLength = 48;

// Bank letter of a bus address 0..65.
constexpr uint8_t BankOf(int busAddress) { return busAddress < 33 ? kBankFirst : kBankSecond; }

// Builds the request frame: F0, bank letter, ID within the bank, command, D1..D8, F7.
// Data bytes are sent unchanged, 0xF0 and 0xF7 included.
constexpr Frame13 DeviceFrame(uint8_t bank, uint8_t id, uint8_t cmd, const Data8& d) {
    return Frame13{kFrameStart, bank, id, cmd, d[0], d[1], d[2], d[3], d[4], d[5], d[6], d[7], kFrameEnd};
}

// The frame for a bus address 0..65.
constexpr Frame13 DeviceFrameFor(int busAddress, uint8_t cmd, const Data8& d) {
    return DeviceFrame(BankOf(busAddress), static_cast<uint8_t>(busAddress % 33), cmd, d);
}
