// The settings in the registry: HKEY_CURRENT_USER\Software\Quenby\DCC.
#pragma once

#include <windows.h>

#include "foundation/settings_store.h"

class RegistrySettingsStore : public SettingsStore {
  public:
    ~RegistrySettingsStore() override { closeKey(); }
    bool openKey(const char* className, bool* existed) override;
    bool readValue(const char* name, uint32_t* type, void* data, uint32_t* size) override;
    bool writeValue(const char* name, uint32_t type, const void* data, uint32_t size) override;
    void closeKey() override;

  private:
    HKEY key_ = nullptr;
};
