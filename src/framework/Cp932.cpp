#include "framework/Cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <mutex>
#include <stdexcept>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace zavio {
namespace {

constexpr char32_t kNone = 0xFFFFFFFF;
constexpr char32_t kEscapeBase = 0xF700;  // U+F700..U+F7FF: raw bytes

// A conversion descriptor of glibc's iconv, opened once and reused: the
// tables below take tens of thousands of conversions.
class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from))
    {
        if (m_cd == reinterpret_cast<iconv_t>(-1))
            throw std::runtime_error(std::string("iconv cannot convert ") + from + " to " + to);
    }
    ~Converter() { iconv_close(m_cd); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts from the start of `in` as far as iconv accepts it; the result
    // is the number of bytes taken, and `rejected` tells whether iconv stopped
    // at a sequence it does not accept. The output goes through one buffer
    // that only grows: the tables call this again after every rejected
    // sequence with the rest of their input, and clearing room for all of it
    // each time cost more than the conversions.
    std::size_t Run(std::string_view in, std::string& out, bool& rejected)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        const std::size_t room = in.size() * 4 + 8;
        if (m_buffer.size() < room) m_buffer.resize(room);
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = m_buffer.data();
        std::size_t outLeft = room;
        rejected = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1);
        out.assign(m_buffer.data(), room - outLeft);
        return in.size() - inLeft;
    }

    // nullopt when iconv rejects any part of the input.
    std::optional<std::string> operator()(std::string_view in)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
        std::string out(in.size() * 4 + 8, '\0');
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        std::size_t rc = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft);
        bool ok = rc != static_cast<std::size_t>(-1) && inLeft == 0;
        if (ok) ok = iconv(m_cd, nullptr, nullptr, &outPtr, &outLeft) != static_cast<std::size_t>(-1);
        if (!ok) return std::nullopt;
        out.resize(out.size() - outLeft);
        return out;
    }

private:
    iconv_t m_cd;
    std::string m_buffer;
};

// A code point's CP932 bytes: the byte, or lead * 256 + trail. No character
// has the value 0xFFFF, as 0xFF is not a lead byte.
constexpr std::uint16_t kNoBytes = 0xFFFF;

std::uint16_t BytesValue(std::string_view character)
{
    if (character.size() == 1) return static_cast<unsigned char>(character[0]);
    if (character.size() != 2) return kNoBytes;
    return static_cast<std::uint16_t>((static_cast<unsigned char>(character[0]) << 8) |
                                      static_cast<unsigned char>(character[1]));
}

// Lead bytes 0x81-0x9F and 0xE0-0xFC numbered 0 to 59: the rows of the
// double-byte table.
constexpr std::size_t kLeadBytes = 60;

std::size_t DoubleIndex(unsigned char lead, unsigned char trail)
{
    const std::size_t row = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 31;
    return (row << 8) | trail;
}

// Byte sequences to convert, one after the other in one string.
struct Units {
    std::string bytes;
    std::vector<std::uint32_t> starts{0};  // unit u is [starts[u], starts[u + 1])

    void Add(std::string_view unit)
    {
        bytes += unit;
        starts.push_back(static_cast<std::uint32_t>(bytes.size()));
    }
    std::size_t Count() const { return starts.size() - 1; }
    std::string_view At(std::size_t u) const
    {
        return std::string_view(bytes).substr(starts[u], starts[u + 1] - starts[u]);
    }
};

// One code point per 4 bytes of UTF-32LE; a stray rest gives kNone.
void CodePointsOf(std::string_view utf32le, std::vector<char32_t>& out)
{
    auto b = [&](std::size_t i) { return static_cast<char32_t>(static_cast<unsigned char>(utf32le[i])); };
    std::size_t i = 0;
    for (; i + 4 <= utf32le.size(); i += 4) out.push_back(b(i) | (b(i + 1) << 8) | (b(i + 2) << 16) | (b(i + 3) << 24));
    if (i != utf32le.size()) out.push_back(kNone);
}

// The bytes value of each CP932 character.
void Cp932CharactersOf(std::string_view cp932, std::vector<std::uint16_t>& out)
{
    for (std::size_t i = 0; i < cp932.size(); i += CharLength(cp932, i))
        out.push_back(BytesValue(cp932.substr(i, CharLength(cp932, i))));
}

// Converts every unit with as few iconv calls as possible: one call runs
// until a unit iconv rejects, which is skipped. A stretch whose output does
// not split into exactly one result per unit is converted unit by unit
// instead. Rejected units give `rejected`.
template <class Result, class Split>
std::vector<Result> ConvertUnits(Converter& conv, const Units& units, Result rejected, Split split)
{
    std::vector<Result> parts;
    auto one = [&](std::size_t u) -> Result {
        std::optional<std::string> out = conv(units.At(u));
        if (!out) return rejected;
        parts.clear();
        split(*out, parts);
        return parts.size() == 1 ? parts[0] : rejected;
    };

    const std::size_t count = units.Count();
    std::vector<Result> results(count, rejected);
    std::string out;
    std::size_t u = 0;
    while (u < count) {
        bool isRejected = false;
        const std::size_t end =
            units.starts[u] + conv.Run(std::string_view(units.bytes).substr(units.starts[u]), out, isRejected);
        std::size_t last = u;
        while (last < count && units.starts[last + 1] <= end) ++last;
        parts.clear();
        split(out, parts);
        const bool partial = last < count && units.starts[last] != end;
        if (!partial && parts.size() == last - u) {
            std::copy(parts.begin(), parts.end(), results.begin() + static_cast<std::ptrdiff_t>(u));
        } else {
            for (std::size_t k = u; k < last; ++k) results[k] = one(k);
        }
        u = last;
        if (u < count && (isRejected || partial)) {
            if (partial) results[u] = one(u);
            ++u;  // a rejected unit keeps the rejected value
        }
    }
    return results;
}

// Tables built once from iconv: byte sequences to code points and back. Only
// sequences whose code point encodes back to the same bytes are decodable, so
// that decoding never loses the original bytes. Every CP932 character lies in
// the Basic Multilingual Plane, so both directions are plain arrays.
struct Tables {
    std::array<char32_t, 256> single{};
    std::vector<char32_t> dbl = std::vector<char32_t>(kLeadBytes * 256, kNone);         // by DoubleIndex
    std::vector<std::uint16_t> encode = std::vector<std::uint16_t>(0x10000, kNoBytes);  // code point -> bytes

    Tables()
    {
        Converter toUnicode("UTF-32LE", "CP932");
        Converter fromUnicode("CP932", "UTF-32LE");
        Units units;
        for (int b = 0; b < 256; ++b)
            if (!IsLeadByte(static_cast<unsigned char>(b))) units.Add(std::string(1, static_cast<char>(b)));
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail)
                units.Add(std::string{static_cast<char>(lead), static_cast<char>(trail)});
        }
        const std::vector<char32_t> decoded = ConvertUnits(toUnicode, units, kNone, CodePointsOf);

        Units codePoints;
        for (char32_t cp : decoded) {
            if (cp == kNone) continue;
            char utf32[4];
            for (int i = 0; i < 4; ++i) utf32[i] = static_cast<char>((cp >> (8 * i)) & 0xFF);
            codePoints.Add(std::string_view(utf32, 4));
        }
        // What each decoded unit's code point encodes to, in the order of the
        // decoded units (a code point always encodes to the same bytes).
        const std::vector<std::uint16_t> encoded = ConvertUnits(fromUnicode, codePoints, kNoBytes, Cp932CharactersOf);

        single.fill(kNone);
        for (std::size_t i = 0, k = 0; i < units.Count(); ++i) {
            const char32_t cp = decoded[i];
            if (cp == kNone) continue;
            const std::uint16_t code = BytesValue(units.At(i));
            // Only bytes that come back the same.
            if (encoded[k++] != code || cp >= 0x10000) continue;
            if (units.At(i).size() == 1)
                single[code] = cp;
            else
                dbl[DoubleIndex(static_cast<unsigned char>(code >> 8), static_cast<unsigned char>(code))] = cp;
            if (encode[cp] == kNoBytes) encode[cp] = code;
        }
    }
};

const Tables& GetTables()
{
    static const Tables tables;
    return tables;
}

void AppendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Next code point of UTF-8 text; kNone for a malformed sequence (one byte is
// consumed then). Overlong forms, surrogates and values past U+10FFFF are
// malformed: read leniently, C0 AF would pass for '/' and a file name on
// disk would change its meaning inside the program.
char32_t NextUtf8(std::string_view s, std::size_t& pos)
{
    static constexpr char32_t kSmallest[] = {0, 0x80, 0x800, 0x10000};
    auto c = static_cast<unsigned char>(s[pos]);
    int extra = c < 0x80 ? 0 : (c & 0xE0) == 0xC0 ? 1 : (c & 0xF0) == 0xE0 ? 2 : (c & 0xF8) == 0xF0 ? 3 : -1;
    if (extra == 0) {
        ++pos;
        return c;
    }
    if (extra < 0 || pos + extra >= s.size()) {
        ++pos;
        return kNone;
    }
    char32_t cp = c & (0x3F >> extra);
    for (int i = 1; i <= extra; ++i) {
        auto t = static_cast<unsigned char>(s[pos + i]);
        if ((t & 0xC0) != 0x80) {
            ++pos;
            return kNone;
        }
        cp = (cp << 6) | (t & 0x3F);
    }
    if (cp < kSmallest[extra] || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) {
        ++pos;
        return kNone;
    }
    pos += extra + 1;
    return cp;
}

// Below this size a text that is all characters is decoded through iconv
// itself (DecodeWholeText); the tables cost thousands of such texts.
constexpr std::size_t kShortText = 4096;
std::optional<std::string> DecodeWholeText(std::string_view cp932);

// Decode with a policy for bytes that are not decodable.
template <bool Lossless>
std::optional<std::string> Decode(std::string_view in)
{
    if (IsAscii(in)) return std::string(in);
    if (in.size() <= kShortText) {
        if (std::optional<std::string> whole = DecodeWholeText(in)) return whole;
    }
    const Tables& t = GetTables();
    std::string out;
    out.reserve(in.size() * 3 / 2);
    for (std::size_t i = 0; i < in.size();) {
        auto c = static_cast<unsigned char>(in[i]);
        char32_t cp = kNone;
        std::size_t len = 1;
        if (IsLeadByte(c)) {
            if (i + 1 < in.size()) {
                cp = t.dbl[DoubleIndex(c, static_cast<unsigned char>(in[i + 1]))];
                len = 2;
            }
            if (cp == kNone) len = 1;
        } else {
            cp = t.single[c];
        }
        if (cp == kNone) {
            if (!Lossless) return std::nullopt;
            cp = kEscapeBase + c;
            len = 1;
        }
        AppendUtf8(out, cp);
        i += len;
    }
    return out;
}

template <bool Lossless>
std::optional<std::string> Encode(std::string_view in)
{
    if (IsAscii(in)) return std::string(in);
    const Tables& t = GetTables();
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size();) {
        char32_t cp = NextUtf8(in, i);
        if (Lossless && cp >= kEscapeBase && cp <= kEscapeBase + 0xFF) {
            out += static_cast<char>(cp - kEscapeBase);
            continue;
        }
        const std::uint16_t code = cp < 0x10000 ? t.encode[cp] : kNoBytes;
        if (code == kNoBytes) {
            if (!Lossless) return std::nullopt;
            out += '?';  // a character CP932 cannot hold
            continue;
        }
        if (code > 0xFF) out += static_cast<char>(code >> 8);
        out += static_cast<char>(code & 0xFF);
    }
    return out;
}

// The length of the well-formed UTF-8 sequence at `pos` and its code point;
// 0 for a byte that does not begin one (overlong forms and surrogates
// included, as iconv refuses them too).
std::size_t Utf8SequenceAt(std::string_view s, std::size_t pos, char32_t& cp, bool surrogates = false)
{
    const auto c = static_cast<unsigned char>(s[pos]);
    if (c < 0x80) {
        cp = c;
        return 1;
    }
    const std::size_t length = c >= 0xC2 && c <= 0xDF ? 2 : c >= 0xE0 && c <= 0xEF ? 3 : c >= 0xF0 && c <= 0xF4 ? 4 : 0;
    if (length == 0 || pos + length > s.size()) return 0;
    cp = c & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        const auto t = static_cast<unsigned char>(s[pos + i]);
        if ((t & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (t & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (cp < kSmallest[length] || cp > 0x10FFFF || (!surrogates && cp >= 0xD800 && cp <= 0xDFFF)) return 0;
    return length;
}

bool IsEscapeCodePoint(char32_t cp)
{
    return cp >= kEscapeBase && cp <= kEscapeBase + 0xFF;
}

// The converter from UTF-8 to the platform's CP932 table, which also knows the
// characters CP932 holds without giving them back (U+00A5, U+203E, U+301C...).
Converter& Utf8ToCp932Converter()
{
    static Converter converter("CP932", "UTF-8");
    return converter;
}

// And back, for texts too short to be worth the tables.
Converter& Cp932ToUtf8Converter()
{
    static Converter converter("UTF-8", "CP932");
    return converter;
}

// One lock for both converters: a descriptor keeps state between calls.
std::mutex& ConverterMutex()
{
    static std::mutex mutex;
    return mutex;
}

// The converter's few messages and names need not wait for the tables. iconv
// converts character by character without state, so when the whole text
// decodes and encodes back to the same bytes, so does each character: the
// tables decode the text alike. Otherwise they decide (nullopt).
std::optional<std::string> DecodeWholeText(std::string_view cp932)
{
    std::lock_guard<std::mutex> lock(ConverterMutex());
    std::optional<std::string> utf8 = Cp932ToUtf8Converter()(cp932);
    if (!utf8) return std::nullopt;
    const std::optional<std::string> back = Utf8ToCp932Converter()(*utf8);
    if (!back || *back != cp932) return std::nullopt;
    return utf8;
}

}  // namespace

std::string DecodeUtf8Lossless(std::string_view utf8)
{
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const std::size_t length = Utf8SequenceAt(utf8, i, cp);
        if (length > 0 && !IsEscapeCodePoint(cp)) {
            out.append(utf8, i, length);
            i += length;
            continue;
        }
        // A stray byte, or one byte of a character the codec reserves.
        for (std::size_t end = i + std::max<std::size_t>(length, 1); i < end; ++i)
            AppendUtf8(out, kEscapeBase + static_cast<unsigned char>(utf8[i]));
    }
    return out;
}

std::string EncodeUtf8Lossless(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t length = Utf8SequenceAt(text, i, cp);
        if (length > 0 && IsEscapeCodePoint(cp)) {
            out += static_cast<char>(cp - kEscapeBase);
        } else {
            out.append(text, i, std::max<std::size_t>(length, 1));
        }
        i += std::max<std::size_t>(length, 1);
    }
    return out;
}

void AppendUtf8CodePoint(std::string& out, char32_t codePoint)
{
    AppendUtf8(out, codePoint);
}

std::size_t ReadUtf8CodePoint(std::string_view s, std::size_t pos, char32_t& codePoint)
{
    return Utf8SequenceAt(s, pos, codePoint, true);
}

bool IsWellFormedUtf8(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size();) {
        char32_t cp = 0;
        const std::size_t length = Utf8SequenceAt(bytes, i, cp);
        if (length == 0) return false;
        i += length;
    }
    return true;
}

bool IsPlainCp932(std::string_view bytes)
{
    const Tables& t = GetTables();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c < 0x80) continue;
        if (!IsLeadByte(c) || i + 1 == bytes.size()) return false;
        if (t.dbl[DoubleIndex(c, static_cast<unsigned char>(bytes[++i]))] == kNone) return false;
    }
    return true;
}

std::string Utf8ToCp932WithReferences(std::string_view utf8)
{
    if (IsAscii(utf8)) return std::string(utf8);
    std::lock_guard<std::mutex> lock(ConverterMutex());
    Converter& conv = Utf8ToCp932Converter();
    std::string out, part;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        bool rejected = false;
        const std::size_t taken = conv.Run(utf8.substr(i), part, rejected);
        out += part;
        i += taken;
        if (i >= utf8.size()) break;
        // iconv stopped at a character CP932 lacks or at bytes that are not UTF-8.
        char32_t cp = 0;
        const std::size_t length = Utf8SequenceAt(utf8, i, cp);
        if (length == 0) {
            out += utf8[i++];
            continue;
        }
        out += "&#" + std::to_string(static_cast<unsigned long>(cp)) + ";";
        i += length;
    }
    return out;
}

std::optional<std::string> CodePointToCp932(char32_t codePoint)
{
    if (codePoint < 0x80) return std::string(1, static_cast<char>(codePoint));
    if (codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return std::nullopt;
    std::string utf8;
    AppendUtf8(utf8, codePoint);
    std::lock_guard<std::mutex> lock(ConverterMutex());
    return Utf8ToCp932Converter()(utf8);
}

namespace {
// Looks literals up by view, so a literal already converted costs no copy.
struct LiteralHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
};
}  // namespace

const std::string& ToCp932(std::string_view utf8)
{
    static std::mutex mutex;
    static std::unordered_map<std::string, std::string, LiteralHash, std::equal_to<>> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(utf8);
    if (it != cache.end()) return it->second;
    // Straight through iconv: a program that only writes its own texts
    // never pays for the whole table. A literal's characters all map both
    // ways, so this is what the table would give.
    std::optional<std::string> enc;
    if (IsAscii(utf8)) {
        enc = std::string(utf8);
    } else {
        std::lock_guard<std::mutex> converterLock(ConverterMutex());
        enc = Utf8ToCp932Converter()(utf8);
    }
    if (!enc) throw std::logic_error("literal has no CP932 form: " + std::string(utf8));
    return cache.emplace(std::string(utf8), std::move(*enc)).first->second;
}

std::optional<std::string> DecodeCp932(std::string_view cp932)
{
    return Decode<false>(cp932);
}
std::optional<std::string> EncodeCp932(std::string_view utf8)
{
    return Encode<false>(utf8);
}
std::string DecodeCp932Lossless(std::string_view cp932)
{
    return *Decode<true>(cp932);
}
std::string EncodeCp932Lossless(std::string_view utf8)
{
    return *Encode<true>(utf8);
}

bool EncodesLosslessly(char32_t codePoint)
{
    if (codePoint >= kEscapeBase && codePoint <= kEscapeBase + 0xFF) return true;
    return codePoint < 0x10000 && GetTables().encode[codePoint] != kNoBytes;
}

std::size_t MbFind(std::string_view text, std::string_view what, std::size_t start)
{
    if (what.empty()) return start <= text.size() ? start : std::string_view::npos;
    if (start > text.size() || text.size() - start < what.size()) return std::string_view::npos;
    // memchr leads to each byte where a match could begin; the rest of `what`
    // is compared here, as most candidates differ at their second byte. The
    // character boundaries are walked only up to a match, so the whole search
    // stays linear.
    const char* const bytes = text.data();
    const std::size_t lastStart = text.size() - what.size();
    std::size_t boundary = start;
    for (std::size_t from = start; from <= lastStart;) {
        const void* hit = std::memchr(bytes + from, what[0], lastStart - from + 1);
        if (!hit) break;
        const std::size_t cand = static_cast<std::size_t>(static_cast<const char*>(hit) - bytes);
        std::size_t same = 1;
        while (same < what.size() && bytes[cand + same] == what[same]) ++same;
        if (same == what.size()) {
            while (boundary < cand) boundary += CharLength(text, boundary);
            if (boundary == cand) return cand;
        }
        from = cand + 1;
    }
    return std::string_view::npos;
}

std::size_t MbReverseFind(std::string_view text, char c)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < text.size(); i += CharLength(text, i))
        if (text[i] == c) found = i;
    return found;
}

int MbCompare(std::string_view a, std::string_view b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        auto charValue = [](std::string_view s, std::size_t& k) {
            unsigned v = static_cast<unsigned char>(s[k]);
            if (CharLength(s, k) == 2) v = (v << 8) | static_cast<unsigned char>(s[k + 1]), ++k;
            ++k;
            return v;
        };
        unsigned ca = charValue(a, i);
        unsigned cb = charValue(b, j);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (i < a.size()) return 1;
    if (j < b.size()) return -1;
    return 0;
}

namespace {
template <char From, char To>
std::string MapAsciiRange(std::string_view s)
{
    std::string out(s);
    for (std::size_t i = 0; i < out.size();) {
        const char c = out[i];
        // An ASCII byte is a character of its own; only a lead byte needs
        // the character's length, to skip its trail byte.
        if (static_cast<unsigned char>(c) >= 0x80) {
            i += CharLength(out, i);
            continue;
        }
        if (c >= From && c <= static_cast<char>(From + 25)) out[i] = static_cast<char>(c - From + To);
        ++i;
    }
    return out;
}
}  // namespace

std::string MbLowerAscii(std::string_view s)
{
    return MapAsciiRange<'A', 'a'>(s);
}
bool MbEqualsIgnoringAsciiCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    // Folding every byte folds more than MbLowerAscii (trail bytes too): a
    // difference left after it is a difference; a match is then confirmed.
    const auto fold = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    for (std::size_t i = a.size(); i-- > 0;)
        if (fold(static_cast<unsigned char>(a[i])) != fold(static_cast<unsigned char>(b[i]))) return false;
    return a == b || MbLowerAscii(a) == MbLowerAscii(b);
}

std::string MbUpperAscii(std::string_view s)
{
    return MapAsciiRange<'a', 'A'>(s);
}

std::string_view TrimLeftView(std::string_view s)
{
    std::size_t i = 0;
    while (i < s.size() && IsAsciiSpace(static_cast<unsigned char>(s[i]))) ++i;
    return s.substr(i);
}

std::string_view TrimRightView(std::string_view s)
{
    std::size_t n = s.size();
    // A trailing byte can be the trail of a double-byte character only when
    // it is in 0x40..0xFC; white space bytes never are, so no scan is needed.
    while (n > 0 && IsAsciiSpace(static_cast<unsigned char>(s[n - 1]))) --n;
    return s.substr(0, n);
}

std::string MbRemoveAscii(std::string_view text, std::string_view ascii)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = CharLength(text, i);
        if (length != 1 || ascii.find(text[i]) == std::string_view::npos) out.append(text.substr(i, length));
        i += length;
    }
    return out;
}

std::string MbReplaceAll(std::string_view text, std::string_view from, std::string_view to)
{
    if (from.empty()) return std::string(text);
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (true) {
        std::size_t hit = MbFind(text, from, pos);
        if (hit == std::string_view::npos) break;
        out.append(text.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(text.substr(pos));
    return out;
}

}  // namespace zavio
