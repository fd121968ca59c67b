#include "platform/gdi/gdi_objects.h"

#include <mutex>
#include <unordered_map>

namespace platform::gdi {
namespace {

struct Table {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, std::unique_ptr<GdiObject>> objects;
    std::uintptr_t next = 0x20000;
};

Table& T() {
    static Table t;
    return t;
}

}  // namespace

HGDIOBJ AddObject(std::unique_ptr<GdiObject> object) {
    Table& t = T();
    std::lock_guard lock(t.mutex);
    std::uintptr_t id = t.next;
    t.next += 4;
    t.objects.emplace(id, std::move(object));
    return reinterpret_cast<HGDIOBJ>(id);
}

GdiObject* LookupObject(HGDIOBJ handle) {
    Table& t = T();
    std::lock_guard lock(t.mutex);
    auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == t.objects.end() ? nullptr : it->second.get();
}

bool RemoveObject(HGDIOBJ handle) {
    std::unique_ptr<GdiObject> doomed;
    {
        Table& t = T();
        std::lock_guard lock(t.mutex);
        auto it = t.objects.find(reinterpret_cast<std::uintptr_t>(handle));
        if (it == t.objects.end() || it->second->stock) return false;
        doomed = std::move(it->second);
        t.objects.erase(it);
    }
    return true;  // destroyed outside the lock: a destructor may look up other objects
}

HRGN NewRegionHandle(const Region& region) {
    return static_cast<HRGN>(AddObject(std::make_unique<RegionObject>(region)));
}

}  // namespace platform::gdi
