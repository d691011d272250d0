#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "settings/settings.h"

// Row kinds of the tray menu, told apart by their tag.
constexpr int kTagTaskManager = 97;
constexpr int kTagMemoryRow = 98;
constexpr int kTagProcessRow = 99;

// A memory row: the text before the first ':' of a hint line, and everything after it as the figure.
struct MemoryRowText {
    std::string Caption;
    std::string MemText;
};
// Lines of the hint; a line ends at CR LF, CR or LF, and a final line break adds no empty line.
std::vector<std::string> SplitHintLines(const std::string& hint);
MemoryRowText SplitHintLine(const std::string& line);

// How many process rows a list of listCount records gives (none for a count of 0 or less).
int ProcessRowCount(int topProcessCount, int listCount);
// At least highlightAboveMB whole megabytes; never for 0 bytes or a threshold of 0 or less.
bool IsHighlighted(uint64_t memoryUsage, int highlightAboveMB);
// The process row's caption: the file description when asked for and present, else the executable name.
std::string ProcessCaption(const std::string& exeName, const std::string& description, bool showNameInsteadOfModule);

// Highlight colour of heavy process rows: the built-in colour when asked for or when the setting is automatic.
ColorValue ProcessHighlightColor(ColorValue setting, bool useDefault);

// "内存清理\tAlt+A": the caption before the tab and the shortcut text after it.
struct CaptionParts {
    std::string Caption;
    std::string Shortcut;
};
CaptionParts SplitShortcut(const std::string& itemText);

// The text as the menu shows it: a single "&" marks no mnemonic and is not shown, "&&" shows one "&".
std::string HidePrefix(const std::string& text);
// The access key of a caption: the letter or digit after a single '&', in lower case; 0 when there is none.
char AccessKeyOf(const std::string& caption);
// The first caption whose access key is key (either case); -1 when none has it.
int FindAccessKey(const std::vector<std::string>& captions, char key);

// A caption as it fits `room` pixels: the whole text when it does, else its longest start of whole characters with
// "…" after it (trailing blanks dropped), or "…" alone. width measures a UTF-8 text in the menu's font.
std::string FitCaption(const std::string& text, int room, const std::function<int(const std::string&)>& width);
