#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/profile.h"

// An in-memory INI store that remembers the order of writes and can refuse writes from a given key on.
class MemoryProfile : public IProfile {
  public:
    std::map<std::pair<std::string, std::string>, std::string> Values;
    std::vector<std::pair<std::string, std::string>> Writes;
    std::string FailAtKey;  // writing this key (and every later one) fails
    bool Failing = false;

    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) override {
        auto it = Values.find({section, key});
        return it == Values.end() ? def : it->second;
    }
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
        if (!FailAtKey.empty() && key == FailAtKey)
            Failing = true;
        if (Failing)
            return false;
        Values[{section, key}] = value;
        Writes.emplace_back(section, key);
        return true;
    }
    void Set(const std::string& section, const std::string& key, const std::string& value) {
        Values[{section, key}] = value;
    }
};
