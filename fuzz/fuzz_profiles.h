#pragma once

#include <fuzzer/FuzzedDataProvider.h>

#include <map>
#include <string>
#include <utility>

#include "settings/profile.h"

// A hand-edited file: every value the reader asks for comes from the fuzzer's input (or is missing).
class FuzzedProfile : public IProfile {
  public:
    explicit FuzzedProfile(FuzzedDataProvider& input) : input_(input) {}
    std::string ReadString(const std::string&, const std::string&, const std::string& def) override {
        if (input_.remaining_bytes() == 0 || input_.ConsumeBool())
            return def;
        return input_.ConsumeRandomLengthString(64);
    }
    bool WriteString(const std::string&, const std::string&, const std::string&) override { return false; }

  private:
    FuzzedDataProvider& input_;
};

// What the program wrote, to be read back.
class StoredProfile : public IProfile {
  public:
    std::map<std::pair<std::string, std::string>, std::string> Values;
    std::string ReadString(const std::string& section, const std::string& key, const std::string& def) override {
        auto it = Values.find({section, key});
        return it == Values.end() ? def : it->second;
    }
    bool WriteString(const std::string& section, const std::string& key, const std::string& value) override {
        Values[{section, key}] = value;
        return true;
    }
};
