#include "ManagedOptions.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "Contract.h"
#include "TextRules.h"

namespace velmora::config {

namespace {

constexpr size_t kNone = std::string::npos;
constexpr size_t kManagedCount = std::size(emu::kManagedOptions);

// Option text is full of "-" and "=", at which std::string::find() or a Horspool search stops
// again and again. Comparing first and last characters over a block at a time, a loop the
// compiler turns into vector instructions, passes over whole blocks without a candidate.
constexpr size_t kBlock = 64;

// Cuts the option found at `at`, the rest of its line and its line end out of `text`, and
// returns what followed the option name on that line.
std::string CutOptionLine(std::string& text, size_t at, size_t nameLength) {
    const size_t valueStart = at + nameLength;
    const size_t lineEnd = text.find('\n', at);
    std::string value;
    if (lineEnd == kNone) {
        value = text.substr(valueStart);
        text.resize(at);
    } else {
        value = text.substr(valueStart, lineEnd - valueStart);
        text.erase(at, lineEnd + 1 - at);
    }
    return value;
}

// The first occurrence of each managed option, found in one pass over the text.
std::array<size_t, kManagedCount> FindEachManaged(std::string_view text) {
    constexpr std::string_view a = emu::kManagedOptions[0];
    constexpr std::string_view b = emu::kManagedOptions[1];
    constexpr std::string_view c = emu::kManagedOptions[2];
    constexpr size_t longest = std::max({a.size(), b.size(), c.size()});

    std::array<size_t, kManagedCount> found;
    found.fill(kNone);
    size_t missing = kManagedCount;
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    // Every managed option starts with "-" and ends with "=": one test of the first character
    // serves all three, which halves the work of the pass.
    static_assert(a.front() == b.front() && a.front() == c.front() && a.back() == b.back() &&
                  a.back() == c.back());
    constexpr auto first = static_cast<unsigned char>(a.front());
    constexpr auto last = static_cast<unsigned char>(a.back());
    for (size_t block = 0; block < text.size() && missing > 0; block += kBlock) {
        if (block + kBlock + longest - 1 <= text.size()) {
            unsigned char candidates = 0;
            for (size_t i = 0; i < kBlock; ++i) {
                // Without a branch: this runs for every byte of the text.
                const unsigned char* at = data + block + i;
                const unsigned ends = static_cast<unsigned>(at[a.size() - 1] == last) |
                                      static_cast<unsigned>(at[b.size() - 1] == last) |
                                      static_cast<unsigned>(at[c.size() - 1] == last);
                candidates = static_cast<unsigned char>(
                    candidates | (static_cast<unsigned>(at[0] == first) & ends));
            }
            if (candidates == 0) {
                continue;
            }
        }
        const size_t stop = std::min(block + kBlock, text.size());
        for (size_t i = block; i < stop; ++i) {
            for (size_t k = 0; k < kManagedCount; ++k) {
                if (found[k] == kNone && text.substr(i).starts_with(emu::kManagedOptions[k])) {
                    found[k] = i;
                    --missing;
                }
            }
        }
    }
    return found;
}

// Where `option` first occurs in `text` now that `removed` characters were cut out at `cutAt`,
// given where it first occurred before the cut (kNone: nowhere). Only the join can hold an
// occurrence that was not there before, so the whole text is searched again only when the
// cut took the first occurrence away.
size_t FirstAfterCut(std::string_view text, std::string_view option, size_t before, size_t cutAt,
                     size_t removed) {
    const size_t n = option.size();
    if (before != kNone && before + n <= cutAt) {
        return before;  // wholly ahead of the cut
    }
    const size_t windowStart = cutAt >= n - 1 ? cutAt - (n - 1) : 0;
    const size_t windowEnd = std::min(text.size(), cutAt + n - 1);
    if (windowEnd > windowStart) {
        if (const size_t joined = text.substr(0, windowEnd).find(option, windowStart);
            joined != kNone) {
            return joined;  // formed across the join
        }
    }
    if (before == kNone) {
        return kNone;
    }
    if (before >= cutAt + removed) {
        return before - removed;  // wholly behind the cut
    }
    return FindOption(text, option, cutAt);
}

}  // namespace

std::string ManagedRendererBlock(const std::string& emulatorDir, int game,
                                 const std::string& renderer, bool configuresItself) {
    constexpr std::string_view kLineEnd = "\r\n";
    // A renderer with its own configuration entry keeps its settings itself; any other reads
    // them from this game's renderer options file, named here by its full path.
    std::string block(kLineEnd);
    if (!configuresItself) {
        block += emu::kUseRendererCfgFileOption;
        block += emu::RendererOptionsFile(emulatorDir, game);
        block += kLineEnd;
    }
    // The emulator reads the options line by line; the renderer line always comes last.
    block += emu::kRendererOption;
    block += renderer;
    block += kLineEnd;
    return block;
}

size_t FindOption(std::string_view text, std::string_view what, size_t from) {
    const size_t n = what.size();
    if (n < 2) {
        return text.find(what, from);
    }
    if (text.size() < n || from > text.size() - n) {
        return kNone;
    }
    const auto* data = reinterpret_cast<const unsigned char*>(text.data());
    const auto first = static_cast<unsigned char>(what.front());
    const auto last = static_cast<unsigned char>(what.back());
    const size_t end = text.size() - n + 1;  // one past the last possible start
    for (size_t block = from; block < end; block += kBlock) {
        const size_t stop = std::min(block + kBlock, end);
        if (stop - block == kBlock) {
            const unsigned char* starts = data + block;
            const unsigned char* ends = starts + n - 1;
            unsigned char candidates = 0;
            for (size_t i = 0; i < kBlock; ++i) {
                candidates |= static_cast<unsigned char>((starts[i] == first) & (ends[i] == last));
            }
            if (candidates == 0) {
                continue;
            }
        }
        for (size_t i = block; i < stop; ++i) {
            if (data[i] == first && data[i + n - 1] == last &&
                std::memcmp(data + i + 1, what.data() + 1, n - 2) == 0) {
                return i;
            }
        }
    }
    return kNone;
}

bool CutManagedOptions(std::string& text, std::string& renderer) {
    static_assert(emu::kManagedOptions[kManagedCount - 1] == emu::kRendererOption);
    renderer.clear();
    bool cutRenderer = false;
    std::array<size_t, kManagedCount> at = FindEachManaged(text);
    for (size_t k = 0; k < kManagedCount; ++k) {
        if (at[k] == kNone) {
            continue;
        }
        const size_t sizeBefore = text.size();
        std::string value = CutOptionLine(text, at[k], emu::kManagedOptions[k].size());
        for (size_t later = k + 1; later < kManagedCount; ++later) {
            at[later] = FirstAfterCut(text, emu::kManagedOptions[later], at[later], at[k],
                                      sizeBefore - text.size());
        }
        if (k == kManagedCount - 1) {
            // Drops the CR of the line end too; a blank right after "=" stays in the name.
            renderer = std::move(value);
            text::TrimRight(renderer);
            cutRenderer = true;
        }
    }
    return cutRenderer;
}

std::optional<std::string> CutEveryManagedOption(std::string& text) {
    std::optional<std::string> renderer;
    for (const std::string_view option : emu::kManagedOptions) {
        size_t at = 0;
        while ((at = FindOption(text, option, at)) != kNone) {
            std::string value = CutOptionLine(text, at, option.size());
            if (option == emu::kRendererOption && !renderer) {
                renderer = std::move(value);
                text::TrimRight(*renderer);
            }
        }
    }
    return renderer;
}

}  // namespace velmora::config
