#include "arcline/platform/CRuntimeClass.h"

#include "arcline/platform/CObject.h"

#include <map>
#include <mutex>
#include <string_view>

namespace {

// Records by class name. The names are owned by the records (string literals of the macros), so the
// keys stay valid for as long as their entries.
struct Registry {
    std::mutex mutex; // a library loaded from a worker thread registers while others look up
    std::map<std::string_view, CRuntimeClass*, std::less<>> by_name;
};

// Built on first use so that records in any translation unit or library can register during static
// initialisation, whatever the order. It is built inside the first record's constructor, so it is
// destroyed only after every record has left it.
Registry& registry() {
    static Registry instance;
    return instance;
}

} // namespace

CRuntimeClass::CRuntimeClass(const char* class_name, int object_size, unsigned int schema,
                             CreateFunction create, CRuntimeClass* base_class)
    : m_lpszClassName(class_name), m_nObjectSize(object_size), m_wSchema(schema), m_pfnCreateObject(create),
      m_pBaseClass(base_class) {
    if (class_name == nullptr) return;
    Registry& reg = registry();
    const std::scoped_lock lock(reg.mutex);
    reg.by_name.try_emplace(std::string_view(class_name), this);
}

CRuntimeClass::~CRuntimeClass() {
    if (m_lpszClassName == nullptr) return;
    Registry& reg = registry();
    const std::scoped_lock lock(reg.mutex);
    // Only the registered record of the name removes it; a later duplicate leaves the first in place.
    if (const auto it = reg.by_name.find(std::string_view(m_lpszClassName));
        it != reg.by_name.end() && it->second == this)
        reg.by_name.erase(it);
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* cls = this; cls != nullptr; cls = cls->m_pBaseClass)
        if (cls == base) return true;
    return false;
}

CRuntimeClass* CRuntimeClass::FromName(const char* class_name) {
    return class_name ? FromName(std::string_view(class_name)) : nullptr;
}

CRuntimeClass* CRuntimeClass::FromName(std::string_view class_name) {
    Registry& reg = registry();
    const std::scoped_lock lock(reg.mutex);
    const auto it = reg.by_name.find(class_name);
    return it != reg.by_name.end() ? it->second : nullptr;
}
