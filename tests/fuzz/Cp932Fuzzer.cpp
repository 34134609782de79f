// The CP932 codec and the multibyte-aware text helpers on arbitrary bytes.
// Each helper is held to a property or to a plain character-by-character
// reading of its contract; any difference aborts.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "framework/Cp932.h"

namespace {

using namespace zavio;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "cp932 fuzzer: %s\n", what);
    std::abort();
}

void Check(bool ok, const char* what)
{
    if (!ok) Fail(what);
}

std::vector<std::size_t> Boundaries(std::string_view s)
{
    std::vector<std::size_t> out;
    for (std::size_t i = 0; i < s.size(); i += CharLength(s, i)) out.push_back(i);
    return out;
}

// The characters of a text as numbers: a double-byte character is
// lead*256+trail, so a comparison of these sequences is the contract of
// MbCompare.
std::vector<unsigned> CharValues(std::string_view s)
{
    std::vector<unsigned> out;
    for (std::size_t i : Boundaries(s)) {
        unsigned v = static_cast<unsigned char>(s[i]);
        if (CharLength(s, i) == 2) v = v * 256 + static_cast<unsigned char>(s[i + 1]);
        out.push_back(v);
    }
    return out;
}

int Sign(int v)
{
    return (v > 0) - (v < 0);
}

void CheckCodec(const std::string& bytes)
{
    const std::string shown = DecodeCp932Lossless(bytes);
    Check(EncodeCp932Lossless(shown) == bytes, "lossless decode then encode changed the bytes");
    if (std::optional<std::string> strict = DecodeCp932(bytes)) {
        Check(*strict == shown, "strict and lossless decoding differ on valid CP932");
        std::optional<std::string> back = EncodeCp932(*strict);
        Check(back && *back == bytes, "valid CP932 does not encode back to its bytes");
    }
}

// The same bytes read as UTF-8: what the strict encoder accepts must decode
// back to exactly that text, or two file names could meet on disk.
void CheckEncoder(const std::string& utf8)
{
    std::optional<std::string> cp932 = EncodeCp932(utf8);
    if (!cp932) return;
    std::optional<std::string> back = DecodeCp932(*cp932);
    Check(back && *back == utf8, "strict encoding does not decode back to the same UTF-8");
    Check(EncodeCp932Lossless(utf8) == *cp932, "lossless encoding differs from strict on encodable text");
}

void CheckFind(const std::string& text, const std::string& what, std::size_t start)
{
    std::size_t expected = std::string::npos;
    for (std::size_t b : Boundaries(text)) {
        if (b < start) continue;
        if (text.compare(b, what.size(), what) == 0) {
            expected = b;
            break;
        }
    }
    if (what.empty()) expected = start;
    Check(MbFind(text, what, start) == expected, "MbFind differs from a search over character boundaries");
    Check(MbContains(text, what) == (MbFind(text, what) != std::string::npos), "MbContains differs from MbFind");
}

void CheckReverseFind(const std::string& text, char c)
{
    std::size_t expected = std::string::npos;
    for (std::size_t b : Boundaries(text))
        if (text[b] == c) expected = b;
    Check(MbReverseFind(text, c) == expected, "MbReverseFind differs from a scan of character boundaries");
}

void CheckCompare(const std::string& a, const std::string& b)
{
    const std::vector<unsigned> va = CharValues(a);
    const std::vector<unsigned> vb = CharValues(b);
    const int expected = va < vb ? -1 : (vb < va ? 1 : 0);
    Check(Sign(MbCompare(a, b)) == expected, "MbCompare differs from comparing character values");
    Check(Sign(MbCompare(b, a)) == -expected, "MbCompare is not antisymmetric");
    Check((MbCompare(a, b) == 0) == (a == b), "MbCompare calls different bytes equal");
}

void CheckCase(const std::string& s)
{
    const std::string lower = MbLowerAscii(s);
    const std::string upper = MbUpperAscii(s);
    Check(lower.size() == s.size() && upper.size() == s.size(), "case mapping changed the length");
    for (std::size_t b : Boundaries(s)) {
        if (CharLength(s, b) == 2) {
            Check(lower.compare(b, 2, s, b, 2) == 0 && upper.compare(b, 2, s, b, 2) == 0,
                  "case mapping touched a double-byte character");
            continue;
        }
        const char c = s[b];
        const bool isUpper = c >= 'A' && c <= 'Z';
        const bool isLower = c >= 'a' && c <= 'z';
        Check(lower[b] == (isUpper ? static_cast<char>(c + 32) : c), "MbLowerAscii mapped a byte wrongly");
        Check(upper[b] == (isLower ? static_cast<char>(c - 32) : c), "MbUpperAscii mapped a byte wrongly");
    }
}

void CheckTrim(const std::string& s)
{
    auto isSpace = [](char c) { return IsAsciiSpace(static_cast<unsigned char>(c)); };
    const std::string left = TrimLeft(s);
    const std::string right = TrimRight(s);
    const std::size_t cut = s.size() - left.size();
    Check(s.compare(cut, std::string::npos, left) == 0, "TrimLeft is not a tail of its text");
    Check(std::all_of(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(cut), isSpace), "TrimLeft cut text");
    Check(left.empty() || !isSpace(left.front()), "TrimLeft left white space");
    Check(s.compare(0, right.size(), right) == 0, "TrimRight is not a head of its text");
    Check(std::all_of(s.begin() + static_cast<std::ptrdiff_t>(right.size()), s.end(), isSpace), "TrimRight cut text");
    Check(right.empty() || !isSpace(right.back()), "TrimRight left white space");
    Check(Trim(s) == TrimRight(left), "Trim is not both trims");
}

void CheckReplace(const std::string& text, const std::string& from, const std::string& to)
{
    Check(MbReplaceAll(text, from, from) == text, "replacing a text by itself changed it");
    if (from.empty()) return;
    // Every replacement stands where a match began, so the count of matches
    // decides the length.
    std::size_t matches = 0;
    for (std::size_t at = MbFind(text, from); at != std::string::npos; at = MbFind(text, from, at + from.size()))
        ++matches;
    Check(MbReplaceAll(text, from, to).size() == text.size() + matches * to.size() - matches * from.size(),
          "MbReplaceAll replaced another number of matches than MbFind finds");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string what = input.ConsumeRandomLengthString(8);
    const std::string to = input.ConsumeRandomLengthString(8);
    const char c = input.ConsumeIntegral<char>();
    const std::size_t startPick = input.ConsumeIntegral<std::uint16_t>();
    const std::string text = input.ConsumeRemainingBytesAsString();

    CheckCodec(text);
    CheckCodec(what);
    CheckEncoder(text);

    const std::vector<std::size_t> bounds = Boundaries(text);
    const std::size_t start = bounds.empty() ? 0 : bounds[startPick % bounds.size()];
    CheckFind(text, what, start);
    CheckReverseFind(text, c);
    CheckCompare(text, what);
    CheckCompare(what, to);
    CheckCase(text);
    CheckTrim(text);
    CheckReplace(text, what, to);
    return 0;
}
