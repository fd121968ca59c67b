#include "paint/image_entry.h"

namespace paint {

const skin::TsMaskData* MaskAt(const skin::TsSkinModel& model, int index) {
    if (index < 0 || static_cast<std::size_t>(index) >= model.Masks.size()) return nullptr;
    return &model.Masks[static_cast<std::size_t>(index)];
}

framework::TBitmap* EntryImage(const skin::TsSkinModel& model, const skin::TsMaskData& entry) {
    framework::TBitmap* b = entry.Bmp ? entry.Bmp.get() : model.MasterBitmap.get();
    return b && !b->Empty() ? b : nullptr;
}

int FrameWidth(const skin::TsMaskData& e) { return e.ImageCount > 0 ? e.Width() / e.ImageCount : 0; }

int FrameHeight(const skin::TsMaskData& e) {
    // MaskType -1 has no defined frame; a divisor of 0 is never used.
    return e.MaskType + 1 > 0 ? e.Height() / (e.MaskType + 1) : 0;
}

}  // namespace paint
