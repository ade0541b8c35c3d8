// Feeds arbitrary emulator output to the game-list parser. Besides crashes and sanitizer
// reports it checks what every row must satisfy, whatever the emulator printed: its columns
// lie inside one line of the output and hold what the row rule puts there.

#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "Contract.h"
#include "GameList.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool Within(std::string_view inner, std::string_view outer) {
    return inner.empty() || (inner.data() >= outer.data() &&
                             inner.data() + inner.size() <= outer.data() + outer.size());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace velmora;
    const std::string_view output(reinterpret_cast<const char*>(data), size);
    const std::vector<games::GameRow> rows = games::ParseGameList(output);

    // Walk the complete lines alongside the rows: each row belongs to one game line, in order.
    size_t next = 0;
    size_t start = 0;
    for (size_t lf; (lf = output.find('\n', start)) != std::string_view::npos; start = lf + 1) {
        const std::string_view line = output.substr(start, lf - start);
        const bool game = emu::LeadingNumber(line) > 0 && line.find('[') != std::string_view::npos;
        if (!game) {
            continue;
        }
        Require(next < rows.size());
        const games::GameRow& row = rows[next++];
        Require(row.number == emu::LeadingNumber(line));
        Require(row.game.data() == line.data());
        Require(Within(row.country, line) && Within(row.infos, line));
        const size_t paren = line.find('(');
        if (paren != std::string_view::npos) {
            Require(row.game.size() == paren);
            Require(row.country.find(')') == std::string_view::npos);
        } else {
            Require(row.game.size() == line.find('['));
            Require(row.country.empty());
        }
        Require(row.infos.empty() || row.infos.back() == ']');
        Require(row.infos.find(']') == row.infos.size() - 1 || row.infos.empty());
    }
    Require(next == rows.size());
    return 0;
}
