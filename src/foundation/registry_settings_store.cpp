#include "foundation/registry_settings_store.h"

const char programSettingsKey[] = "Software\\Quenby\\DCC";

bool RegistrySettingsStore::openKey(const char* className, bool* existed) {
    closeKey();
    DWORD disposition = 0;
    LONG status = RegCreateKeyExA(HKEY_CURRENT_USER, keyPath_, 0, const_cast<char*>(className), 0,
                                  KEY_ALL_ACCESS, nullptr, &key_, &disposition);
    if (status != ERROR_SUCCESS) {
        key_ = nullptr;
        return false;
    }
    if (existed)
        *existed = disposition == REG_OPENED_EXISTING_KEY;
    return true;
}

bool RegistrySettingsStore::readValue(const char* name, uint32_t* type, void* data,
                                      uint32_t* size) {
    DWORD storedType = 0;
    DWORD storedSize = *size;
    if (!key_ || RegQueryValueExA(key_, name, nullptr, &storedType, static_cast<BYTE*>(data),
                                  &storedSize) != ERROR_SUCCESS)
        return false;
    *type = storedType;
    *size = storedSize;
    return true;
}

bool RegistrySettingsStore::writeValue(const char* name, uint32_t type, const void* data,
                                       uint32_t size) {
    return key_ && RegSetValueExA(key_, name, 0, type, static_cast<const BYTE*>(data), size) ==
                       ERROR_SUCCESS;
}

void RegistrySettingsStore::closeKey() {
    if (key_)
        RegCloseKey(key_);
    key_ = nullptr;
}
