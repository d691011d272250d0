#pragma once

#include <string>
#include <vector>

#include "settings/profile.h"
#include "settings/profile_win.h"

// An INI file written in one step: writes are collected, and Commit reads the file once, applies them all as the
// profile functions would, writes the result to a temporary file beside it, flushes that and puts it in the old
// file's place with one rename. Whoever looks at the file sees the old or the new one, whole. A file with other
// names, or in a folder that takes no new file, is written in place instead. Reads answer from the file as read
// once (IniFileProfile), except for keys written and not yet committed.
class IniFileWriter : public IProfile {
  public:
    explicit IniFileWriter(std::wstring path) : reader_(path), path_(std::move(path)) {}
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) override;
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override;
    // False when the file could not be written; it then stays as it was, and LastError says why.
    bool Commit() override;
    unsigned long LastError() const { return lastError_; }

  private:
    struct PendingWrite {
        std::string Section, Key, Value;
    };
    bool CommitOrThrow();

    IniFileProfile reader_;
    std::wstring path_;
    std::vector<PendingWrite> writes_;
    unsigned long lastError_ = 0;
};
