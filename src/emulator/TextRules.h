#pragma once
// The few rules Velmora applies to 8-bit text, in one place: what counts as white space, how
// letters compare without regard to case, and how a number's white space and sign are read.
// They are the C library's rules in its "C" locale, the ones the emulator's files were always
// read by; no byte outside ASCII is ever changed or folded.

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>

namespace velmora::text {

// Blank, tab, line feed, vertical tab, form feed and carriage return.
constexpr bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

constexpr std::string_view TrimLeft(std::string_view text) {
    size_t begin = 0;
    while (begin < text.size() && IsSpace(text[begin])) {
        ++begin;
    }
    return text.substr(begin);
}

constexpr std::string_view TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && IsSpace(text[end - 1])) {
        --end;
    }
    return text.substr(0, end);
}

inline void TrimRight(std::string& text) {
    text.resize(TrimRight(std::string_view(text)).size());
}

// ASCII letters to lower case; every other byte as it is.
constexpr char FoldCase(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

inline std::string FoldCase(std::string_view text) {
    std::string folded(text);
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return FoldCase(c); });
    return folded;
}

constexpr bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix) {
    return prefix.size() <= text.size() &&
           std::equal(prefix.begin(), prefix.end(), text.begin(),
                      [](char a, char b) { return FoldCase(a) == FoldCase(b); });
}

constexpr bool LessIgnoringCase(std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return static_cast<unsigned char>(FoldCase(x)) < static_cast<unsigned char>(FoldCase(y));
    });
}

// Where a number's digits begin once its leading white space and optional sign are passed,
// as atoi and strtoul read them.
struct NumberStart {
    size_t digits = 0;
    bool negative = false;
};

constexpr NumberStart SkipToDigits(std::string_view text) {
    NumberStart start;
    start.digits = text.size() - TrimLeft(text).size();
    if (start.digits < text.size() && (text[start.digits] == '+' || text[start.digits] == '-')) {
        start.negative = text[start.digits] == '-';
        ++start.digits;
    }
    return start;
}

}  // namespace velmora::text
