// The RTF reader on arbitrary bytes. It must never crash or hang, and what
// it gives must be what the conversion can take: CP932 through and through,
// every line ended by CR LF, the body's lines starting with a tag (a line
// break inside text would read as a blank), each picture named once and
// shown; a refusal says why on one CP932 line. Any difference aborts.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "framework/Cp932.h"
#include "rtf/RtfReader.h"

namespace {

using namespace zavio;

[[noreturn]] void Fail(const char* what)
{
    std::fprintf(stderr, "rtf fuzzer: %s\n", what);
    std::abort();
}

void Check(bool ok, const char* what)
{
    if (!ok) Fail(what);
}

bool IsOneCp932Line(std::string_view text)
{
    return DecodeCp932(text).has_value() && text.find('\n') == std::string_view::npos &&
           text.find('\r') == std::string_view::npos;
}

void CheckLines(std::string_view html)
{
    Check(html.size() >= 2 && html.substr(html.size() - 2) == "\r\n", "the html does not end with CR LF");
    for (std::size_t at = html.find('\n'); at != std::string_view::npos; at = html.find('\n', at + 1))
        Check(at > 0 && html[at - 1] == '\r', "a line of the html ends without CR LF");
    for (std::size_t at = html.find('\r'); at != std::string_view::npos; at = html.find('\r', at + 1))
        Check(at + 1 < html.size() && html[at + 1] == '\n', "a lone CR in the html");

    const std::string_view start = "<div class=Section1 style='layout-grid:18.0pt'>\r\n";
    const std::size_t body = html.find(start);
    Check(body != std::string_view::npos, "the html has no Section1 division");
    for (std::size_t line = body; line < html.size();) {
        const std::size_t end = html.find("\r\n", line);
        std::string_view text = html.substr(line, end - line);
        while (!text.empty() && text[0] == ' ') text.remove_prefix(1);
        Check(text.empty() || text[0] == '<', "a line of the body starts inside text");
        line = end + 2;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view rtf(reinterpret_cast<const char*>(data), size);
    std::string why;
    const std::optional<RtfManuscript> manuscript = ReadRtfManuscript(rtf, "manual", why);
    if (!manuscript) {
        Check(!why.empty() && IsOneCp932Line(why), "a refusal without a one-line CP932 reason");
        return 0;
    }
    Check(LooksLikeRtf(rtf), "bytes that do not look like RTF were read");
    Check(DecodeCp932(manuscript->html).has_value(), "the html is not CP932");
    CheckLines(manuscript->html);
    std::set<std::string> names;
    for (const RtfPicture& picture : manuscript->pictures) {
        Check(names.insert(picture.fileName).second, "two pictures share a name");
        Check(!picture.bytes.empty(), "an empty picture");
        Check(manuscript->html.find("src=\"" + picture.fileName + "\"") != std::string::npos,
              "a picture the html does not show");
    }
    for (const std::string& line : manuscript->notShown) Check(IsOneCp932Line(line), "a note is not one CP932 line");
    return 0;
}
