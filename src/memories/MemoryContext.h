#pragma once
// What the store, recall and delete dialogs work with: the program state, the link, the message
// boxes, the editing window they were opened from and that window's device. The dialogs reach the
// editing window only through MemoryWindow, so they do not depend on how the window is built.
#include "common/AppState.h"
#include "link/Link.h"
#include "platform/MessageBox.h"

#include <QString>
#include <QStringList>
#include <utility>

// The editing window a memory dialog was opened from.
class MemoryWindow {
  public:
    virtual ~MemoryWindow() = default;
    virtual void SetCaption(const QString& caption) = 0;
    // Rebuilds every control of the window from its device's program image (the whole-program
    // load); sends whatever the load sends unless traffic is suspended.
    virtual void LoadProgram() = 0;
    // Draws the window's graphs again from the stored responses.
    virtual void RedrawGraphs() = 0;
};

struct MemoryContext {
    AppState& st;
    Link& link;
    MessageBoxService& msg;
    MemoryWindow& window;
    int dev; // bus address of the window's device

    ProgRecord& prog() { return st.DevProgs[static_cast<size_t>(dev)]; }
    DeviceRec& rec() { return st.DevRecs[static_cast<size_t>(dev)]; }
};

constexpr int kUserMemories = 16;
// The first device address of user memory m's 48-byte header; its last byte is the status.
constexpr int MemoryHeaderAddress(int m) {
    return 288 + 48 * m;
}
constexpr int MemoryStatusAddress(int m) {
    return MemoryHeaderAddress(m) + 47;
}
constexpr int kMemoryInUseAddress = 31;
// A memory index that may index the memory tables and be sent to a device.
constexpr bool ValidMemory(int m) {
    return m >= 0 && m < kUserMemories;
}
// A memory whose program number is above 63 is empty.
inline bool MemoryEmpty(const DeviceRec& rec, int m) {
    return rec.MemProg[static_cast<size_t>(m)] > 63;
}

// The rows of a memory list: "01: " .. "16: " followed by each memory's name.
QStringList MemoryListRows(const DeviceRec& rec);
// The name of an emptied memory: the sixteen characters of EmptyMemName joined.
QString EmptyMemoryFullName(const ConstantTables& t);
// The editing window's caption after memory m was stored or recalled.
QString MemoryCaption(const AppState& st, int dev, int m);
// D1, D2 of a device address: high byte, low byte.
std::pair<uint8_t, uint8_t> AddressBytes(int address);

// Raises DrawSuspended and CommSuspended for its lifetime and restores what it found.
class LoadSuspension {
  public:
    explicit LoadSuspension(AppState& st)
        : st_(st), draw_(std::exchange(st.DrawSuspended, int16_t{1})),
          comm_(std::exchange(st.CommSuspended, true)) {}
    ~LoadSuspension() {
        st_.DrawSuspended = draw_;
        st_.CommSuspended = comm_;
    }
    LoadSuspension(const LoadSuspension&) = delete;
    LoadSuspension& operator=(const LoadSuspension&) = delete;

  private:
    AppState& st_;
    int16_t draw_;
    bool comm_;
};
