#include "widgets/custom_colors.h"

#include <string>

#include "platform/fixed_text.h"
#include "settings/settings_file.h"

namespace {
constexpr uint32_t kWhite = 0xFFFFFF;

std::string KeyName(size_t i) {
    return std::string("Color") + static_cast<char>('A' + i);
}
}  // namespace

CustomColors ReadCustomColors(IProfile& profile) {
    CustomColors colors;
    for (size_t i = 0; i < colors.size(); ++i) {
        std::string text = profile.ReadString(kSectionCustomColors, KeyName(i), "");
        auto value = ParseInteger("$" + text);
        colors[i] = (!text.empty() && text.size() <= 6 && value) ? static_cast<uint32_t>(*value) : kWhite;
    }
    return colors;
}

bool WriteCustomColors(IProfile& profile, const CustomColors& colors) {
    for (size_t i = 0; i < colors.size(); ++i) {
        char text[8];
        FixedText(text, sizeof text).Hex(colors[i] & 0xFFFFFFu, 6);
        if (!profile.WriteString(kSectionCustomColors, KeyName(i), text))
            return false;
    }
    return profile.Commit();
}
