#include "Crypto.h"

#include "MessageLog.h"

#include <cerrno>
#include <openssl/err.h>
#include <openssl/evp.h>

namespace {

int LastError()
{
    return static_cast<int>(ERR_peek_last_error() & 0x7FFFFFFF);
}

} // namespace

bool CCrypto::Create()
{
    Release();
    m_pContext = EVP_MD_CTX_new();
    if (!m_pContext) {
        g_messageLog.Log(LOG_ERROR, "failed to acquire crypt. last error: %d", LastError());
        return false;
    }
    if (EVP_DigestInit_ex(m_pContext, EVP_sha256(), nullptr) != 1) {
        g_messageLog.Log(LOG_ERROR, "Error during CryptBeginHash!.");
        EVP_MD_CTX_free(m_pContext);
        m_pContext = nullptr;
        return false;
    }
    m_bCreated = true;
    m_bFinalised = false;
    return true;
}

bool CCrypto::AddData(const void* data, size_t length)
{
    if (!m_bCreated) {
        g_messageLog.Log(LOG_ERROR, "CCrypto::AddData: Object was not created.");
        return false;
    }
    if (m_bFinalised) {
        g_messageLog.Log(LOG_ERROR, "CCrypto::AddData: Object has been finalized.");
        return false;
    }
    if (EVP_DigestUpdate(m_pContext, data, length) != 1) {
        // The caller reports the system's error after this line.
        const int error = errno;
        g_messageLog.Log(LOG_ERROR, "CCrypto::AddData: fail to crypt data, error: %d", LastError());
        errno = error;
        return false;
    }
    return true;
}

void CCrypto::CreateDigest()
{
    if (!m_bCreated) {
        g_messageLog.Log(LOG_ERROR, "CCrypto::CreateDigest: Is not created.");
        return;
    }
    if (m_bFinalised)
        return;
    const int size = EVP_MD_CTX_get_size(m_pContext);
    if (size <= 0) {
        g_messageLog.Log(LOG_ERROR, "CCrypt::GetDigest: Failed to get hash size.");
        return;
    }
    m_digest.Resize(size);
    unsigned int written = 0;
    if (!m_digest.IsValid() || EVP_DigestFinal_ex(m_pContext, m_digest.GetData(), &written) != 1) {
        g_messageLog.Log(LOG_ERROR, "CCrypt::GetDigest: Failed to get hash code.");
        m_digest.Free();
        return;
    }
    m_bFinalised = true;
}

void CCrypto::Release()
{
    if (m_bCreated || m_pContext) {
        EVP_MD_CTX_free(m_pContext);
        m_pContext = nullptr;
        m_bCreated = false;
    }
    m_bFinalised = false;
    m_digest.Free();
}
