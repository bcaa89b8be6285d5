// The buffered text writer's slow paths.
#include "base/TextBuffer.h"

#include <charconv>
#include <ostream>

void CTextBuffer::AppendInteger(int64_t value) {
    Reserve(24);
    m_nUsed = static_cast<size_t>(std::to_chars(m_buffer + m_nUsed, m_buffer + kSize, value).ptr - m_buffer);
}

void CTextBuffer::Flush() {
    if (m_nUsed == 0) return;
    m_out.write(m_buffer, static_cast<std::streamsize>(m_nUsed));
    m_nUsed = 0;
}

void CTextBuffer::AppendLong(std::string_view text) {
    Flush();
    if (text.size() >= kSize) {
        m_out.write(text.data(), static_cast<std::streamsize>(text.size()));
        return;
    }
    std::memcpy(m_buffer, text.data(), text.size());
    m_nUsed = text.size();
}
