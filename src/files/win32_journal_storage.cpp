// The journal's file seam on Windows: a handle opened with FILE_APPEND_DATA alone writes at the
// end of the file each time, whoever else appends.
#include <windows.h>

#include <cstdlib>

#include "files/journal_storage.h"

namespace {

std::string systemWords(DWORD code) {
    char text[256] = {};
    if (!FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
                        0, text, sizeof text, nullptr))
        return "system error " + std::to_string(code);
    std::string words = text;
    words.erase(words.find_last_not_of(" .\r\n") + 1);
    return words;
}

// Creates every missing folder above the file.
void makeFolders(const std::string& path) {
    for (size_t slash = path.find_first_of("\\/", 3); slash != std::string::npos;
         slash = path.find_first_of("\\/", slash + 1))
        CreateDirectoryA(path.substr(0, slash).c_str(), nullptr);
}

HANDLE openForAppend(const std::string& path) {
    return CreateFileA(path.c_str(), FILE_APPEND_DATA,
                       FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

class Win32JournalStorage : public JournalStorage {
  public:
    int64_t append(const std::string& path, const std::string& header, const std::string& bytes,
                   std::string& error) override {
        HANDLE file = openForAppend(path);
        if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_PATH_NOT_FOUND) {
            makeFolders(path);
            file = openForAppend(path);
        }
        if (file == INVALID_HANDLE_VALUE) {
            error = systemWords(GetLastError());
            return -1;
        }
        LARGE_INTEGER size{};
        const bool empty = GetFileSizeEx(file, &size) && size.QuadPart == 0;
        const std::string line = empty ? header + bytes : bytes;
        DWORD written = 0;
        bool ok =
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
            written == line.size();
        if (!ok)
            error = systemWords(GetLastError());
        ok = GetFileSizeEx(file, &size) && ok;
        CloseHandle(file);
        return ok ? size.QuadPart : -1;
    }
    bool rename(const std::string& from, const std::string& to) override {
        return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
    }
    int64_t size(const std::string& path) override {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
            return -1;
        return static_cast<int64_t>(data.nFileSizeHigh) << 32 | data.nFileSizeLow;
    }
    bool read(const std::string& path, int64_t offset, size_t length, std::string& bytes) override {
        HANDLE file = CreateFileA(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return false;
        LARGE_INTEGER at{};
        at.QuadPart = offset;
        bool ok = SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != 0;
        bytes.assign(length, '\0');
        size_t total = 0;
        while (ok && total < length) {
            DWORD got = 0;
            ok = ReadFile(file, &bytes[total], static_cast<DWORD>(length - total), &got, nullptr) !=
                 0;
            if (got == 0)
                break;
            total += got;
        }
        CloseHandle(file);
        bytes.resize(total);
        return ok;
    }
};

} // namespace

JournalStorage& platformJournalStorage() {
    static Win32JournalStorage storage;
    return storage;
}

std::string platformJournalPath() {
    // Windows 98 and ME have no LOCALAPPDATA; their roaming folder is the user's own.
    for (const char* name : {"LOCALAPPDATA", "APPDATA"})
        if (const char* folder = std::getenv(name); folder && *folder)
            return std::string(folder) + "\\Velquist\\journal.csv";
    return "";
}
