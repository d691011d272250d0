#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

enum class DownloadResult { Ok, Failed, TooLarge, TimedOut, Cancelled };

struct DownloadRequest {
    std::wstring Address;
    std::wstring File;
    std::size_t MaxBytes = 0;
    ULONGLONG Deadline = 0;   // the GetTickCount64 value by which the download has its outcome
    HANDLE Cancel = nullptr;  // an event (may be null): once it is set, the download ends at once
};

// Fetches an http or https address from the server (never from the cache) into the file, reading at most MaxBytes
// and following at most five redirects, each to an http or https address. A server error status, a larger answer, a
// redirect refused, the deadline or the cancel event fails it, and then the file is not written.
DownloadResult DownloadToFile(const DownloadRequest& request);
