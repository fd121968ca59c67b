#include "forms/glow_registry.h"

#include "platform/window.h"
#include "skin/skin_engine.h"

namespace forms {
namespace {

// An id is sequence * kSlotLimit + slot; both parts stay within a non-negative int.
constexpr int kSlotBits = 8;
constexpr int kSlotLimit = 1 << kSlotBits;
constexpr int kSequenceLimit = 1 << (31 - kSlotBits);

struct Slot {
    std::unique_ptr<TacGlowEffect> glow;
    int id = -1;
};

class TacGlowEffects {
  public:
    int Add(std::unique_ptr<TacGlowEffect> glow) {
        std::size_t slot = FreeSlot();
        if (slot >= static_cast<std::size_t>(kSlotLimit)) return -1;
        if (slot == slots_.size()) slots_.emplace_back();
        sequence_ = (sequence_ + 1) % kSequenceLimit;
        slots_[slot] = Slot{std::move(glow), sequence_ * kSlotLimit + static_cast<int>(slot)};
        return slots_[slot].id;
    }
    Slot* Find(int id) {
        if (id < 0) return nullptr;
        std::size_t slot = static_cast<std::size_t>(id % kSlotLimit);
        if (slot >= slots_.size() || slots_[slot].id != id || !slots_[slot].glow) return nullptr;
        return &slots_[slot];
    }
    void Close(int id) {
        Slot* s = Find(id);
        if (!s) return;
        // Take it out first: closing the window may send messages that reach the registry.
        std::unique_ptr<TacGlowEffect> glow = std::move(s->glow);
        s->id = -1;
        glow.reset();
        TrimTail();
    }
    void CloseAll() {
        std::vector<Slot> closing;
        closing.swap(slots_);
        closing.clear();
    }
    std::size_t Slots() const { return slots_.size(); }
    std::size_t Open() const {
        std::size_t n = 0;
        for (const Slot& s : slots_) n += s.glow ? 1 : 0;
        return n;
    }

  private:
    std::size_t FreeSlot() const {
        for (std::size_t i = 0; i < slots_.size(); ++i)
            if (!slots_[i].glow) return i;
        return slots_.size();
    }
    void TrimTail() {
        while (!slots_.empty() && !slots_.back().glow) slots_.pop_back();
    }

    std::vector<Slot> slots_;
    // Survives CloseAll and trimming, so that an id is not given twice in a row.
    int sequence_ = 0;
};

TacGlowEffects& Registry() {
    static TacGlowEffects registry;
    return registry;
}

skin::TsSkinManager* ManagerOrDefault(skin::TsSkinManager* manager) {
    return manager ? manager : skin::DefaultManager();
}

}  // namespace

int OpenGlowWindow(const RECT& box, const RECT& visible, const std::string& section,
                   skin::TsSkinManager* manager, HWND parent, int overlap,
                   const std::string& entry) {
    if (!platform::LayeredWindowsAvailable()) return -1;
    manager = ManagerOrDefault(manager);
    if (!manager || section.empty()) return -1;
    const skin::TsSkinModel& model = manager->Model();
    const int entryIndex = model.FindMaskOwn(section, entry + "0");
    if (entryIndex < 0) return -1;
    auto glow = std::make_unique<TacGlowEffect>(entryIndex, overlap);
    if (!glow->Show(model, box, visible, parent)) return -1;
    return Registry().Add(std::move(glow));
}

void CloseGlowWindow(int id) {
    Registry().Close(id);
}

void CloseAllGlowWindows() {
    Registry().CloseAll();
}

std::size_t GlowRegistrySlots() {
    return Registry().Slots();
}

std::size_t OpenGlowCount() {
    return Registry().Open();
}

TacGlowEffect* FindGlow(int id) {
    Slot* s = Registry().Find(id);
    return s ? s->glow.get() : nullptr;
}

}  // namespace forms
