// A manuscript's page files, written ahead of their turn by a helper thread
// while the run's own thread writes the pages in order. The helper writes a
// file's bytes where no name leads to them yet; the run's thread gives each
// its name in turn, so the files appear, are listed and are said in order,
// and a run that stops leaves none of the helper's files behind. Each page
// is taken once, by whichever thread comes to it first; the run's thread
// waits only for a page the helper is writing.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "framework/FileSystem.h"

namespace zavio {

class PagesAhead {
public:
    explicit PagesAhead(std::size_t pages);

    std::size_t size() const { return m_files.size(); }

    // The helper's, for page `k` in writing order: false where the run's
    // thread took it first. A page taken must be handed back by Prepared.
    bool TakeAhead(std::size_t k);
    // The page's bytes, written or not (nullopt: the run's thread writes them).
    void Prepared(std::size_t k, std::optional<PreparedFile> file);
    // Files prepared and not yet taken for writing: each holds a descriptor.
    std::size_t Held() const { return m_held.load(std::memory_order_acquire); }
    // Waits while `limit` files or more are held, or until Stop.
    void WaitForRoom(std::size_t limit);

    // The run's thread's, in writing order: the file the helper prepared for
    // page `k`, waiting while it writes it; nullopt where it took none.
    std::optional<PreparedFile> TakeForWriting(std::size_t k);

    // The helper is to stop waiting for room.
    void Stop();

private:
    enum State : std::uint8_t { kFree, kWriter, kHelper, kReady };

    std::unique_ptr<std::atomic<std::uint8_t>[]> m_state;
    std::vector<std::optional<PreparedFile>> m_files;
    // Files held, in its low bits; kStopped once the helper must not wait.
    std::atomic<std::size_t> m_held{0};
    static constexpr std::size_t kStopped = std::size_t{1} << (sizeof(std::size_t) * 8 - 1);
};

}  // namespace zavio
