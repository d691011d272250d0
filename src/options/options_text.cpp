#include "options/options_text.h"

const std::array<TextId, 8> kDoubleClickActionNames = {
    TextId::ActionTaskManager, TextId::ActionFreeMemory, TextId::ActionMemoryInformation, TextId::ActionSettings,
    TextId::ActionLock,        TextId::ActionRun,        TextId::ActionShutDown,          TextId::ActionMemoryHistory};
const std::array<TextId, 2> kGbValueNames = {TextId::DisplayMegabytes, TextId::DisplayGigabytes};
const std::array<TextId, 5> kOptionsPageNames = {TextId::PageGeneral, TextId::PageAssist, TextId::PageTray,
                                                 TextId::PageDisplay, TextId::PageThemes};

std::string HighLabelText(int redPercent) {
    return FormatText(TextId::GeneralHighLabel, {std::to_string(redPercent)});
}

std::string FontPanelText(const FontSpec& font) {
    return font.Name + ", " + std::to_string(font.Size) + "pt";
}
