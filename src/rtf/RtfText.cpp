#include "rtf/RtfText.h"

#include <array>
#include <bitset>

#include "framework/CodePages.h"
#include "framework/Cp932.h"

namespace zavio::rtf {
namespace {

constexpr std::string_view kReplacement = "&#65533;";

// ASCII as Word writes it into HTML: the three markup characters escaped;
// a tab is a blank; other control characters show nothing.
void AppendAscii(char c, std::string& html)
{
    switch (c) {
        case '<':
            html += "&lt;";
            return;
        case '>':
            html += "&gt;";
            return;
        case '&':
            html += "&amp;";
            return;
        case '\t':
            html += ' ';
            return;
        default:
            if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) html += c;
    }
}

// Which CP932 byte pairs and single bytes decode to a character: a byte
// sequence that merely looks like CP932 must not reach a page.
class Cp932Characters {
public:
    Cp932Characters()
    {
        for (unsigned b = 0x80; b < 0x100; ++b) {
            if (IsLeadByte(static_cast<unsigned char>(b))) continue;
            const char single = static_cast<char>(b);
            m_singles[b] = DecodeCp932(std::string_view(&single, 1)).has_value();
        }
        for (unsigned lead = 0x81; lead < 0x100; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (unsigned trail = 0x40; trail < 0x100; ++trail) {
                const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                m_pairs[lead * 256 + trail] = DecodeCp932(std::string_view(pair, 2)).has_value();
            }
        }
    }
    bool Pair(unsigned char lead, unsigned char trail) const { return m_pairs[lead * 256u + trail]; }
    bool Single(unsigned char byte) const { return m_singles[byte]; }

private:
    std::bitset<0x10000> m_pairs;
    std::bitset<0x100> m_singles;
};

const Cp932Characters& Cp932Table()
{
    static const Cp932Characters table;
    return table;
}

std::size_t AppendCp932(std::string_view bytes, std::string& html, bool keepLastLead)
{
    const Cp932Characters& valid = Cp932Table();
    std::size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b < 0x80) {
            AppendAscii(bytes[i++], html);
        } else if (!IsLeadByte(b)) {
            if (valid.Single(b))
                html += bytes[i];
            else
                html += kReplacement;
            ++i;
        } else if (i + 1 == bytes.size()) {
            if (keepLastLead) return i;
            html += kReplacement;
            ++i;
        } else if (valid.Pair(b, static_cast<unsigned char>(bytes[i + 1]))) {
            html.append(bytes.substr(i, 2));
            i += 2;
        } else {
            // The lead byte alone is lost; what follows is read afresh.
            html += kReplacement;
            ++i;
        }
    }
    return i;
}

bool IsLeadByteOf(unsigned codePage, unsigned char b)
{
    return codePage == 932 ? IsLeadByte(b) : b >= 0x81 && b <= 0xFE;
}

// Chinese and Korean text through the platform's converter. None of their
// trail bytes is below 0x40, so the text is cut at the markup and control
// characters, which are escaped or dropped here.
bool IsMarkupOrControl(unsigned char b)
{
    return b < 0x20 || b == '&' || b == '<' || b == '>' || b == 0x7F;
}

std::size_t AppendOtherDoubleByte(std::string_view bytes, unsigned codePage, std::string& html, bool keepLastLead)
{
    std::size_t end = bytes.size();
    if (keepLastLead && end > 0) {
        // Whether the last byte is a lead byte that waits for its trail.
        std::size_t i = 0;
        while (i + 1 < end) i += IsLeadByteOf(codePage, static_cast<unsigned char>(bytes[i])) ? 2 : 1;
        if (i + 1 == end && IsLeadByteOf(codePage, static_cast<unsigned char>(bytes[i]))) --end;
    }
    std::size_t start = 0;
    for (std::size_t i = 0; i <= end; ++i) {
        const bool cut = i == end || IsMarkupOrControl(static_cast<unsigned char>(bytes[i]));
        if (!cut) continue;
        if (i > start) html += CodePageToCp932(bytes.substr(start, i - start), codePage).value_or(std::string());
        if (i < end) AppendAscii(bytes[i], html);
        start = i + 1;
    }
    return end;
}

void AppendSingleByte(std::string_view bytes, unsigned codePage, std::string& html)
{
    const CodePageTable& table = SingleByteTable(codePage);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            AppendAscii(c, html);
        else
            html += table[b];
    }
}

// Adobe's Symbol encoding as Windows' Symbol font shows it, from 0x20 and
// from 0xA0; U+FFFD where the font has no character.
constexpr std::u32string_view kSymbolLow =
    U" !∀#∃%&∋()∗+,−./0123456789:;<=>?≅ΑΒΧΔΕΦΓΗΙϑΚΛΜΝΟΠΘΡΣΤΥςΩΞΨΖ[∴]⊥_‾αβχδεφγηιϕκλμνοπθρστυϖωξψζ{|}∼";
constexpr std::u32string_view kSymbolHigh =
    U"€ϒ′≤⁄∞ƒ♣♦♥♠↔←↑→↓°±″≥×∝∂•÷≠≡≈…⏐⎯↵ℵℑℜ℘⊗⊕∅∩∪⊃⊇⊄⊂⊆∈∉∠∇®©™∏√⋅¬∧∨⇔⇐⇑⇒⇓◊〈®©™∑⎛⎜⎝⎡⎢⎣⎧⎨⎩⎪\uFFFD〉∫⌠⎮⌡⎞⎟⎠⎤⎥⎦⎫⎬⎭\uFFFD";
static_assert(kSymbolLow.size() == 0x7F - 0x20);
static_assert(kSymbolHigh.size() == 0x100 - 0xA0);

}  // namespace

char32_t SymbolFontCodePoint(unsigned char byte)
{
    if (byte >= 0x20 && byte < 0x7F) return kSymbolLow[byte - 0x20];
    if (byte >= 0xA0) return kSymbolHigh[byte - 0xA0];
    return 0xFFFD;
}

void AppendCodePointAsHtml(char32_t codePoint, std::string& html)
{
    if (codePoint < 0x80) {
        AppendAscii(static_cast<char>(codePoint), html);
    } else if (codePoint == 0xA0) {
        html += "&nbsp;";
    } else if (codePoint < 0xA0) {
        return;  // C1 control characters show nothing
    } else {
        html += CodePointToCp932OrReference(codePoint);
    }
}

std::size_t AppendBytesAsHtml(std::string_view bytes, ByteEncoding encoding, std::string& html, bool keepLastLead)
{
    switch (encoding.kind) {
        case ByteEncoding::Kind::SymbolFont:
            for (char c : bytes) {
                const auto b = static_cast<unsigned char>(c);
                if (b >= 0x20) AppendCodePointAsHtml(SymbolFontCodePoint(b), html);
            }
            return bytes.size();
        case ByteEncoding::Kind::PictureFont:
            // The font's own pictures: Windows maps them to U+F020-U+F0FF.
            for (char c : bytes) {
                const auto b = static_cast<unsigned char>(c);
                if (b >= 0x20) AppendCodePointAsHtml(0xF000 + b, html);
            }
            return bytes.size();
        case ByteEncoding::Kind::CodePage:
            break;
    }
    if (encoding.codePage == 932) return AppendCp932(bytes, html, keepLastLead);
    if (IsSingleByteCodePage(encoding.codePage)) {
        AppendSingleByte(bytes, encoding.codePage, html);
        return bytes.size();
    }
    return AppendOtherDoubleByte(bytes, encoding.codePage, html, keepLastLead);
}

}  // namespace zavio::rtf
