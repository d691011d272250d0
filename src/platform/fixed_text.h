#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

// Text written into a caller's buffer: never past its end, always NUL-terminated; what does not fit is cut off and
// Fits() turns false.
class FixedText {
  public:
    FixedText(char* out, size_t size);

    FixedText& Add(std::string_view text);
    // With leading zeros up to width digits.
    FixedText& Decimal(uint64_t value, int width = 0);
    FixedText& Hex(uint64_t value, int width = 0, bool lowerCase = false);

    bool Fits() const { return fits_; }
    size_t Length() const { return length_; }

  private:
    FixedText& Digits(uint64_t value, unsigned base, int width, const char* digitSet);

    char* out_;
    size_t size_;
    size_t length_ = 0;
    bool fits_;
};
