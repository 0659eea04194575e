#pragma once
// Speaker presets on the PC and in the device: the speaker list file ("*.y12", sixteen records)
// and the sixteen speaker slots of a device (176 bytes each from device address 1280).
//
// A file record: the name's length L (16-bit little-endian), L name bytes (Windows-1252, see
// FromAnsi), the status (16-bit signed little-endian, 35 used, 255 empty) and the 161 data
// bytes; 165 + L bytes.
// A slot: the name in 15 bytes padded with blanks, 35 in byte 15 when used, then data bytes
// 0..159.
#include "common/AppState.h"
#include "link/Link.h"
#include "memories/PcFiles.h"

#include <QByteArray>
#include <array>
#include <functional>
#include <optional>

constexpr int kSpeakerSlots = 16;
constexpr int kSpeakerSlotBase = 1280;
constexpr int kSpeakerSlotSize = 176;
constexpr int kSpeakerNameLength = 15;
constexpr int kSpeakerSlotDataBytes = 160; // slot bytes 16..175
constexpr int kSpeakerSlotFrames = 44;     // 4 name header frames and 40 data frames

using SpeakerList = std::array<SpkRec, kSpeakerSlots>;
using SpeakerNameHeader = std::array<uint8_t, 16>;

// Device address of byte k of speaker slot s.
constexpr int SpeakerSlotAddress(int s, int k = 0) {
    return kSpeakerSlotBase + kSpeakerSlotSize * s + k;
}

// The file bytes of records 0..15. A name goes in Windows-1252; a character outside it becomes
// "?".
QByteArray SpeakerListToBytes(const SpeakerList& list);
// The sixteen records of a file, read whole; nothing when the bytes do not hold sixteen complete
// records (bytes after the sixteenth record are not read).
std::optional<SpeakerList> SpeakerListFromBytes(const QByteArray& bytes);

// The most bytes sixteen records can take (names of 65535 bytes): a speaker list file is never
// read further.
constexpr qint64 kSpeakerListMaxBytes = qint64{kSpeakerSlots} * (165 + 0xFFFF);
// Reads a chosen speaker list file as far as its sixteen records reach. Ok with `list` filled;
// TooShort when the file does not hold sixteen whole records; on anything but Ok `list` is left
// as it was.
FileRead ReadSpeakerListFile(const QString& path, SpeakerList& list);

// Pads the name in place with blanks to 15 characters (a longer name is left as it is) and gives
// the slot's name header: the Windows-1252 codes of its first 15 characters ("?" for a character
// outside the page) and the used mark 35.
SpeakerNameHeader PadSpeakerName(QString& name);

// Writes record `rec` into speaker slot s of device dev: pads the record's name (the record keeps
// the padded name), notes the slot in PresetName and PresetStatus, then sends the 4 header and
// 40 data frames (CmdWrite4), calling `step` after each. Returns true when a frame failed and was
// reported: the writing then stopped there.
bool WriteSpeakerSlot(AppState& st, Link& link, int dev, int s, SpkRec& rec,
                      const std::function<void()>& step);

// Reads speaker slot s of device dev into `rec`: the name and status (two CmdRead8), then, for a
// used slot, the 160 data bytes in 20 reads; an empty slot reads as "Vacia" with the default
// output sections. `step` is called after each read, 22 times in all. `rec` changes only when
// every read was done; the result is what the first exchange that was not done reported
// (Done when all were).
Exchange ReadSpeakerSlot(AppState& st, Link& link, int dev, int s, SpkRec& rec,
                         const std::function<void()>& step);
