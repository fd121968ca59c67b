// Saves a device context's state for a scope and restores it on every way out, exceptions
// included.
#pragma once

#include "platform/gdi.h"

namespace paint {

class SavedDcState {
public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(dc ? SaveDC(dc) : 0) {}
    ~SavedDcState() {
        if (dc_ && saved_) RestoreDC(dc_, saved_);
    }
    SavedDcState(const SavedDcState&) = delete;
    SavedDcState& operator=(const SavedDcState&) = delete;

private:
    HDC dc_;
    int saved_;
};

}  // namespace paint
