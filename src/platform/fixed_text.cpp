#include "platform/fixed_text.h"

// Numbers are written here instead of through snprintf: the crash report builds its texts while the heap may be
// broken, and the program needs no other printf-style formatting, whose run-time code is a tenth of its size.

FixedText::FixedText(char* out, size_t size) : out_(out), size_(out ? size : 0), fits_(size_ > 0) {
    if (size_ > 0)
        out_[0] = '\0';
}

FixedText& FixedText::Add(std::string_view text) {
    for (char c : text) {
        if (length_ + 1 >= size_) {
            fits_ = false;
            break;
        }
        out_[length_++] = c;
    }
    if (size_ > 0)
        out_[length_] = '\0';
    return *this;
}

FixedText& FixedText::Digits(uint64_t value, unsigned base, int width, const char* digitSet) {
    char digits[64];
    size_t count = 0;
    do {
        digits[count++] = digitSet[value % base];
        value /= base;
    } while (value != 0);
    while (count < sizeof digits && static_cast<int>(count) < width)
        digits[count++] = '0';
    char text[64];
    for (size_t i = 0; i < count; ++i)
        text[i] = digits[count - 1 - i];
    return Add(std::string_view(text, count));
}

FixedText& FixedText::Decimal(uint64_t value, int width) {
    return Digits(value, 10, width, "0123456789");
}

FixedText& FixedText::Hex(uint64_t value, int width, bool lowerCase) {
    return Digits(value, 16, width, lowerCase ? "0123456789abcdef" : "0123456789ABCDEF");
}
