// A shell for the window tests: the rights word they set, and the shutdowns asked for.
#pragma once

#include "ui/TAppShell.h"

#include <cstdint>

class RecordingShell : public TAppShell {
public:
    uint32_t GetRights() const override { return rights; }
    void SetScreenSize(int, int) override {}
    void ShutDown() override { ++shutDowns; }
    void SetUpdatePending(int pending) override { updatePending = pending; }

    uint32_t rights = 0xFFFFFFFF;
    int shutDowns = 0;
    int updatePending = 0;
};
