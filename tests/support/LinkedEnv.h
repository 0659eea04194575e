#pragma once
// Devices of a device list on the simulated bus, some of them linked, with the program's editing
// windows, link routines and response graph.
#include "support/SimEnv.h"

#include "bus/FrmSearchNet.h"
#include "window/EditingWindowParts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

struct LinkedEnv : SimEnv {
    EditingWindowParts parts{st, link, sv};
    FrmSearchNet list{st, sv, link};

    static size_t at(int i) { return static_cast<size_t>(i); }

    // Devices listed in this order with the default program, all present; `members` linked.
    LinkedEnv(const std::vector<int>& listed, const std::vector<int>& members) {
        list.setEditingWindows(&parts.service);
        link.setFailureSink(&list);
        for (int a : listed) {
            bus.addDevice(a);
            st.DevTable[at(a)].Present = 1;
            std::copy(st.Tables.DefaultProgram.begin(), st.Tables.DefaultProgram.end(),
                      st.DevProgs[at(a)].Params.begin());
        }
        listDevices(listed);
        for (int a : members)
            st.LinkOn[at(st.DeviceRow[at(a)])] = true;
    }
    FrmCtrl& open(int dev, int slot) {
        st.SlotTable[at(slot)] = WinSlotRec{-1, static_cast<int16_t>(dev), static_cast<int16_t>(slot)};
        EXPECT_TRUE(parts.service.ShowEditingWindow(slot));
        return parts.windows.CtrlWindow(slot);
    }
    static int address(const Frame13& f) { return (f[1] == kBankSecond ? 33 : 0) + f[2]; }
    // Frames with command cmd that reached bus address a.
    std::vector<Frame13> to(int a, uint8_t cmd) const {
        std::vector<Frame13> out;
        for (const auto& f : bus.framesWithCommand(cmd))
            if (address(f) == a) out.push_back(f);
        return out;
    }
};
