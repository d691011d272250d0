#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/profile.h"

// An in-memory INI store that remembers the order of writes and can refuse writes from a given key on.
class MemoryProfile : public IProfile {
  public:
    std::map<std::pair<std::string, std::string>, std::string> values;
    std::vector<std::pair<std::string, std::string>> writes;
    std::string failAtKey;  // writing this key (and every later one) fails
    bool failing = false;

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) override {
        auto it = values.find({section, key});
        return it == values.end() ? def : it->second;
    }
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
        if (!failAtKey.empty() && key == failAtKey)
            failing = true;
        if (failing)
            return false;
        values[{section, key}] = value;
        writes.emplace_back(section, key);
        return true;
    }
    void Set(const std::string& section, const std::string& key, const std::string& value) {
        values[{section, key}] = value;
    }
};
