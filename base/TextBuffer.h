// One buffer between a writer of much small text (a million CSV rows) and
// its stream: pieces are appended in memory and written in large blocks,
// numbers go straight into the buffer without a string each.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <iosfwd>
#include <string_view>

#include "base/Numbers.h"

class CTextBuffer {
public:
    explicit CTextBuffer(std::ostream& out) : m_out(out) {}
    ~CTextBuffer() { Flush(); }
    CTextBuffer(const CTextBuffer&) = delete;
    CTextBuffer& operator=(const CTextBuffer&) = delete;

    void Append(std::string_view text) {
        if (text.size() > kSize - m_nUsed) return AppendLong(text);
        std::memcpy(m_buffer + m_nUsed, text.data(), text.size());
        m_nUsed += text.size();
    }
    void Append(char c) {
        if (m_nUsed == kSize) Flush();
        m_buffer[m_nUsed++] = c;
    }
    // Shortest round-trip text, as FormatRoundTrip writes it.
    void AppendRoundTrip(double value) {
        Reserve(kRoundTripChars);
        m_nUsed = static_cast<size_t>(WriteRoundTrip(value, m_buffer + m_nUsed) - m_buffer);
    }
    void AppendInteger(int64_t value);
    // Writes what is buffered to the stream.
    void Flush();

private:
    static constexpr size_t kSize = size_t{1} << 16;
    void Reserve(size_t n) {
        if (kSize - m_nUsed < n) Flush();
    }
    void AppendLong(std::string_view text);

    std::ostream& m_out;
    size_t m_nUsed = 0;
    char m_buffer[kSize];
};
