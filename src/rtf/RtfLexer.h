// The tokens of RTF: groups, control words and symbols, escaped bytes, text
// and binary data. The lexer knows nothing of what they mean.
#pragma once

#include <cstddef>
#include <string_view>

namespace zavio::rtf {

enum class TokenKind {
    GroupOpen,      // {
    GroupClose,     // }
    ControlWord,    // \name, \nameN, \name-N
    ControlSymbol,  // \ followed by one character that is not a letter: \~ \- \_ \{ \} \\ \* ...
    HexByte,        // \'hh
    Text,           // a run of bytes outside control words, line ends taken out
    Binary,         // the N bytes after \binN
};

struct Token {
    TokenKind kind = TokenKind::Text;
    std::string_view text;  // the control word's name, the text run or the binary data
    int param = 0;
    bool hasParam = false;
    bool blankEnded = false;  // a blank ended the control word (and was taken with it)
    unsigned char byte = 0;   // the escaped byte, or the control symbol's character
};

class RtfLexer {
public:
    explicit RtfLexer(std::string_view input) : m_in(input) {}

    // The next token; false at the end of the input or when the input breaks
    // off inside a token that cannot be read (Failed() then says so).
    bool Next(Token& token);
    // A \binN whose data runs past the end of the input.
    bool Failed() const { return m_failed; }
    // Where the next token starts.
    std::size_t Offset() const { return m_at; }

private:
    void ReadControl(Token& token);
    void ReadControlWord(Token& token);
    void ReadText(Token& token);
    bool ReadBinary(Token& token);

    std::string_view m_in;
    std::size_t m_at = 0;
    bool m_failed = false;
};

}  // namespace zavio::rtf
