#pragma once

#include <windows.h>

#include <string>

#include "platform/unique_handle_win.h"

// Restricts the program's DLL search to System32 where Windows allows it; the first call of the program.
void HardenDllSearch();

// A library loaded from System32 only (never from the program's or the current folder), freed with its owner.
class SystemLibrary {
  public:
    explicit SystemLibrary(const wchar_t* name);
    explicit operator bool() const { return static_cast<bool>(module_); }
    HMODULE Get() const { return module_.Get(); }

    template <typename F>
    F Proc(const char* name) const {
        if (!module_)
            return nullptr;
        return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module_.Get(), name)));
    }

  private:
    UniqueModule module_;
};

// Full path of a file in System32 (or SysWOW64 for a 32-bit program on 64-bit Windows, as Windows maps it).
std::wstring SystemFolderPath(const wchar_t* fileName);
