#pragma once

#include <cstddef>
#include <string>

enum class DownloadResult { Ok, Failed, TooLarge };

// Fetches address from the server (never from the cache) into file, reading at most maxBytes; a server error
// status, a larger answer or a connection that stays silent fails, and then the file is not written.
DownloadResult DownloadToFile(const std::wstring& address, const std::wstring& file, std::size_t maxBytes);
