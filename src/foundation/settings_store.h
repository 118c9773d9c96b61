// The program's persistent settings: one key holding typed values, with the registry's rules
// (a read into a buffer too small fails; a read returns the stored type whatever was expected).
// The Windows build stores them in the registry; tests and the native tools keep them in memory.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

// Value types, numbered as the registry numbers them.
constexpr uint32_t settingTypeText = 1;  // REG_SZ
constexpr uint32_t settingTypeDword = 4; // REG_DWORD

class SettingsStore {
  public:
    virtual ~SettingsStore() = default;
    // Opens the key, creating it when missing; the class text matters only on creation.
    // existed tells whether the key was there before.
    virtual bool openKey(const char* className, bool* existed) = 0;
    // On success data holds the value and type and size its stored type and size. Fails when
    // the value is missing or larger than *size.
    virtual bool readValue(const char* name, uint32_t* type, void* data, uint32_t* size) = 0;
    virtual bool writeValue(const char* name, uint32_t type, const void* data, uint32_t size) = 0;
    virtual void closeKey() = 0;
};

// The store every part of the program uses; an in-memory one until the shell installs another.
SettingsStore& settingsStore();
// Installs a store (none restores the in-memory default) and returns the previous one.
SettingsStore* setSettingsStore(SettingsStore* store);

class MemorySettingsStore : public SettingsStore {
  public:
    bool openKey(const char* className, bool* existed) override;
    bool readValue(const char* name, uint32_t* type, void* data, uint32_t* size) override;
    bool writeValue(const char* name, uint32_t type, const void* data, uint32_t size) override;
    void closeKey() override {}

    bool keyExists() const { return keyExists_; }
    const std::string& keyClass() const { return keyClass_; }
    // Lets a test stand in for a failing registry.
    void setFailing(bool failing) { failing_ = failing; }

  private:
    struct Value {
        uint32_t type;
        std::vector<uint8_t> bytes;
    };
    bool keyExists_ = false;
    bool failing_ = false;
    std::string keyClass_;
    std::map<std::string, Value> values_;
};
