#include "system/task_dialog_model.h"

#include <algorithm>
#include <cctype>

std::string ExpandLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 1 < text.size() && text[i + 1] == 'n') {
            out += '\n';
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> SplitDialogList(std::string_view list) {
    auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!list.empty() && blank(list.front()))
        list.remove_prefix(1);
    while (!list.empty() && blank(list.back()))
        list.remove_suffix(1);
    std::vector<std::string> items;
    size_t start = 0;
    while (start <= list.size() && !list.empty()) {
        size_t end = list.find_first_of("\r\n", start);
        std::string_view line =
            list.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
        if (!line.empty())
            items.push_back(ExpandLineBreaks(line));
        if (end == std::string_view::npos)
            break;
        start = end + 1;
    }
    return items;
}

const std::vector<CommonButtonInfo>& CommonButtons() {
    static const std::vector<CommonButtonInfo> buttons = {
        {0x01, 1, 1, TextId::DialogOkButton},    {0x02, 6, 6, TextId::DialogYesButton},
        {0x04, 7, 7, TextId::DialogNoButton},    {0x08, 2, 2, TextId::DialogCancelButton},
        {0x10, 4, 4, TextId::DialogRetryButton}, {0x20, 8, 3, TextId::DialogCloseButton},
    };
    return buttons;
}

std::string StripAccelerators(std::string_view caption) {
    std::string out;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&') {
            if (i + 1 < caption.size() && caption[i + 1] == '&') {
                out += '&';
                ++i;
            }
            continue;
        }
        out += caption[i];
    }
    return out;
}

bool IsCancelCaption(std::string_view caption) {
    std::string upper(caption);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return upper == "CANCEL" || upper == "&CANCEL";
}

namespace {
size_t CharacterCount(std::string_view utf8) {
    return static_cast<size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}
}  // namespace

int EmulatedDialogWidth(int width,
                        int instructionPixels,
                        int contentPixels,
                        std::string_view buttonList,
                        std::string_view radioList) {
    if (width > 0)
        return width;
    bool wide = instructionPixels > 300 || contentPixels > 300 || CharacterCount(buttonList) > 40 ||
                CharacterCount(radioList) > 40;
    return wide ? 480 : 420;
}

std::vector<ButtonPlace> LayoutButtonRow(const std::vector<int>& widths,
                                         int clientWidth,
                                         int textIndent,
                                         int top,
                                         int margin,
                                         int gap,
                                         int rowStep) {
    std::vector<ButtonPlace> places(widths.size());
    const int right = clientWidth - margin;
    int x = right, y = top;
    bool rowEmpty = true;
    for (size_t i = widths.size(); i-- > 0;) {
        int left = x - widths[i];
        if (!rowEmpty && left < textIndent / 2) {
            y += rowStep;
            left = right - widths[i];
        }
        places[i] = {left, y};
        x = left - gap;
        rowEmpty = false;
    }
    return places;
}

// LayoutButtonRow starts a new row when a button would reach left of half the text indent.
int WidenForOneButtonRow(int width, const std::vector<int>& buttonWidths, int textIndent, int margin, int gap) {
    if (buttonWidths.empty())
        return width;
    int needed = textIndent / 2 + margin + gap * static_cast<int>(buttonWidths.size() - 1);
    for (int w : buttonWidths)
        needed += w;
    return needed > width && needed <= kMaxOneRowWidth ? needed : width;
}

// The system's dialog puts the verification box at the left of the button row, at least half its 240-unit minimum
// width wide, and each button at least 50 units wide, 5 units apart; a button's text needs about 16 units of edges.
int NativeWidthForOneButtonRow(int width, const std::vector<int>& buttonTextUnits, int verifyTextUnits) {
    constexpr int kSpacing = 5, kMinButton = 50, kButtonEdges = 16, kMinVerify = 120, kMaxWidth = 480;
    if (width <= 0 || buttonTextUnits.empty())
        return width;
    int needed = kSpacing;
    if (verifyTextUnits > 0)
        needed += std::max(kMinVerify, verifyTextUnits + kButtonEdges) + kSpacing;
    for (int text : buttonTextUnits)
        needed += std::max(kMinButton, text + kButtonEdges) + kSpacing;
    return needed > width && needed <= kMaxWidth ? needed : width;
}

int ButtonWidthFor(int captionPixels) {
    return std::max(captionPixels + 52, 80);
}

unsigned MessageButtonsToTaskButtons(unsigned buttons) {
    struct Map {
        unsigned From, To;
    } maps[] = {{0x01, 0x02}, {0x02, 0x04}, {0x04, 0x01}, {0x08, 0x08}, {0x20, 0x10}, {0x10, 0x20}};
    unsigned out = 0;
    for (const Map& m : maps)
        if (buttons & m.From)
            out |= m.To;
    return out;
}

int TaskResultToMessageResult(int id) {
    switch (id) {
        case 2:
        case 4:
        case 6:
        case 7:
            return id;
        case 8:
            return 3;
        default:
            return 1;
    }
}
