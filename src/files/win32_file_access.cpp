// The files seam on Windows: the UTF-8 names go to the wide calls, which take every name a file
// dialog or the command line can give, also those the ANSI code page lacks.
#include <windows.h>

#include "files/file_access.h"
#include "foundation/win32_utf8.h"

namespace {

class Win32OutputFile : public OutputFile {
  public:
    explicit Win32OutputFile(HANDLE handle) : handle_(handle) {}
    ~Win32OutputFile() override {
        if (handle_ != INVALID_HANDLE_VALUE)
            CloseHandle(handle_);
    }
    bool write(const uint8_t* bytes, size_t size) override {
        while (size > 0) {
            const DWORD chunk = size > 0x10000 ? 0x10000 : static_cast<DWORD>(size);
            DWORD written = 0;
            if (!WriteFile(handle_, bytes, chunk, &written, nullptr) || written != chunk)
                return false;
            bytes += chunk;
            size -= chunk;
        }
        return true;
    }
    bool close() override {
        const bool flushed = FlushFileBuffers(handle_) != 0;
        const bool closed = CloseHandle(handle_) != 0;
        handle_ = INVALID_HANDLE_VALUE;
        return flushed && closed;
    }

  private:
    HANDLE handle_;
};

class Win32FileAccess : public FileAccess {
  public:
    std::unique_ptr<OutputFile> create(const std::string& path) override {
        HANDLE handle = CreateFileW(wideFromUtf8(path).c_str(), GENERIC_WRITE, 0, nullptr,
                                    CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return nullptr;
        return std::make_unique<Win32OutputFile>(handle);
    }
    bool replace(const std::string& from, const std::string& to) override {
        const std::wstring target = wideFromUtf8(to);
        const DWORD attributes = GetFileAttributesW(target.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return false;
        return MoveFileExW(wideFromUtf8(from).c_str(), target.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    void remove(const std::string& path) override { DeleteFileW(wideFromUtf8(path).c_str()); }
    bool readStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) override {
        HANDLE handle = CreateFileW(wideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return false;
        bytes.assign(limit, 0);
        size_t total = 0;
        bool ok = true;
        while (total < limit) {
            DWORD got = 0;
            if (!ReadFile(handle, bytes.data() + total, static_cast<DWORD>(limit - total), &got,
                          nullptr)) {
                ok = false;
                break;
            }
            if (got == 0)
                break;
            total += got;
        }
        CloseHandle(handle);
        bytes.resize(total);
        return ok;
    }
};

} // namespace

FileAccess& platformFileAccess() {
    static Win32FileAccess access;
    return access;
}
