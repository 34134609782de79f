// The converter's progress on a terminal: one line written over in place (a
// carriage return, then blanks over what the last one left) and wiped before
// a message and at the end, so that only the messages stay on the screen.
#pragma once

#include <chrono>
#include <cstddef>
#include <optional>
#include <ostream>
#include <string_view>

namespace zavio {

class TerminalProgress {
public:
    // `columns`: the terminal's width.
    TerminalProgress(std::ostream& terminal, std::size_t columns);

    // Shows the line (CP932) cut to the terminal's width, at most a few
    // times a second: a conversion writes a page in a millisecond or two.
    void Show(std::string_view line);
    // Wipes the line, when one shows.
    void Clear();

private:
    std::ostream& m_terminal;
    std::size_t m_columns;
    std::size_t m_shownWidth = 0;
    std::optional<std::chrono::steady_clock::time_point> m_shownAt;
};

}  // namespace zavio
