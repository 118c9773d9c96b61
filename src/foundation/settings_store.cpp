#include "foundation/settings_store.h"

#include <cstring>

namespace {

MemorySettingsStore defaultStore;
SettingsStore* currentStore = &defaultStore;

} // namespace

SettingsStore& settingsStore() {
    return *currentStore;
}

SettingsStore* setSettingsStore(SettingsStore* store) {
    SettingsStore* previous = currentStore;
    currentStore = store ? store : &defaultStore;
    return previous;
}

bool MemorySettingsStore::openKey(const char* className, bool* existed) {
    if (failing_)
        return false;
    if (existed)
        *existed = keyExists_;
    if (!keyExists_) {
        keyExists_ = true;
        keyClass_ = className ? className : "";
    }
    return true;
}

bool MemorySettingsStore::readValue(const char* name, uint32_t* type, void* data, uint32_t* size) {
    auto found = values_.find(name);
    if (failing_ || found == values_.end() || found->second.bytes.size() > *size)
        return false;
    *type = found->second.type;
    *size = static_cast<uint32_t>(found->second.bytes.size());
    if (!found->second.bytes.empty())
        std::memcpy(data, found->second.bytes.data(), found->second.bytes.size());
    return true;
}

bool MemorySettingsStore::writeValue(const char* name, uint32_t type, const void* data,
                                     uint32_t size) {
    if (failing_)
        return false;
    const uint8_t* bytes = static_cast<const uint8_t*>(data);
    values_[name] = Value{type, std::vector<uint8_t>(bytes, bytes + size)};
    return true;
}
