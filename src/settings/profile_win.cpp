#include "settings/profile_win.h"

#include "settings/ini_file_writer_win.h"

const IniFileContents& IniFileProfile::Contents() {
    if (!contents_)
        contents_ = ReadIniFile(path_, maxBytes_, waitMs_);
    return *contents_;
}

std::string IniFileProfile::ReadString(const std::string& section, const std::string& key, const std::string& def) {
    const IniFileContents& contents = Contents();
    if (!contents.Document)
        return def;
    return contents.Document->Get(section, key).value_or(def);
}

bool IniFileProfile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
    // One key is one whole save: the file is never seen half written.
    IniFileWriter writer(path_);
    const bool saved = writer.WriteString(section, key, value) && writer.Commit();
    contents_.reset();
    return saved;
}
