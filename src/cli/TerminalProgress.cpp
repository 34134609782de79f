#include "TerminalProgress.h"

#include <string>

#include "framework/Cp932.h"

namespace zavio {
namespace {

constexpr std::chrono::milliseconds kRedrawEvery{100};

}  // namespace

TerminalProgress::TerminalProgress(std::ostream& terminal, std::size_t columns)
    : m_terminal(terminal), m_columns(columns)
{
}

void TerminalProgress::Show(std::string_view line)
{
    const auto now = std::chrono::steady_clock::now();
    if (m_shownAt && now - *m_shownAt < kRedrawEvery) return;
    m_shownAt = now;
    // A CP932 character is as wide on the screen as it has bytes. The last
    // column stays free: a terminal wraps a line that fills it, and the
    // carriage return would then go back to the wrong row.
    std::string shown;
    for (std::size_t pos = 0; pos < line.size();) {
        const std::size_t length = CharLength(line, pos);
        if (shown.size() + length + 1 > m_columns) break;
        // A control character would move the cursor.
        for (std::size_t i = 0; i < length; ++i)
            shown += static_cast<unsigned char>(line[pos + i]) < 0x20 ? ' ' : line[pos + i];
        pos += length;
    }
    const std::size_t width = shown.size();
    m_terminal << '\r' << DecodeCp932Lossless(shown)
               << std::string(m_shownWidth > width ? m_shownWidth - width : 0, ' ') << std::flush;
    m_shownWidth = width;
}

void TerminalProgress::Clear()
{
    if (m_shownWidth == 0 && !m_shownAt) return;
    m_terminal << '\r' << std::string(m_shownWidth, ' ') << '\r' << std::flush;
    m_shownWidth = 0;
    m_shownAt.reset();
}

}  // namespace zavio
