#include "system/double_click_action.h"

#include "platform/texts.h"

DoubleClickAction DoubleClickActionOf(int32_t setting) {
    if (setting < 0 || setting > 7)
        return DoubleClickAction::Nothing;
    return static_cast<DoubleClickAction>(setting);
}

std::string RunDialogDescription(std::string_view productName) {
    return FormatText(TextId::RunDescription, {productName});
}
