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

NoteLineIndex::NoteLineIndex(const std::vector<std::string_view>& notes) : m_notes(notes)
{
    std::size_t total = 0;
    for (const std::string_view line : notes) total += line.size() + 1;
    m_joined.reserve(total);
    m_starts.reserve(notes.size() + 1);
    for (const std::string_view line : notes) {
        m_starts.push_back(m_joined.size());
        m_joined += line;
        m_joined += '\n';
    }
    m_starts.push_back(m_joined.size());

    if (m_joined.size() < kSmallBlock || m_joined.size() > std::numeric_limits<std::uint32_t>::max()) return;
    // A counting sort of the pieces at every kStride-th position, filled from
    // the last one down: each bucket's positions come out in ascending order,
    // and its end marker is moved back to its start as it fills.
    const std::size_t pieces = (m_joined.size() - kPiece) / kStride + 1;
    m_bucketStart.assign((std::size_t{1} << kBucketBits) + 1, 0);
    for (std::size_t k = 0; k < pieces; ++k) ++m_bucketStart[Bucket(m_joined.data() + k * kStride)];
    for (std::size_t b = 1; b < m_bucketStart.size(); ++b) m_bucketStart[b] += m_bucketStart[b - 1];
    // Every slot is written below: the array is not cleared first. A piece's
    // bucket is worked out again, which costs less than keeping it in memory.
    m_positions.reset(new std::uint32_t[pieces]);
    for (std::size_t k = pieces; k-- > 0;)
        m_positions[--m_bucketStart[Bucket(m_joined.data() + k * kStride)]] = static_cast<std::uint32_t>(k * kStride);
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
    if (!m_positions || what.size() < kPiece + kStride - 1) return SearchFromStart(what);
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

std::string NoteTextAfterMark(const std::vector<std::string_view>& notes, const NoteLineIndex& index,
                              std::string_view noteReference, std::string_view mark)
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
    // An occurrence of `what` at `start` holds an indexed piece at every
    // offset `o` with start + o a multiple of kStride: so the positions of
    // one piece per remainder of the offset, less that offset, meet every
    // occurrence in turn. Of each remainder's pieces the rarest is taken.
    struct Candidates {
        const std::uint32_t* next;
        const std::uint32_t* end;
        std::size_t offset;
    };
    Candidates streams[kStride];
    for (std::size_t remainder = 0; remainder < kStride; ++remainder) {
        std::size_t offset = remainder;
        std::uint32_t fewest = std::numeric_limits<std::uint32_t>::max();
        for (std::size_t o = remainder; o + kPiece <= what.size(); o += kStride) {
            const std::uint32_t b = Bucket(what.data() + o);
            const std::uint32_t count = m_bucketStart[b + 1] - m_bucketStart[b];
            if (count < fewest) {
                fewest = count;
                offset = o;
            }
        }
        const std::uint32_t b = Bucket(what.data() + offset);
        streams[remainder] = {m_positions.get() + m_bucketStart[b], m_positions.get() + m_bucketStart[b + 1], offset};
    }
    std::size_t skipBelow = 0;  // lines before this one are known not to hold it
    while (true) {
        // The lowest start either stream still offers.
        Candidates* lowest = nullptr;
        std::size_t start = 0;
        for (Candidates& stream : streams) {
            while (stream.next != stream.end && *stream.next < stream.offset) ++stream.next;
            if (stream.next == stream.end) continue;
            const std::size_t candidate = *stream.next - stream.offset;
            if (!lowest || candidate < start) {
                lowest = &stream;
                start = candidate;
            }
        }
        if (!lowest) return m_notes.size();
        ++lowest->next;
        if (start < skipBelow || start + what.size() > m_joined.size()) continue;
        if (std::memcmp(m_joined.data() + start, what.data(), what.size()) != 0) continue;
        const std::size_t line = LineAt(start);
        if (MbContains(m_notes[line], what)) return line;
        skipBelow = m_starts[line + 1];  // no match on a character boundary in this line
    }
}

}  // namespace zavio
