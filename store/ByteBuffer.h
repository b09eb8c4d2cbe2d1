#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

// Bytes in one block of memory, left as they are when it is made or grows (not zeroed). A block
// of megabytes is filled by few page faults where the system gives huge pages on request (Linux
// with transparent huge pages set to "madvise" or "always"): a 20 MB data file is otherwise
// 5,000 faults, on a virtual machine the larger part of reading it. Moves keep the bytes where
// they are.
class ByteBuffer {
public:
    ByteBuffer() = default;
    explicit ByteBuffer(size_t size) { Resize(size); }

    char* data() { return m_data.get(); }
    const char* data() const { return m_data.get(); }
    size_t size() const { return m_size; }
    std::string_view View() const { return {m_data.get(), m_size}; }

    // Keeps the first min(size, size()) bytes; the bytes beyond them are undefined until written.
    void Resize(size_t size);

private:
    struct Free {
        void operator()(char* data) const;
    };

    std::unique_ptr<char, Free> m_data;
    size_t m_size = 0;
    size_t m_capacity = 0;
};
