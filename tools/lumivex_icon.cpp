// lumivex-icon: renders one tray picture through the code of the refresh tick and prints it.
//
//   lumivex-icon --load N --total-phys B --avail-phys B --total-page B --avail-page B
//                [--set Key=Value ...] [--thousands C] [--decimal C] [--size N] [--png FILE [--scale K]]
//
// Prints "text " and the figure, each hint line after "hint ", then N lines "row " with N RRGGBB colours (N is
// the picture's size, 16 by default: the notification area's icon at 100 % scaling).

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/texts.h"
#include "png_file.h"
#include "settings/settings_file.h"
#include "tray/tray_renderer.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>

#include "platform/text_win.h"
#include "tray/tray_picture_win.h"
#endif

namespace {
constexpr char kUsage[] =
    "usage: lumivex-icon --load N --total-phys B --avail-phys B --total-page B --avail-page B\n"
    "                    [--set Key=Value ...] [--thousands C] [--decimal C] [--size N] [--png FILE [--scale K]]\n";

constexpr int kMaxSize = 256;

// Settings keys as the settings file has them, whatever their section (no key name occurs in two sections).
class CommandLineProfile : public IProfile {
  public:
    void Set(const std::string& key, const std::string& value) { values_[Lower(key)] = value; }
    std::string ReadString(const std::string&, const std::string& key, const std::string& def) override {
        auto it = values_.find(Lower(key));
        return it == values_.end() ? def : it->second;
    }
    bool WriteString(const std::string&, const std::string&, const std::string&) override { return false; }

  private:
    static std::string Lower(std::string text) {
        for (char& c : text)
            c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
        return text;
    }
    std::map<std::string, std::string> values_;
};

[[noreturn]] void Fail(const std::string& message) {
    std::fprintf(stderr, "lumivex-icon: %s\n%s", message.c_str(), kUsage);
    std::exit(2);
}

uint64_t ParseCount(const std::string& option, const std::string& text) {
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 20) {
        Fail(option + " needs a whole number, not \"" + text + "\"");
    }
    errno = 0;
    unsigned long long value = std::strtoull(text.c_str(), nullptr, 10);
    if (errno == ERANGE)
        Fail(option + " is out of range: " + text);
    return value;
}

void Print(const std::string& line) {
    std::fwrite(line.data(), 1, line.size(), stdout);
    std::fputc('\n', stdout);
}

int Run(const std::vector<std::string>& args) {
    std::optional<uint64_t> load, totalPhys, availPhys, totalPage, availPage;
    CommandLineProfile profile;
    NumberSeparators separators;
    std::string png;
    int scale = 8;
    int pictureSize = kTrayImageSize;
    const std::map<std::string, std::optional<uint64_t>*> counts = {
        {"--load", &load},
        {"--total-phys", &totalPhys},
        {"--avail-phys", &availPhys},
        {"--total-page", &totalPage},
        {"--avail-page", &availPage},
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& option = args[i];
        if (option == "--help" || option == "-h") {
            std::fputs(kUsage, stdout);
            return 0;
        }
        if (i + 1 >= args.size())
            Fail(option.rfind("--", 0) == 0 ? option + " needs a value" : "unknown argument " + option);
        const std::string& value = args[++i];
        if (auto it = counts.find(option); it != counts.end()) {
            *it->second = ParseCount(option, value);
        } else if (option == "--set") {
            size_t eq = value.find('=');
            if (eq == std::string::npos || eq == 0)
                Fail("--set needs Key=Value, not \"" + value + "\"");
            profile.Set(value.substr(0, eq), value.substr(eq + 1));
        } else if (option == "--thousands") {
            separators.Thousands = value;
        } else if (option == "--decimal") {
            if (value.empty())
                Fail("--decimal needs a character");
            separators.Decimal = value;
        } else if (option == "--png") {
            png = value;
        } else if (option == "--size") {
            uint64_t n = ParseCount(option, value);
            if (n < kTrayImageSize || n > kMaxSize)
                Fail("--size must lie between 16 and " + std::to_string(kMaxSize));
            pictureSize = static_cast<int>(n);
        } else if (option == "--scale") {
            uint64_t k = ParseCount(option, value);
            if (k < 1 || k > 64)
                Fail("--scale must lie between 1 and 64");
            scale = static_cast<int>(k);
        } else {
            Fail("unknown option " + option);
        }
    }
    for (const auto& [name, value] : counts) {
        if (!*value)
            Fail(name + " is missing");
    }
    if (*load > 100)
        Fail("--load is a percentage, 0 to 100");

    MemorySample sample;
    sample.MemoryLoad = static_cast<uint32_t>(*load);
    sample.TotalPhys = *totalPhys;
    sample.AvailPhys = *availPhys;
    sample.TotalPageFile = *totalPage;
    sample.AvailPageFile = *availPage;
    // ShowPage defaults to false, as on every supported Windows.
    Settings settings = LoadSettings(profile, FontSpec{}).Values;
    SetLanguage(LanguageFromSetting(settings.Language));  // the hint in the language of the settings

#ifdef _WIN32
    GdiSystemColors colors;
    GdiTextPainter painter(settings.Font);
    ITrayTextPainter* text = &painter;
#else
    Windows10SystemColors colors;
    ITrayTextPainter* text = nullptr;
    if (!settings.InternalFont) {
        Fail("the display font (InternalFont=0) is drawn with Windows GDI; run the Windows build for it");
    }
#endif
    TrayImage image = RenderTrayImage(sample, settings, TrayRenderContext{colors, text, separators, pictureSize});

    Print("text " + image.Text);
    for (size_t at = 0;;) {
        size_t end = image.Hint.find("\r\n", at);
        Print("hint " + image.Hint.substr(at, end == std::string::npos ? std::string::npos : end - at));
        if (end == std::string::npos)
            break;
        at = end + 2;
    }
    std::vector<uint32_t> rgb;
    const int n = image.Picture.Size;
    for (int y = 0; y < n; ++y) {
        std::string row = "row";
        for (int x = 0; x < n; ++x) {
            uint32_t c = image.Picture.At(x, y);  // 0x00BBGGRR
            uint32_t value = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
            char hex[8];
            std::snprintf(hex, sizeof hex, " %06X", value);
            row += hex;
            rgb.push_back(value);
        }
        Print(row);
    }
    if (!png.empty()) {
        // In the PNG the transparent key is transparent, as in the tray.
        const int size = n * scale;
        std::vector<uint32_t> scaled(static_cast<size_t>(size) * static_cast<size_t>(size));
        for (int y = 0; y < size; ++y) {
            for (int x = 0; x < size; ++x) {
                uint32_t c = rgb[static_cast<size_t>((y / scale) * n + x / scale)];
                bool clear = settings.TransBk && c == kTransparentKey;
                scaled[static_cast<size_t>(y * size + x)] = clear ? 0 : 0xFF000000u | c;
            }
        }
        if (!WritePng(png, size, size, scaled)) {
            std::fprintf(stderr, "lumivex-icon: cannot write %s\n", png.c_str());
            return 1;
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
    // The same bytes as the Linux build: UTF-8 and bare line feeds.
    _setmode(_fileno(stdout), _O_BINARY);
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i)
        args.push_back(Narrow(argv[i]));
    return Run(args);
}
#else
int main(int argc, char** argv) {
    return Run(std::vector<std::string>(argv + 1, argv + argc));
}
#endif
