// The settings in the registry: HKEY_CURRENT_USER\Software\Quenby\DCC, or a key of their own
// for tests, which must never touch a user's real settings.
#pragma once

#include <windows.h>

#include "foundation/settings_store.h"

// The program's key under HKEY_CURRENT_USER.
extern const char programSettingsKey[];

class RegistrySettingsStore : public SettingsStore {
  public:
    explicit RegistrySettingsStore(const char* keyPath = programSettingsKey) : keyPath_(keyPath) {}
    ~RegistrySettingsStore() override { closeKey(); }
    bool openKey(const char* className, bool* existed) override;
    bool readValue(const char* name, uint32_t* type, void* data, uint32_t* size) override;
    bool writeValue(const char* name, uint32_t type, const void* data, uint32_t size) override;
    void closeKey() override;

  private:
    const char* keyPath_;
    HKEY key_ = nullptr;
};
