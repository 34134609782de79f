#include "convert/PagesAhead.h"

namespace zavio {

PagesAhead::PagesAhead(std::size_t pages) : m_state(new std::atomic<std::uint8_t>[pages]), m_files(pages)
{
    for (std::size_t k = 0; k < pages; ++k) m_state[k].store(kFree, std::memory_order_relaxed);
}

bool PagesAhead::TakeAhead(std::size_t k)
{
    std::uint8_t free = kFree;
    return m_state[k].compare_exchange_strong(free, kHelper, std::memory_order_acquire);
}

void PagesAhead::Prepared(std::size_t k, std::optional<PreparedFile> file)
{
    if (file) m_held.fetch_add(1, std::memory_order_relaxed);
    m_files[k] = std::move(file);
    m_state[k].store(kReady, std::memory_order_release);
    m_state[k].notify_one();
}

void PagesAhead::WaitForRoom(std::size_t limit)
{
    for (std::size_t held = m_held.load(std::memory_order_acquire); (held & ~kStopped) >= limit && !(held & kStopped);
         held = m_held.load(std::memory_order_acquire))
        m_held.wait(held, std::memory_order_acquire);
}

std::optional<PreparedFile> PagesAhead::TakeForWriting(std::size_t k)
{
    std::uint8_t state = kFree;
    if (m_state[k].compare_exchange_strong(state, kWriter, std::memory_order_acquire)) return std::nullopt;
    while (state == kHelper) {
        m_state[k].wait(kHelper, std::memory_order_acquire);
        state = m_state[k].load(std::memory_order_acquire);
    }
    std::optional<PreparedFile> file = std::move(m_files[k]);
    if (file) {
        m_held.fetch_sub(1, std::memory_order_release);
        m_held.notify_one();
    }
    return file;
}

void PagesAhead::Stop()
{
    m_held.fetch_or(kStopped, std::memory_order_release);
    m_held.notify_all();
}

}  // namespace zavio
