#include "framework/CodePages.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <map>
#include <memory>
#include <mutex>

#include "framework/Cp932.h"

namespace zavio {
namespace {

const std::string& ReplacementReference()
{
    static const std::string reference = "&#65533;";
    return reference;
}

std::string IconvName(unsigned codePage)
{
    return "CP" + std::to_string(codePage);
}

// The code page's bytes in UTF-8, a sequence it does not define as U+FFFD.
std::optional<std::string> ToUtf8(std::string_view bytes, unsigned codePage)
{
    iconv_t cd = iconv_open("UTF-8", IconvName(codePage).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
    std::unique_ptr<void, int (*)(iconv_t)> closer(cd, iconv_close);
    std::string out;
    std::string buffer(bytes.size() * 4 + 16, '\0');
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        const bool rejected = iconv(cd, &in, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1);
        out.append(buffer.data(), buffer.size() - outLeft);
        if (!rejected) break;
        if (errno == E2BIG) continue;
        // A byte the code page leaves undefined, or a sequence cut short.
        out += "\xEF\xBF\xBD";
        ++in;
        --inLeft;
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

// The one code point of a short UTF-8 text, or U+FFFD.
char32_t SingleCodePoint(const std::string& utf8)
{
    const auto b = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(utf8[i])); };
    switch (utf8.size()) {
        case 1:
            return b(0);
        case 2:
            return ((b(0) & 0x1F) << 6) | (b(1) & 0x3F);
        case 3:
            return ((b(0) & 0x0F) << 12) | ((b(1) & 0x3F) << 6) | (b(2) & 0x3F);
        default:
            return 0xFFFD;
    }
}

CodePageTable MakeByteTable(unsigned codePage)
{
    CodePageTable table;
    for (unsigned b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        std::optional<std::string> utf8 = ToUtf8(std::string_view(&byte, 1), codePage);
        table[b] = utf8 ? CodePointToCp932OrReference(SingleCodePoint(*utf8)) : ReplacementReference();
    }
    return table;
}

}  // namespace

bool IsKnownCodePage(unsigned codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 || IsSingleByteCodePage(codePage);
}

bool IsSingleByteCodePage(unsigned codePage)
{
    return codePage == 874 || (codePage >= 1250 && codePage <= 1258);
}

unsigned CodePageOfCharset(int charset)
{
    switch (charset) {
        case 0:
            return 1252;
        case 128:
            return 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        default:
            return 0;
    }
}

unsigned CodePageOfLanguage(unsigned lcid)
{
    switch (lcid & 0x3FF) {  // the primary language
        case 0x11:
            return 932;  // Japanese
        case 0x12:
            return 949;  // Korean
        case 0x04:
            return (lcid == 0x404 || lcid == 0xC04 || lcid == 0x1404) ? 950 : 936;  // Chinese
        case 0x19:
        case 0x22:
        case 0x23:
        case 0x02:
        case 0x2F:
        case 0x3F:
        case 0x40:
        case 0x44:
        case 0x50:
            return 1251;  // Russian, Ukrainian, Belarusian, Bulgarian, ...
        case 0x05:
        case 0x0E:
        case 0x15:
        case 0x18:
        case 0x1B:
        case 0x1C:
        case 0x24:
        case 0x1A:
            return lcid == 0xC1A ? 1251 : 1250;  // Czech, Hungarian, Polish, ...; Serbian Cyrillic
        case 0x08:
            return 1253;  // Greek
        case 0x1F:
            return 1254;  // Turkish
        case 0x0D:
            return 1255;  // Hebrew
        case 0x01:
        case 0x20:
        case 0x29:
            return 1256;  // Arabic, Urdu, Farsi
        case 0x25:
        case 0x26:
        case 0x27:
            return 1257;  // Estonian, Latvian, Lithuanian
        case 0x2A:
            return 1258;  // Vietnamese
        case 0x1E:
            return 874;  // Thai
        default:
            return 1252;
    }
}

std::optional<std::string> CodePageToCp932(std::string_view bytes, unsigned codePage)
{
    if (!IsKnownCodePage(codePage)) return std::nullopt;
    if (codePage == 932) return std::string(bytes);
    if (IsSingleByteCodePage(codePage)) {
        const CodePageTable& table = SingleByteTable(codePage);
        std::string out;
        out.reserve(bytes.size());
        for (char c : bytes) {
            const auto b = static_cast<unsigned char>(c);
            if (b < 0x80)
                out += c;
            else
                out += table[b];
        }
        return out;
    }
    std::optional<std::string> utf8 = ToUtf8(bytes, codePage);
    if (!utf8) return std::nullopt;
    return Utf8ToCp932WithReferences(*utf8);
}

const CodePageTable& SingleByteTable(unsigned codePage)
{
    static std::mutex mutex;
    static std::map<unsigned, std::unique_ptr<CodePageTable>> tables;
    std::lock_guard<std::mutex> lock(mutex);
    std::unique_ptr<CodePageTable>& table = tables[codePage];
    if (!table) table = std::make_unique<CodePageTable>(MakeByteTable(codePage));
    return *table;
}

std::string CodePointToCp932OrReference(char32_t codePoint)
{
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return ReplacementReference();
    const bool foldedIntoAscii = codePoint == 0xA5 || codePoint == 0x203E;
    if (std::optional<std::string> cp932 = CodePointToCp932(codePoint); cp932 && !foldedIntoAscii) return *cp932;
    return "&#" + std::to_string(static_cast<unsigned long>(codePoint)) + ";";
}

}  // namespace zavio
