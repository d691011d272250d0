#include "update/temp_file_name.h"

std::string TempFileNameFor(uint32_t number, std::string_view extension) {
    size_t first = extension.find_first_not_of(" \t");
    extension = first == std::string_view::npos ? std::string_view() : extension.substr(first);
    extension = extension.substr(0, extension.find_last_not_of(" \t") + 1);
    std::string digits = std::to_string(number % 100000);
    std::string name = "TMP" + std::string(5 - digits.size(), '0') + digits;
    if (!extension.empty() && extension.front() != '.')
        name += '.';
    return name.append(extension);
}
