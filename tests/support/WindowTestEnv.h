#pragma once
// Editing windows on the simulated bus with the real response graph, opened and closed the way
// the device list and the link do it; the link routines are recorded.
#include "support/SimEnv.h"

#include "bus/FrmSearchNet.h"
#include "params/EqSetters.h"
#include "support/RecordingFakes.h"
#include "window/EditingWindowParts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

struct WindowEnv : SimEnv {
    RecordingLinked linked;
    EditingWindowParts parts{st, link, sv, linked};
    CtrlWindowSlots& windows = parts.windows;
    WindowContext& ctx = parts.context;
    ModGraph& graph = parts.modGraph;
    EditingWindowService& editing = parts.service;
    FrmSearchNet list{st, sv, link};

    WindowEnv() {
        list.setEditingWindows(&editing);
        link.setFailureSink(&list);
    }

    // Binds a slot to a device as the device list does and shows its window.
    FrmCtrl& open(int dev, int slot) {
        if (!bus.device(dev)) bus.addDevice(dev);
        st.ModelCode[static_cast<size_t>(dev)] = dev < 33 ? 1 : 2;
        auto& img = st.DevProgs[static_cast<size_t>(dev)].Params;
        std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(), img.begin());
        st.SlotTable[static_cast<size_t>(slot)] =
            WinSlotRec{-1, static_cast<int16_t>(dev), static_cast<int16_t>(slot)};
        st.NextSlot = static_cast<int16_t>(slot);
        ++st.OpenWindowCount;
        EXPECT_TRUE(editing.ShowEditingWindow(slot));
        return windows.CtrlWindow(slot);
    }

    // Types keys into a gain field as the view does: each key goes through the key procedure,
    // which may change it; Enter is not inserted.
    void type(FrmCtrl& w, int ch, const std::string& keys) {
        for (char c : keys) {
            int key = c == '\n' ? 13 : c;
            w.Text1_KeyPress(ch, key);
            if (key != 13 && key != 0) w.Text1[static_cast<size_t>(ch)].Text += QChar(key);
        }
    }

    std::vector<Frame13> sent(uint8_t cmd) const { return bus.framesWithCommand(cmd); }
    // Frames other than the reads of the device list.
    std::vector<Frame13> edits() const {
        std::vector<Frame13> out;
        for (const auto& f : bus.frames)
            if (f[3] != CmdPing && f[3] != CmdReadByte && f[3] != CmdRead8 && f[3] != CmdRecallMemory &&
                f[3] != CmdReadVersion)
                out.push_back(f);
        return out;
    }
};
