#include "rtf/RtfLexer.h"

#include <array>
#include <climits>

namespace zavio::rtf {
namespace {

bool IsLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

int HexValue(char c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The bytes that end a text run: a control, a group, or a line end, which
// means nothing in RTF (writers cut their lines anywhere, even inside words).
constexpr std::array<bool, 256> MakeTextStops()
{
    std::array<bool, 256> stops{};
    stops['\\'] = stops['{'] = stops['}'] = stops['\r'] = stops['\n'] = true;
    return stops;
}
constexpr std::array<bool, 256> kTextStops = MakeTextStops();

}  // namespace

bool RtfLexer::Next(Token& token)
{
    while (m_at < m_in.size() && (m_in[m_at] == '\r' || m_in[m_at] == '\n')) ++m_at;
    if (m_at >= m_in.size() || m_failed) return false;
    token = Token{};
    switch (m_in[m_at]) {
        case '{':
            token.kind = TokenKind::GroupOpen;
            ++m_at;
            return true;
        case '}':
            token.kind = TokenKind::GroupClose;
            ++m_at;
            return true;
        case '\\':
            if (m_at + 1 >= m_in.size()) {
                m_at = m_in.size();  // a backslash that ends the input says nothing
                return false;
            }
            ReadControl(token);
            return !m_failed;
        default:
            ReadText(token);
            return true;
    }
}

void RtfLexer::ReadControl(Token& token)
{
    const char c = m_in[m_at + 1];
    if (IsLetter(c)) {
        ++m_at;
        ReadControlWord(token);
        return;
    }
    m_at += 2;
    if (c == '\r' || c == '\n') {
        // A backslash before a line end is a paragraph mark.
        if (c == '\r' && m_at < m_in.size() && m_in[m_at] == '\n') ++m_at;
        token.kind = TokenKind::ControlWord;
        token.text = "par";
        return;
    }
    if (c == '\'' && m_at + 1 < m_in.size()) {
        const int high = HexValue(m_in[m_at]);
        const int low = HexValue(m_in[m_at + 1]);
        if (high >= 0 && low >= 0) {
            token.kind = TokenKind::HexByte;
            token.byte = static_cast<unsigned char>(high * 16 + low);
            m_at += 2;
            return;
        }
    }
    token.kind = TokenKind::ControlSymbol;
    token.byte = static_cast<unsigned char>(c);
}

void RtfLexer::ReadControlWord(Token& token)
{
    const std::size_t start = m_at;
    while (m_at < m_in.size() && IsLetter(m_in[m_at])) ++m_at;
    token.kind = TokenKind::ControlWord;
    token.text = m_in.substr(start, m_at - start);

    const bool negative = m_at + 1 < m_in.size() && m_in[m_at] == '-' && IsDigit(m_in[m_at + 1]);
    if (negative) ++m_at;
    if (m_at < m_in.size() && IsDigit(m_in[m_at])) {
        // Numbers out of range are held at the limit, never wrapped.
        long long value = 0;
        while (m_at < m_in.size() && IsDigit(m_in[m_at])) {
            if (value <= INT_MAX) value = value * 10 + (m_in[m_at] - '0');
            ++m_at;
        }
        if (negative) value = -value;
        token.param = static_cast<int>(value > INT_MAX ? INT_MAX : value < INT_MIN ? INT_MIN : value);
        token.hasParam = true;
    }
    if (m_at < m_in.size() && m_in[m_at] == ' ') {
        token.blankEnded = true;
        ++m_at;
    }
    if (token.text == "bin") m_failed = !ReadBinary(token);
}

bool RtfLexer::ReadBinary(Token& token)
{
    // The data follows the word's delimiter and may hold any byte, braces
    // and backslashes included.
    const std::size_t length = token.param > 0 ? static_cast<std::size_t>(token.param) : 0;
    if (length > m_in.size() - m_at) return false;
    token.kind = TokenKind::Binary;
    token.text = m_in.substr(m_at, length);
    m_at += length;
    return true;
}

void RtfLexer::ReadText(Token& token)
{
    const std::size_t start = m_at;
    while (m_at < m_in.size() && !kTextStops[static_cast<unsigned char>(m_in[m_at])]) ++m_at;
    token.kind = TokenKind::Text;
    token.text = m_in.substr(start, m_at - start);
}

}  // namespace zavio::rtf
