#include "framework/Cp932.h"

#include <iconv.h>

#include <array>
#include <cerrno>
#include <cstdint>
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
    // at a sequence it does not accept.
    std::size_t Run(std::string_view in, std::string& out, bool& rejected)
    {
        iconv(m_cd, nullptr, nullptr, nullptr, nullptr);
        out.assign(in.size() * 4 + 8, '\0');
        char* inPtr = const_cast<char*>(in.data());
        std::size_t inLeft = in.size();
        char* outPtr = out.data();
        std::size_t outLeft = out.size();
        rejected = iconv(m_cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1);
        out.resize(out.size() - outLeft);
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
};

char32_t SingleCodePoint(const std::string& utf32le)
{
    if (utf32le.size() != 4) return kNone;
    auto b = [&](int i) { return static_cast<char32_t>(static_cast<unsigned char>(utf32le[i])); };
    return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

// Tables built once from iconv: byte sequences to code points and back. Only
// sequences whose code point encodes back to the same bytes are decodable, so
// that decoding never loses the original bytes.
struct Tables {
    std::array<char32_t, 256> single{};
    std::vector<char32_t> dbl = std::vector<char32_t>(65536, kNone);
    std::unordered_map<char32_t, std::uint16_t> encode;  // code point -> bytes (1 or 2)

    Tables()
    {
        Converter toUnicode("UTF-32LE", "CP932");
        Converter fromUnicode("CP932", "UTF-32LE");
        std::vector<std::string> units;
        for (int b = 0; b < 256; ++b)
            if (!IsLeadByte(static_cast<unsigned char>(b))) units.emplace_back(1, static_cast<char>(b));
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLeadByte(static_cast<unsigned char>(lead))) continue;
            for (int trail = 0x40; trail <= 0xFC; ++trail)
                units.push_back({static_cast<char>(lead), static_cast<char>(trail)});
        }
        std::vector<char32_t> decoded = ConvertUnits<char32_t>(toUnicode, units, CodePointsOf);

        std::vector<std::string> codePoints;
        for (char32_t cp : decoded)
            if (cp != kNone) codePoints.push_back(Utf32Of(cp));
        std::vector<std::string> encodedUnits = ConvertUnits<std::string>(fromUnicode, codePoints, Cp932CharactersOf);
        std::unordered_map<char32_t, std::string> canonical;
        for (std::size_t i = 0, k = 0; i < decoded.size(); ++i)
            if (decoded[i] != kNone) canonical.emplace(decoded[i], encodedUnits[k++]);

        single.fill(kNone);
        for (std::size_t i = 0; i < units.size(); ++i) {
            char32_t cp = decoded[i];
            if (cp == kNone || canonical[cp] != units[i]) continue;  // only bytes that come back the same
            auto first = static_cast<unsigned char>(units[i][0]);
            if (units[i].size() == 1) {
                single[first] = cp;
                encode.emplace(cp, first);
            } else {
                auto code = static_cast<std::uint16_t>((first << 8) | static_cast<unsigned char>(units[i][1]));
                dbl[code] = cp;
                encode.emplace(cp, code);
            }
        }
    }

private:
    static std::string Utf32Of(char32_t cp)
    {
        std::string utf32(4, '\0');
        for (int i = 0; i < 4; ++i) utf32[i] = static_cast<char>((cp >> (8 * i)) & 0xFF);
        return utf32;
    }

    // One code point per 4 bytes of UTF-32LE.
    static std::vector<char32_t> CodePointsOf(const std::string& utf32le)
    {
        std::vector<char32_t> out;
        for (std::size_t i = 0; i + 4 <= utf32le.size(); i += 4) out.push_back(SingleCodePoint(utf32le.substr(i, 4)));
        if (utf32le.size() % 4 != 0) out.push_back(kNone);
        return out;
    }

    // One CP932 character per lead byte and its trail, or per single byte.
    static std::vector<std::string> Cp932CharactersOf(const std::string& cp932)
    {
        std::vector<std::string> out;
        for (std::size_t i = 0; i < cp932.size(); i += CharLength(cp932, i))
            out.push_back(cp932.substr(i, CharLength(cp932, i)));
        return out;
    }

    // Converts every unit with as few iconv calls as possible: one call runs
    // until a unit iconv rejects, which is skipped. A stretch whose output
    // does not split into exactly one result per unit is converted unit by
    // unit instead. Rejected units give Result().
    template <class Result, class Split>
    static std::vector<Result> ConvertUnits(Converter& conv, const std::vector<std::string>& units, Split split)
    {
        std::string input;
        std::vector<std::size_t> offsets;
        for (const std::string& unit : units) {
            offsets.push_back(input.size());
            input += unit;
        }
        offsets.push_back(input.size());

        auto rejectedValue = [] {
            if constexpr (std::is_same_v<Result, char32_t>)
                return kNone;
            else
                return Result();
        };
        auto one = [&](std::size_t u) -> Result {
            std::optional<std::string> out = conv(units[u]);
            if (!out) return rejectedValue();
            std::vector<Result> parts = split(*out);
            return parts.size() == 1 ? parts[0] : rejectedValue();
        };

        std::vector<Result> results(units.size(), rejectedValue());
        std::size_t u = 0;
        while (u < units.size()) {
            std::string out;
            bool rejected = false;
            std::size_t end = offsets[u] + conv.Run(std::string_view(input).substr(offsets[u]), out, rejected);
            std::size_t last = u;
            while (last < units.size() && offsets[last + 1] <= end) ++last;
            std::vector<Result> parts = split(out);
            bool partial = last < units.size() && offsets[last] != end;
            if (!partial && parts.size() == last - u) {
                std::copy(parts.begin(), parts.end(), results.begin() + static_cast<std::ptrdiff_t>(u));
            } else {
                for (std::size_t k = u; k < last; ++k) results[k] = one(k);
            }
            u = last;
            if (u < units.size() && (rejected || partial)) {
                if (partial) results[u] = one(u);
                ++u;  // a rejected unit keeps the rejected value
            }
        }
        return results;
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

// Decode with a policy for bytes that are not decodable.
template <bool Lossless>
std::optional<std::string> Decode(std::string_view in)
{
    const Tables& t = GetTables();
    std::string out;
    out.reserve(in.size() * 3 / 2);
    for (std::size_t i = 0; i < in.size();) {
        auto c = static_cast<unsigned char>(in[i]);
        char32_t cp = kNone;
        std::size_t len = 1;
        if (IsLeadByte(c)) {
            if (i + 1 < in.size()) {
                cp = t.dbl[(c << 8) | static_cast<unsigned char>(in[i + 1])];
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
    const Tables& t = GetTables();
    std::string out;
    out.reserve(in.size());
    for (std::size_t i = 0; i < in.size();) {
        char32_t cp = NextUtf8(in, i);
        if (Lossless && cp >= kEscapeBase && cp <= kEscapeBase + 0xFF) {
            out += static_cast<char>(cp - kEscapeBase);
            continue;
        }
        auto it = cp == kNone ? t.encode.end() : t.encode.find(cp);
        if (it == t.encode.end()) {
            if (!Lossless) return std::nullopt;
            out += '?';  // a character CP932 cannot hold
            continue;
        }
        if (it->second > 0xFF) out += static_cast<char>(it->second >> 8);
        out += static_cast<char>(it->second & 0xFF);
    }
    return out;
}

}  // namespace

const std::string& ToCp932(std::string_view utf8)
{
    static std::mutex mutex;
    static std::unordered_map<std::string, std::string> cache;
    std::lock_guard<std::mutex> lock(mutex);
    auto it = cache.find(std::string(utf8));
    if (it != cache.end()) return it->second;
    auto enc = Encode<false>(utf8);
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

std::size_t MbFind(std::string_view text, std::string_view what, std::size_t start)
{
    if (what.empty()) return start <= text.size() ? start : std::string_view::npos;
    // Walk character boundaries only up to each candidate found by the fast
    // byte search, so the whole search stays linear.
    std::size_t boundary = start;
    std::size_t from = start;
    while (true) {
        std::size_t cand = text.find(what, from);
        if (cand == std::string_view::npos) return cand;
        while (boundary < cand) boundary += CharLength(text, boundary);
        if (boundary == cand) return cand;
        from = cand + 1;
    }
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
        std::size_t len = CharLength(out, i);
        if (len == 1 && out[i] >= From && out[i] <= static_cast<char>(From + 25))
            out[i] = static_cast<char>(out[i] - From + To);
        i += len;
    }
    return out;
}
}  // namespace

std::string MbLowerAscii(std::string_view s)
{
    return MapAsciiRange<'A', 'a'>(s);
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
