#include "convert/NoteLineIndex.h"

#include <string.h>

#include <algorithm>
#include <cstring>
#include <limits>

#include "framework/Cp932.h"

namespace zavio {
namespace {

constexpr std::uint32_t kBucketBits = 14;
// Below this size a search from the start costs less than the buckets.
constexpr std::size_t kSmallBlock = 64 * 1024;
// How far after the note reference the note's text may lie.
constexpr std::size_t kNoteLookAhead = 15;

}  // namespace

NoteLineIndex::NoteLineIndex(const LineList& notes) : m_notes(notes)
{
    std::size_t total = 0;
    for (const std::string& line : notes) total += line.size() + 1;
    m_joined.reserve(total);
    m_starts.reserve(notes.size() + 1);
    for (const std::string& line : notes) {
        m_starts.push_back(m_joined.size());
        m_joined += line;
        m_joined += '\n';
    }
    m_starts.push_back(m_joined.size());

    if (m_joined.size() < kSmallBlock || m_joined.size() > std::numeric_limits<std::uint32_t>::max()) return;
    // A counting sort, filled from the last position down: each bucket's
    // positions come out in ascending order, and its end marker is moved back
    // to its start as it fills.
    const std::size_t pieces = m_joined.size() - kPiece + 1;
    m_bucketStart.assign((std::size_t{1} << kBucketBits) + 1, 0);
    for (std::size_t p = 0; p < pieces; ++p) ++m_bucketStart[Bucket(m_joined.data() + p)];
    for (std::size_t b = 1; b < m_bucketStart.size(); ++b) m_bucketStart[b] += m_bucketStart[b - 1];
    // Every slot is written below: the array is not cleared first. A piece's
    // bucket is worked out again, which costs less than keeping it in memory.
    m_positions.reset(new std::uint32_t[pieces]);
    for (std::size_t p = pieces; p-- > 0;)
        m_positions[--m_bucketStart[Bucket(m_joined.data() + p)]] = static_cast<std::uint32_t>(p);
}

std::uint32_t NoteLineIndex::Bucket(const char* piece)
{
    std::uint32_t value;
    std::memcpy(&value, piece, kPiece);
    return (value * 2654435761u) >> (32 - kBucketBits);
}

std::size_t NoteLineIndex::LineAt(std::size_t position) const
{
    auto next = std::upper_bound(m_starts.begin(), m_starts.end(), position);
    return static_cast<std::size_t>(next - m_starts.begin()) - 1;
}

std::size_t NoteLineIndex::FirstLineWith(std::string_view what) const
{
    if (what.empty() || what.find('\n') != std::string_view::npos) {
        std::size_t found = 0;
        while (found < m_notes.size() && !MbContains(m_notes[found], what)) ++found;
        return found;
    }
    if (!m_positions || what.size() < kPiece) return SearchFromStart(what);
    return SearchByPieces(what);
}

std::size_t NoteLineIndex::SearchFromStart(std::string_view what) const
{
    std::size_t from = 0;
    while (true) {
        // glibc's memmem skips ahead far faster than a search that stops at
        // every byte equal to the reference's first one.
        const void* found = ::memmem(m_joined.data() + from, m_joined.size() - from, what.data(), what.size());
        if (!found) return m_notes.size();
        const std::size_t line = LineAt(static_cast<std::size_t>(static_cast<const char*>(found) - m_joined.data()));
        if (MbContains(m_notes[line], what)) return line;
        from = m_starts[line + 1];  // no match on a character boundary in this line
    }
}

std::string NoteTextAfterMark(const LineList& notes, const NoteLineIndex& index, std::string_view noteReference,
                              std::string_view mark)
{
    const std::size_t found = index.FirstLineWith(noteReference);
    if (found == notes.size()) return std::string();
    // The note's lines: tags, its mark, more tags, then its text.
    bool markSeen = false;
    for (std::size_t i = found + 1; i <= found + kNoteLookAhead && i < notes.size(); ++i) {
        const std::string_view line = TrimRightView(TrimLeftView(notes[i]));
        if (line.empty() || line == "&nbsp;") continue;
        if (line == mark) {
            markSeen = true;
        } else if (markSeen && line[0] != '<') {
            return std::string(line);
        }
    }
    return std::string();
}

std::size_t NoteLineIndex::SearchByPieces(std::string_view what) const
{
    // Every occurrence of `what` holds each of its pieces, so the positions of
    // the rarest one, in ascending order, meet every occurrence in turn.
    std::size_t offset = 0;
    std::uint32_t fewest = std::numeric_limits<std::uint32_t>::max();
    for (std::size_t o = 0; o + kPiece <= what.size(); ++o) {
        const std::uint32_t b = Bucket(what.data() + o);
        const std::uint32_t count = m_bucketStart[b + 1] - m_bucketStart[b];
        if (count < fewest) {
            fewest = count;
            offset = o;
        }
    }
    const std::uint32_t b = Bucket(what.data() + offset);
    std::size_t skipBelow = 0;  // lines before this one are known not to hold it
    for (std::uint32_t k = m_bucketStart[b]; k < m_bucketStart[b + 1]; ++k) {
        const std::size_t position = m_positions[k];
        if (position < offset) continue;
        const std::size_t start = position - offset;
        if (start < skipBelow || start + what.size() > m_joined.size()) continue;
        if (std::memcmp(m_joined.data() + start, what.data(), what.size()) != 0) continue;
        const std::size_t line = LineAt(start);
        if (MbContains(m_notes[line], what)) return line;
        skipBelow = m_starts[line + 1];  // no match on a character boundary in this line
    }
    return m_notes.size();
}

}  // namespace zavio
