// Finding the first note line that holds a note reference, once per page of a
// manuscript, without reading the note block from its start each time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/TextFile.h"

namespace zavio {

// The note lines joined by line feeds, with where each line starts, and for a
// large block the positions of the 4-byte pieces at every second byte sorted
// into buckets by a hash of the piece. A reference is then looked for only
// where its rarest pieces occur; a small block, or a reference too short to
// hold a piece at either parity, is searched from the start.
class NoteLineIndex {
public:
    // The lines must stay as they are while the index is used.
    explicit NoteLineIndex(const std::vector<std::string_view>& notes);

    // The first line holding `what` where one of its characters begins; the
    // line count when none does.
    std::size_t FirstLineWith(std::string_view what) const;

private:
    static constexpr std::size_t kPiece = 4;
    // Pieces are indexed at every second position: half the work of building
    // the index, for a reference of at least kPiece + kStride - 1 bytes.
    static constexpr std::size_t kStride = 2;

    static std::uint32_t Bucket(const char* piece);
    std::size_t LineAt(std::size_t position) const;
    std::size_t SearchFromStart(std::string_view what) const;
    std::size_t SearchByPieces(std::string_view what) const;

    const std::vector<std::string_view>& m_notes;
    std::string m_joined;
    std::vector<std::size_t> m_starts;
    std::vector<std::uint32_t> m_bucketStart;      // positions of bucket b: [m_bucketStart[b], m_bucketStart[b + 1])
    std::unique_ptr<std::uint32_t[]> m_positions;  // none for a small block
};

// The text a note gives after its mark ("#" for the topic name): from the first note line that holds the reference, the
// first of the next 15 lines that follows the mark's line and does not begin with "<", trimmed; the empty string when
// there is none. Lines are trimmed before they are compared; empty lines and "&nbsp;" are passed over.
std::string NoteTextAfterMark(const std::vector<std::string_view>& notes, const NoteLineIndex& index,
                              std::string_view noteReference, std::string_view mark);

}  // namespace zavio
