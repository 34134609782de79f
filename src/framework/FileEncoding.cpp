#include "framework/FileEncoding.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "framework/FileSystem.h"

namespace zavio {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Finds `what` (lower-case ASCII) with ASCII letters compared in either case.
// The declarations looked for stand in a Web page's ASCII head; a match
// beginning on a trail byte would need a double-byte character followed by the
// rest of an ASCII keyword.
std::size_t FindIgnoringCase(std::string_view text, std::string_view what, std::size_t from = 0)
{
    for (std::size_t at = from; at + what.size() <= text.size(); ++at) {
        std::size_t k = 0;
        while (k < what.size() && LowerAscii(text[at + k]) == what[k]) ++k;
        if (k == what.size()) return at;
    }
    return std::string_view::npos;
}

// The values of the charsets declared on a line, each with its position.
template <typename Visit>
std::size_t FindCharsetValue(std::string_view line, Visit accept)
{
    for (std::size_t at = FindIgnoringCase(line, "charset="); at != std::string_view::npos;
         at = FindIgnoringCase(line, "charset=", at + 1)) {
        std::size_t value = at + 8;
        if (value < line.size() && (line[value] == '"' || line[value] == '\'')) ++value;
        if (accept(line.substr(value))) return value;
    }
    return std::string_view::npos;
}

bool HasUtf16ByteOrderMark(std::string_view bytes, bool& bigEndian)
{
    if (bytes.size() < 2) return false;
    bigEndian = bytes.substr(0, 2) == "\xFE\xFF";
    // UTF-32's little-endian mark begins like UTF-16's.
    return bigEndian || (bytes.substr(0, 2) == "\xFF\xFE" && bytes.substr(0, 4) != std::string_view("\xFF\xFE\0\0", 4));
}

// The code units of UTF-16 in UTF-8; a surrogate without its partner keeps
// its value in the same three-byte form, so that it is written back as it was.
std::string Utf16ToHeldUtf8(std::string_view bytes, bool bigEndian)
{
    const auto unit = [&](std::size_t i) {
        const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
        const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
        return static_cast<char32_t>(hi << 8 | lo);
    };
    std::string out;
    out.reserve(bytes.size() * 3 / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t cp = unit(i);
        if (cp >= 0xD800 && cp <= 0xDBFF && i + 3 < bytes.size()) {
            const char32_t low = unit(i + 2);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        AppendUtf8CodePoint(out, cp);
    }
    return out;
}

std::string HeldUtf8ToUtf16(std::string_view held, bool bigEndian)
{
    std::string out;
    out.reserve(held.size() * 2);
    const auto put = [&](char32_t u) {
        const auto hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? hi : lo;
        out += bigEndian ? lo : hi;
    };
    for (std::size_t i = 0; i < held.size();) {
        char32_t cp = 0;
        const std::size_t length = ReadUtf8CodePoint(held, i, cp);
        i += length == 0 ? 1 : length;
        if (length == 0) cp = 0xFFFD;  // no text of a UTF-16 file holds such a byte
        if (cp >= 0x10000) {
            put(0xD800 + ((cp - 0x10000) >> 10));
            put(0xDC00 + ((cp - 0x10000) & 0x3FF));
        } else {
            put(cp);
        }
    }
    return out;
}

// Bytes with zeros where UTF-16 of mostly ASCII has them: nearly all on
// one side of each pair.
bool LooksLikeUtf16(std::string_view bytes)
{
    std::array<std::size_t, 2> zeros{};
    for (std::size_t i = 0; i < bytes.size(); ++i)
        if (bytes[i] == '\0') ++zeros[i % 2];
    const std::size_t all = zeros[0] + zeros[1];
    return bytes.size() % 2 == 0 && (zeros[0] * 10 >= all * 9 || zeros[1] * 10 >= all * 9);
}

}  // namespace

TextEncoding HeldEncoding(FileEncoding encoding)
{
    return encoding == FileEncoding::Cp932 ? TextEncoding::Cp932 : TextEncoding::Utf8;
}

std::size_t FindUtf8CharsetValue(std::string_view line)
{
    return FindCharsetValue(line,
                            [](std::string_view value) { return FindIgnoringCase(value.substr(0, 5), "utf-8") == 0; });
}

std::size_t FindUnicodeCharsetValue(std::string_view line, std::size_t& length)
{
    static constexpr std::string_view kNames[] = {"utf-8", "utf-16", "utf-16le", "utf-16be", "unicode", "unicodefffe"};
    return FindCharsetValue(line, [&](std::string_view value) {
        length = 0;
        while (length < value.size() && (std::isalnum(static_cast<unsigned char>(value[length])) ||
                                         value[length] == '-' || value[length] == '_'))
            ++length;
        std::string name(value.substr(0, length));
        for (char& c : name) c = LowerAscii(c);
        for (std::string_view known : kNames)
            if (name == known) return true;
        return false;
    });
}

TextEncoding DetectFileEncoding(std::string_view text, bool webPage)
{
    if (text.substr(0, 3) == kUtf8ByteOrderMark) return TextEncoding::Utf8;
    // The declaration stands in the head, before the body starts: its lines
    // are read as far as that, as a text file's lines are.
    for (std::size_t start = 0; webPage && start < text.size();) {
        const std::size_t lf = text.find('\n', start);
        std::string_view line = text.substr(start, lf == std::string_view::npos ? lf : lf - start);
        if (lf != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        start = lf == std::string_view::npos ? text.size() : lf + 1;
        if (FindIgnoringCase(line, "<body") != std::string_view::npos) break;
        if (FindIgnoringCase(line, "<meta") != std::string_view::npos &&
            FindUtf8CharsetValue(line) != std::string_view::npos)
            return TextEncoding::Utf8;
    }
    // Japanese text goes beyond ASCII within its first lines: no whole pass.
    const bool beyondAscii =
        std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return beyondAscii && IsWellFormedUtf8(text) && !IsPlainCp932(text) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

FileErrorCause ForeignContent(std::string_view bytes)
{
    // The binary kinds are named only for bytes with a zero, which no text
    // holds: a note that begins with "GIF89a" stays text. A PDF may hold
    // none, and its mark is no way to begin a text.
    static const struct {
        std::string_view magic;
        FileErrorCause cause;
    } kBinaryMagic[] = {
        {"\x89PNG\r\n\x1A\n", FileErrorCause::Png},
        {"\xFF\xD8\xFF", FileErrorCause::Jpeg},
        {"GIF87a", FileErrorCause::Gif},
        {"GIF89a", FileErrorCause::Gif},
        {"\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", FileErrorCause::CompoundDocument},
        {"PK\x03\x04", FileErrorCause::Zip},
        {std::string_view("\xFF\xFE\0\0", 4), FileErrorCause::Utf32},
        {std::string_view("\0\0\xFE\xFF", 4), FileErrorCause::Utf32},
    };
    if (bytes.empty()) return FileErrorCause::Empty;
    if (bytes.starts_with("%PDF-")) return FileErrorCause::Pdf;
    if (bytes.find('\0') == std::string_view::npos) return FileErrorCause::None;
    for (const auto& [magic, cause] : kBinaryMagic)
        if (bytes.starts_with(magic)) return cause;
    return LooksLikeUtf16(bytes) ? FileErrorCause::Utf16WithoutByteOrderMark : FileErrorCause::NotText;
}

std::optional<HeldText> ReadHeldText(std::string_view path, bool webPage)
{
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) return std::nullopt;
    HeldText held;
    bool bigEndian = false;
    if (HasUtf16ByteOrderMark(*bytes, bigEndian)) {
        if (bytes->size() % 2 != 0) {
            SetLastFileError({FileErrorCause::Utf16CutShort});
            return std::nullopt;
        }
        held.encoding = bigEndian ? FileEncoding::Utf16BigEndian : FileEncoding::Utf16LittleEndian;
        *bytes = Utf16ToHeldUtf8(*bytes, bigEndian);
    }
    // A window could not hold the rest of what is no text, and showing part
    // of such a file would lose the rest on the next save.
    const FileErrorCause foreign = ForeignContent(*bytes);
    if (foreign != FileErrorCause::None && foreign != FileErrorCause::Empty) {
        SetLastFileError({foreign});
        return std::nullopt;
    }
    if (held.encoding == FileEncoding::Cp932 && DetectFileEncoding(*bytes, webPage) == TextEncoding::Utf8)
        held.encoding = FileEncoding::Utf8;
    held.bytes = CrLfText(std::move(*bytes));
    return held;
}

std::string FileBytesOfHeldText(std::string_view held, FileEncoding encoding)
{
    switch (encoding) {
        case FileEncoding::Utf16LittleEndian:
            return HeldUtf8ToUtf16(held, false);
        case FileEncoding::Utf16BigEndian:
            return HeldUtf8ToUtf16(held, true);
        default:
            return std::string(held);
    }
}

}  // namespace zavio
