#include "platform/file_io_win.h"

#include <algorithm>
#include <atomic>

namespace {
std::atomic<LONGLONG> freeSpaceForTesting{-1};

// A failure is never reported as success, even when the system left no code behind.
DWORD FailureCode() {
    const DWORD error = GetLastError();
    return error ? error : ERROR_GEN_FAILURE;
}

// How many of count bytes written at the file's position fit the test's free space (all of them outside tests).
size_t BytesThatFit(HANDLE file, size_t count) {
    const LONGLONG free = freeSpaceForTesting.load();
    LARGE_INTEGER size{}, position{};
    if (free < 0 || !GetFileSizeEx(file, &size) || !SetFilePointerEx(file, LARGE_INTEGER{}, &position, FILE_CURRENT))
        return count;
    const LONGLONG growth = std::max<LONGLONG>(0, position.QuadPart + static_cast<LONGLONG>(count) - size.QuadPart);
    if (growth <= free) {
        freeSpaceForTesting -= growth;
        return count;
    }
    freeSpaceForTesting = 0;
    return count - static_cast<size_t>(growth - free);
}
}  // namespace

void SetFreeSpaceForTesting(LONGLONG bytes) {
    freeSpaceForTesting = bytes;
}

DWORD ReadAll(HANDLE file, LONGLONG maxBytes, std::string& bytes) {
    bytes.clear();
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        return FailureCode();
    if (size.QuadPart > maxBytes)
        return ERROR_FILE_TOO_LARGE;
    bytes.resize(static_cast<size_t>(size.QuadPart));
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD read = 0;
        if (!ReadFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &read, nullptr)) {
            const DWORD error = FailureCode();
            bytes.clear();
            return error;
        }
        if (read == 0)
            break;  // the file shrank meanwhile
        done += read;
    }
    bytes.resize(done);
    return 0;
}

DWORD WriteAll(HANDLE file, const std::string& bytes) {
    const size_t fits = BytesThatFit(file, bytes.size());
    size_t done = 0;
    while (done < fits) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(fits - done), &written, nullptr))
            return FailureCode();
        if (written == 0)
            return ERROR_WRITE_FAULT;  // a write that takes nothing would take nothing again
        done += written;
    }
    return fits < bytes.size() ? ERROR_DISK_FULL : 0;
}

DWORD SetFileLength(HANDLE file, LONGLONG length) {
    LARGE_INTEGER size{};
    const LONGLONG free = freeSpaceForTesting.load();
    if (free >= 0 && GetFileSizeEx(file, &size) && length - size.QuadPart > free)
        return ERROR_DISK_FULL;
    LARGE_INTEGER at{};
    at.QuadPart = length;
    if (!SetFilePointerEx(file, at, nullptr, FILE_BEGIN) || !SetEndOfFile(file))
        return FailureCode();
    if (free >= 0 && length > size.QuadPart)
        freeSpaceForTesting -= length - size.QuadPart;
    return 0;
}
