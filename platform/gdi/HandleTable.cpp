#include "platform/gdi/GdiInternal.h"
#include "platform/gdi/GdiObjects.h"

#include <unordered_map>

namespace gdi {

namespace {

// Everything runs on the user-interface thread, so the table is not locked.
struct HandleTable {
    std::unordered_map<std::uintptr_t, std::shared_ptr<GdiObject>> m_objects;
    // Handle values step by 16 from a base that no small integer reaches, so
    // a system colour index passed as a brush never names an object.
    std::uintptr_t m_next{0x10000};
};

HandleTable& Table() {
    static HandleTable table;
    return table;
}

} // namespace

HGDIOBJ AddObject(std::shared_ptr<GdiObject> object) {
    HandleTable& table = Table();
    const std::uintptr_t value = table.m_next;
    table.m_next += 16;
    table.m_objects.emplace(value, std::move(object));
    return reinterpret_cast<HGDIOBJ>(value);
}

std::shared_ptr<GdiObject> FindObject(HGDIOBJ handle) {
    if (!handle)
        return nullptr;
    HandleTable& table = Table();
    auto it = table.m_objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == table.m_objects.end() ? nullptr : it->second;
}

bool RemoveObject(HGDIOBJ handle) {
    return Table().m_objects.erase(reinterpret_cast<std::uintptr_t>(handle)) != 0;
}

} // namespace gdi

std::size_t GdiObjectCount() {
    return gdi::Table().m_objects.size();
}
