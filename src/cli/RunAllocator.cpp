// zavio-convert's operator new and delete. A conversion makes and drops a
// small string per line of every manuscript, hundreds of thousands of them,
// a few sizes over and over. glibc keeps only seven freed blocks of a size at
// hand and files the rest into its bins, merging them again whenever a large
// block is asked for: a quarter of a conversion's instructions went there.
// Here a small block that is given back waits on the list of its size until
// a block of that size is asked for again; nothing else changes. Every block
// still comes from malloc, so one given back without its size (or never) is
// simply freed. The converter runs on one thread.
#include <cstddef>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kGranule = 16;   // the alignment operator new promises
constexpr std::size_t kLargest = 512;  // a line of text; larger blocks are malloc's
constexpr std::size_t kClasses = kLargest / kGranule + 1;

struct FreeBlock {
    FreeBlock* next;
};

FreeBlock* g_free[kClasses];

constexpr std::size_t ClassOf(std::size_t size)
{
    return (size + kGranule - 1) / kGranule;
}

}  // namespace

void* operator new(std::size_t size)
{
    if (size <= kLargest) {
        const std::size_t c = ClassOf(size);
        if (FreeBlock* block = g_free[c]) {
            g_free[c] = block->next;
            return block;
        }
        // Room for any block of the class, so that the block serves it again.
        size = c == 0 ? kGranule : c * kGranule;
    }
    if (void* block = std::malloc(size)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block, std::size_t size) noexcept
{
    if (!block) return;
    if (size > kLargest) {
        std::free(block);
        return;
    }
    FreeBlock* freed = static_cast<FreeBlock*>(block);
    const std::size_t c = ClassOf(size);
    freed->next = g_free[c];
    g_free[c] = freed;
}

void operator delete(void* block) noexcept
{
    std::free(block);
}
