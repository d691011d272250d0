#include "platform/error_log.h"

#include "platform/fixed_text.h"

namespace {
// The clock's fields are never negative; were one, it would show as 0 rather than as a huge number.
uint64_t Field(int value) {
    return value > 0 ? static_cast<uint64_t>(value) : 0;
}
}  // namespace

void AddLogTime(FixedText& text, const LogTime& t, const char* inDate, const char* between, const char* inTime) {
    text.Decimal(Field(t.Year), 4).Add(inDate).Decimal(Field(t.Month), 2).Add(inDate).Decimal(Field(t.Day), 2);
    text.Add(between);
    text.Decimal(Field(t.Hour), 2).Add(inTime).Decimal(Field(t.Minute), 2).Add(inTime).Decimal(Field(t.Second), 2);
}

std::string ErrorLogLine(const LogTime& t, const std::string& text) {
    char stamp[64];
    FixedText stampText(stamp, sizeof stamp);
    AddLogTime(stampText, t, "-", " ", ":");
    stampText.Add("  ");
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
