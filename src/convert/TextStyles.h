// What a manuscript's inline elements do to the text they hold, as far as
// WinHelp's markup goes: underlined (a pop-up's hotspot), double-underlined
// or struck through (a jump's hotspot), hidden (the target's context string).
// Word writes it in a tag's own style, or through a character style whose
// rule stands in the head's style sheet ("span.a {text-underline:double}").
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>

#include "framework/TextFile.h"

namespace zavio {

struct TextStyle {
    bool jump = false;   // double underline or strike-through
    bool popup = false;  // single underline
    bool hidden = false;

    void Add(const TextStyle& other)
    {
        jump = jump || other.jump;
        popup = popup || other.popup;
        hidden = hidden || other.hidden;
    }
};

// The character styles of the head's style sheets, by class name.
using CharacterStyles = std::unordered_map<std::string, TextStyle>;

// Reads the rules of every <style> block among the header lines: each
// "span.NAME" (or ".NAME") selector gets what its rule says.
CharacterStyles ReadCharacterStyles(const LineList& header);

// What a style value says ("text-underline:double; display:none", blanks
// anywhere, letter case aside).
TextStyle StyleOfDeclarations(std::string_view declarations);

// What an opening tag does to its text: its element (<u>, <s>, <strike>),
// its style attribute and its class.
TextStyle StyleOfTag(std::string_view tag, const CharacterStyles& classes);

}  // namespace zavio
