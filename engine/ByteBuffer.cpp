#include "ByteBuffer.h"

#include <cstring>
#include <new>
#include <utility>

CByteBuffer::CByteBuffer(const CByteBuffer& other)
{
    *this = other;
}

CByteBuffer& CByteBuffer::operator=(const CByteBuffer& other)
{
    if (this == &other)
        return *this;
    Resize(other.m_iSize);
    if (m_bValid && other.m_bValid)
        std::memcpy(m_pData.get(), other.m_pData.get(), static_cast<size_t>(m_iSize));
    return *this;
}

CByteBuffer::CByteBuffer(CByteBuffer&& other) noexcept
    : m_iSize(other.m_iSize), m_pData(std::move(other.m_pData)), m_bValid(other.m_bValid)
{
    other.m_iSize = 0;
    other.m_bValid = false;
}

CByteBuffer& CByteBuffer::operator=(CByteBuffer&& other) noexcept
{
    if (this != &other) {
        m_iSize = other.m_iSize;
        m_pData = std::move(other.m_pData);
        m_bValid = other.m_bValid;
        other.m_iSize = 0;
        other.m_bValid = false;
    }
    return *this;
}

void CByteBuffer::Resize(int n)
{
    if (n <= 0) {
        Free();
        return;
    }
    if (n == m_iSize && m_bValid)
        return;
    Free();
    m_pData.reset(new (std::nothrow) uint8_t[static_cast<size_t>(n)]);
    m_bValid = m_pData != nullptr;
    m_iSize = m_bValid ? n : 0;
}

void CByteBuffer::Free()
{
    m_pData.reset();
    m_iSize = 0;
    m_bValid = false;
}

void CByteBuffer::FromHex(std::string_view text)
{
    const auto worth = [](char c) {
        const int code = static_cast<unsigned char>(c);
        if (code >= 'A' && code <= 'F')
            return code - 'A' + 10;
        return code < 'a' ? code - '0' : code - 87;
    };
    const size_t count = text.size() / 2;
    if (count > static_cast<size_t>(INT32_MAX)) {
        Free();
        return;
    }
    Resize(static_cast<int>(count));
    if (!m_bValid)
        return;
    for (size_t i = 0; i < count; ++i)
        m_pData[i] = static_cast<uint8_t>((16 * worth(text[2 * i]) + worth(text[2 * i + 1])) & 0xFF);
}

std::string CByteBuffer::ToHex() const
{
    static const char digits[] = "0123456789abcdef";
    std::string text;
    if (!m_bValid)
        return text;
    text.reserve(static_cast<size_t>(m_iSize) * 2);
    for (int i = 0; i < m_iSize; ++i) {
        text += digits[m_pData[i] >> 4];
        text += digits[m_pData[i] & 0x0F];
    }
    return text;
}

bool CByteBuffer::IsEqual(const CByteBuffer& other) const
{
    return m_bValid && other.m_bValid && m_iSize == other.m_iSize &&
           std::memcmp(m_pData.get(), other.m_pData.get(), static_cast<size_t>(m_iSize)) == 0;
}
