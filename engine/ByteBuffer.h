#pragma once
// A small owned byte array holding a digest (the data fingerprint), with the hexadecimal
// text form in which the settings file stores it. Copying a buffer copies its bytes.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class CByteBuffer
{
public:
    CByteBuffer() = default;
    CByteBuffer(const CByteBuffer& other);
    CByteBuffer& operator=(const CByteBuffer& other);
    CByteBuffer(CByteBuffer&& other) noexcept;
    CByteBuffer& operator=(CByteBuffer&& other) noexcept;
    ~CByteBuffer() = default;

    // Reallocates when n differs from the size (contents undefined); n <= 0 frees. A failed
    // allocation leaves the buffer empty and not valid.
    void Resize(int n);
    void Free();

    // Two hexadecimal digits per byte, high nibble first; a trailing odd character is
    // ignored. Upper-case digits read as lower-case ones.
    void FromHex(std::string_view text);
    // Lower-case hexadecimal, empty for an empty buffer.
    std::string ToHex() const;

    // Same bytes, and this buffer valid (an empty buffer matches nothing).
    bool IsEqual(const CByteBuffer& other) const;

    int GetSize() const { return m_iSize; }
    bool IsValid() const { return m_bValid; }
    uint8_t* GetData() { return m_pData.get(); }
    const uint8_t* GetData() const { return m_pData.get(); }

private:
    int m_iSize = 0;
    std::unique_ptr<uint8_t[]> m_pData;
    bool m_bValid = false;
};
