#include "platform/error_log.h"

#include <cstdio>

std::string ErrorLogLine(const LogTime& t, const std::string& text) {
    char stamp[64];
    std::snprintf(stamp, sizeof(stamp), "%04d-%02d-%02d %02d:%02d:%02d  ", t.Year, t.Month, t.Day, t.Hour, t.Minute,
                  t.Second);
    std::string line = stamp;
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\r' || c == '\n') {
            while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n'))
                ++i;
            if (i + 1 < text.size())
                line += " / ";
        } else {
            line += c;
        }
    }
    return line + "\r\n";
}

std::string AppendToErrorLog(const std::string& log, const std::string& line, size_t cap) {
    if (log.size() + line.size() <= cap)
        return log + line;
    // Keep the newer half of what fits beside the new line, starting at a whole line.
    size_t keep = line.size() >= cap ? 0 : (cap - line.size()) / 2;
    if (keep > log.size())
        keep = log.size();
    size_t start = log.size() - keep;
    if (start > 0 && log[start - 1] != '\n') {
        size_t next = log.find('\n', start);
        start = next == std::string::npos ? log.size() : next + 1;
    }
    std::string kept = log.substr(start) + line;
    if (kept.size() > cap)
        kept = kept.substr(kept.size() - cap);  // one line longer than the cap: its tail
    return kept;
}
