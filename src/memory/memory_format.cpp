#include "memory/memory_format.h"

#include <cmath>
#include "platform/texts.h"

namespace {
constexpr uint64_t kPowersOfTen[] = {1, 10, 100};

// round(bytes / 2^shift * 10^decimals), half up, exact wherever 64 bits allow.
uint64_t ScaledRound(uint64_t bytes, int shift, int decimals) {
    const uint64_t scale = kPowersOfTen[decimals];
    if (shift == 0)
        return bytes * scale;
    const uint64_t whole = bytes >> shift;
    const uint64_t rest = bytes & ((uint64_t{1} << shift) - 1);
    uint64_t fraction;
    if (rest <= (UINT64_MAX >> 8) / scale) {
        fraction = (rest * scale + (uint64_t{1} << (shift - 1))) >> shift;
    } else {
        fraction = static_cast<uint64_t>(std::floor(std::ldexp(static_cast<long double>(rest) * scale, -shift) + 0.5L));
    }
    return whole * scale + fraction;
}

std::string Grouped(const std::string& digits, const std::string& thousands) {
    if (thousands.empty() || digits.size() <= 3)
        return digits;
    std::string out;
    size_t lead = digits.size() % 3;
    if (lead == 0)
        lead = 3;
    out.append(digits, 0, lead);
    for (size_t i = lead; i < digits.size(); i += 3) {
        out += thousands;
        out.append(digits, i, 3);
    }
    return out;
}

// The "#.##" / "#" patterns of readable sizes: no leading zeros, at most `decimals` fraction digits, trailing
// zeros dropped together with the separator when nothing remains.
std::string FormatPattern(uint64_t bytes, int shift, int decimals, const std::string& decimal) {
    uint64_t scaled = ScaledRound(bytes, shift, decimals);
    uint64_t scale = kPowersOfTen[decimals];
    std::string text = std::to_string(scaled / scale);
    uint64_t fraction = scaled % scale;
    if (fraction != 0) {
        std::string digits = std::to_string(fraction);
        digits.insert(0, static_cast<size_t>(decimals) - digits.size(), '0');
        while (!digits.empty() && digits.back() == '0')
            digits.pop_back();
        text += decimal + digits;
    }
    return text;
}
}  // namespace

TrayValueUnit TrayUnitFor(uint64_t bytes, bool optimizeForGigabytes) {
    if (bytes < 10240)
        return {0, 0};
    if (bytes < 10485760)
        return {10, 0};
    if (!optimizeForGigabytes)
        return {20, 0};
    return {30, 2};
}

std::string FormatScaled(uint64_t bytes,
                         int shift,
                         int decimals,
                         const std::string& thousands,
                         const std::string& decimal) {
    uint64_t scaled = ScaledRound(bytes, shift, decimals);
    uint64_t scale = kPowersOfTen[decimals];
    std::string text = Grouped(std::to_string(scaled / scale), thousands);
    if (decimals > 0) {
        std::string digits = std::to_string(scaled % scale);
        text += decimal + std::string(static_cast<size_t>(decimals) - digits.size(), '0') + digits;
    }
    return text;
}

std::string FormatTrayValue(uint64_t bytes, bool optimizeForGigabytes, const NumberSeparators& separators) {
    TrayValueUnit unit = TrayUnitFor(bytes, optimizeForGigabytes);
    return FormatScaled(bytes, unit.Shift, unit.Decimals, separators.Thousands, separators.Decimal);
}

std::string FormatByteSize(uint64_t bytes, const NumberSeparators& separators) {
    if (bytes > (uint64_t{1} << 30))
        return FormatPattern(bytes, 30, 2, separators.Decimal) + " GB";
    if (bytes > (uint64_t{1} << 20))
        return FormatPattern(bytes, 20, 0, separators.Decimal) + " MB";
    if (bytes > 1024)
        return FormatPattern(bytes, 10, 2, separators.Decimal) + " KB";
    if (bytes == 1)
        return Text(TextId::SizeOneByte);
    // Zero reads "0 bytes": a pattern that drops every zero would leave the unit alone.
    return FormatText(TextId::SizeBytes, {std::to_string(bytes)});
}

std::optional<uint64_t> DisplayedAmount(const MemorySample& sample, const Settings& settings) {
    if (settings.ShowPercentage)
        return std::nullopt;
    if (!settings.ShowFree)
        return settings.ShowPage ? sample.PageFileUsed() : sample.PhysUsed();
    if (settings.ShowPage)
        return sample.AvailPageFile;
    // From a load of 98 on, free physical memory reads as nothing left.
    return sample.MemoryLoad <= 97 ? sample.AvailPhys : 0;
}

std::string SelectDisplayedValue(const MemorySample& sample,
                                 const Settings& settings,
                                 const NumberSeparators& separators) {
    if (std::optional<uint64_t> amount = DisplayedAmount(sample, settings)) {
        return FormatTrayValue(*amount, settings.OptimizeForGigabytes, separators);
    }
    int64_t load = sample.MemoryLoad;
    std::string text = std::to_string(settings.ShowFree ? 100 - load : load);
    if (settings.ShowPercSign)
        text += "%";
    return text;
}

std::string BuildTrayHint(const MemorySample& sample, const Settings& settings, const NumberSeparators& separators) {
    std::string hint;
    hint.reserve(256);
    if (settings.HintWhatIsDisplayed) {
        hint += Text(TextId::HintShowing);
        hint += Text(settings.ShowFree ? TextId::HintFree : TextId::HintUsed);
        hint += " ";
        hint += Text(settings.ShowPage ? TextId::HintPageFile : TextId::HintPhysicalMemory);
        hint += " ";
        if (settings.ShowPercentage)
            hint += Text(TextId::HintPercent);
        hint += "\r\n";
    }
    hint += Text(TextId::HintLoadRow) + std::to_string(sample.MemoryLoad) + "%\r\n";
    hint += Text(TextId::HintPhysicalRow) + FormatByteSize(sample.PhysUsed(), separators) + "/" +
            FormatByteSize(sample.TotalPhys, separators) + "\r\n";
    hint += Text(TextId::HintPageFileRow) + FormatByteSize(sample.PageFileUsed(), separators) + "/" +
            FormatByteSize(sample.TotalPageFile, separators);
    return hint;
}

// A screen reader reads the hint as the icon's name, so the English one starts with the figure the icon shows, with
// its unit; the lines after it say what it is. The line is short: the shell shows 127 characters, and the hint's own
// lines come whole after it.
std::string BuildTrayTip(const std::string& hint,
                         const MemorySample& sample,
                         const Settings& settings,
                         const NumberSeparators& separators) {
    if (CurrentLanguage() != Language::English)
        return hint;
    std::string figure;
    if (std::optional<uint64_t> amount = DisplayedAmount(sample, settings)) {
        figure = FormatByteSize(*amount, separators);
    } else {
        const int64_t load = sample.MemoryLoad;
        figure = std::to_string(settings.ShowFree ? 100 - load : load) + "%";
    }
    return FormatText(settings.ShowFree ? TextId::HintFigureFree : TextId::HintFigureUsed, {figure}) + "\r\n" + hint;
}
