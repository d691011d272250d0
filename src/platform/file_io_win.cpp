#include "platform/file_io_win.h"

namespace {
// A failure is never reported as success, even when the system left no code behind.
DWORD FailureCode() {
    const DWORD error = GetLastError();
    return error ? error : ERROR_GEN_FAILURE;
}
}  // namespace

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
    size_t done = 0;
    while (done < bytes.size()) {
        DWORD written = 0;
        if (!WriteFile(file, bytes.data() + done, static_cast<DWORD>(bytes.size() - done), &written, nullptr))
            return FailureCode();
        if (written == 0)
            return ERROR_WRITE_FAULT;  // a write that takes nothing would take nothing again
        done += written;
    }
    return 0;
}
