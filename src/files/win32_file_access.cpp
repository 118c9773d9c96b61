// The files seam on Windows. Paths come in the ANSI code page from the program's file dialogs,
// or in UTF-8 from the command line; both are turned into UTF-16 for the wide file calls, so a
// name the ANSI code page cannot hold is never bent into another by a best-fit conversion (an A
// with a macron into a plain A).
#include <windows.h>

#include "files/file_access.h"

namespace {

std::wstring widePath(UINT codePage, const std::string& path) {
    const int size =
        MultiByteToWideChar(codePage, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, path.data(), static_cast<int>(path.size()), &wide[0], size);
    return wide;
}

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
    explicit Win32FileAccess(UINT codePage) : codePage_(codePage) {}
    std::unique_ptr<OutputFile> create(const std::string& path) override {
        HANDLE handle = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE)
            return nullptr;
        return std::make_unique<Win32OutputFile>(handle);
    }
    bool replace(const std::string& from, const std::string& to) override {
        const DWORD attributes = GetFileAttributesW(wide(to).c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
            return false;
        return MoveFileExW(wide(from).c_str(), wide(to).c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    void remove(const std::string& path) override { DeleteFileW(wide(path).c_str()); }
    bool readStart(const std::string& path, size_t limit, std::vector<uint8_t>& bytes) override {
        HANDLE handle = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
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

  private:
    std::wstring wide(const std::string& path) const { return widePath(codePage_, path); }

    UINT codePage_;
};

} // namespace

FileAccess& platformFileAccess() {
    static Win32FileAccess access(CP_ACP);
    return access;
}

FileAccess& utf8PlatformFileAccess() {
    static Win32FileAccess access(CP_UTF8);
    return access;
}
