#pragma once
// SHA-256 digest of data fed in pieces, on OpenSSL's EVP interface.

#include "ByteBuffer.h"

#include <cstddef>

struct evp_md_ctx_st;

class CCrypto
{
public:
    CCrypto() = default;
    ~CCrypto() { Release(); }
    CCrypto(const CCrypto&) = delete;
    CCrypto& operator=(const CCrypto&) = delete;

    bool Create();
    bool AddData(const void* data, size_t length);
    void CreateDigest();
    void Release();

    const CByteBuffer& GetDigest() const { return m_digest; }

private:
    bool m_bCreated = false;
    bool m_bFinalised = false;
    CByteBuffer m_digest;
    evp_md_ctx_st* m_pContext = nullptr;
};
