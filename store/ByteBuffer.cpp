#include "ByteBuffer.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

#ifdef __linux__
#include <sys/mman.h>
#endif

namespace {

// The size of a huge page on x86-64 and most other Linux systems; a smaller block gains nothing.
constexpr size_t HugePageSize = size_t{2} << 20;

char* Allocate(size_t capacity)
{
    if (capacity == 0)
        return nullptr;
#ifdef __linux__
    if (capacity >= HugePageSize) {
        // aligned_alloc wants a multiple of the alignment.
        const size_t rounded = (capacity + HugePageSize - 1) / HugePageSize * HugePageSize;
        if (void* block = std::aligned_alloc(HugePageSize, rounded)) {
            // Only advice: without huge pages the block works the same.
            ::madvise(block, rounded, MADV_HUGEPAGE);
            return static_cast<char*>(block);
        }
    }
#endif
    if (void* block = std::malloc(capacity))
        return static_cast<char*>(block);
    throw std::bad_alloc();
}

} // namespace

void ByteBuffer::Free::operator()(char* data) const
{
    std::free(data);
}

void ByteBuffer::Resize(size_t size)
{
    if (size <= m_capacity) {
        m_size = size;
        return;
    }
    // Growing by half again at least: a text read in pieces is copied a few times, not once a piece.
    const size_t capacity = m_capacity == 0 ? size : std::max(size, m_capacity + m_capacity / 2);
    std::unique_ptr<char, Free> grown(Allocate(capacity));
    if (m_size > 0)
        std::memcpy(grown.get(), m_data.get(), m_size);
    m_data = std::move(grown);
    m_size = size;
    m_capacity = capacity;
}
