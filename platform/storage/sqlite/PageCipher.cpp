#include "platform/storage/sqlite/PageCipher.h"

#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>

#include <cstring>
#include <fstream>
#include <memory>
#include <vector>

namespace platform::storage::sqlite {

namespace {

constexpr int KeyIterations = 64000;
constexpr int HmacKeyIterations = 2;
constexpr unsigned char HmacSaltMask = 0x3a;
constexpr std::size_t IvSize = 16;
constexpr std::size_t HmacSize = 20;
constexpr char Signature[] = "SQLite format 3";

const unsigned char* bytes(const std::byte* at) { return reinterpret_cast<const unsigned char*>(at); }

} // namespace

PageCipher::PageCipher(const std::string& password, const std::byte* salt)
{
    PKCS5_PBKDF2_HMAC_SHA1(password.data(), static_cast<int>(password.size()), bytes(salt),
                           static_cast<int>(SaltSize), KeyIterations,
                           static_cast<int>(m_key.size()), m_key.data());
    unsigned char hmacSalt[SaltSize];
    for (std::size_t i = 0; i < SaltSize; ++i)
        hmacSalt[i] = bytes(salt)[i] ^ HmacSaltMask;
    PKCS5_PBKDF2_HMAC_SHA1(reinterpret_cast<const char*>(m_key.data()),
                           static_cast<int>(m_key.size()), hmacSalt, static_cast<int>(SaltSize),
                           HmacKeyIterations, static_cast<int>(m_hmacKey.size()),
                           m_hmacKey.data());
}

bool PageCipher::decipher(uint32_t number, std::byte* page) const
{
    // Page 1's salt stands where the header's signature goes, outside the enciphered part.
    const std::size_t offset = number == 1 ? SaltSize : 0;
    unsigned char* in = reinterpret_cast<unsigned char*>(page) + offset;
    const std::size_t size = PageSize - offset - Reserved;
    const unsigned char* iv = in + size;
    const unsigned char* stored = iv + IvSize;

    // The HMAC covers the enciphered bytes and the IV, then the page number (little-endian).
    unsigned char signed_[PageSize + 4];
    std::memcpy(signed_, in, size + IvSize);
    for (std::size_t i = 0; i < 4; ++i)
        signed_[size + IvSize + i] = static_cast<unsigned char>(number >> (8 * i));
    unsigned char mac[EVP_MAX_MD_SIZE];
    unsigned int macSize = 0;
    if (!HMAC(EVP_sha1(), m_hmacKey.data(), static_cast<int>(m_hmacKey.size()), signed_,
              size + IvSize + 4, mac, &macSize)
        || macSize != HmacSize || CRYPTO_memcmp(mac, stored, HmacSize) != 0)
        return false;

    std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> cipher(EVP_CIPHER_CTX_new(),
                                                                            &EVP_CIPHER_CTX_free);
    unsigned char plain[PageSize];
    int written = 0;
    int last = 0;
    if (!cipher
        || !EVP_DecryptInit_ex(cipher.get(), EVP_aes_256_cbc(), nullptr, m_key.data(), iv)
        || !EVP_CIPHER_CTX_set_padding(cipher.get(), 0)
        || !EVP_DecryptUpdate(cipher.get(), plain, &written, in, static_cast<int>(size))
        || !EVP_DecryptFinal_ex(cipher.get(), plain + written, &last)
        || static_cast<std::size_t>(written + last) != size)
        return false;
    std::memcpy(in, plain, size);
    if (number == 1)
        std::memcpy(page, Signature, SaltSize); // with its closing zero
    return true;
}

PageCheck checkPages(const std::string& path, const std::string& password)
{
    std::ifstream file(path, std::ios::binary);
    std::vector<char> page(PageCipher::PageSize);
    if (!file.read(page.data(), static_cast<std::streamsize>(page.size())))
        return PageCheck::NonePass;
    const PageCipher cipher(password, reinterpret_cast<const std::byte*>(page.data()));
    bool passed = false;
    bool failed = false;
    const auto size = static_cast<std::streamsize>(page.size());
    for (uint32_t number = 1;; ++number) {
        if (number > 1) {
            file.read(page.data(), size);
            if (file.gcount() == 0)
                break;
            if (file.gcount() != size) {
                failed = true; // a page cut short
                break;
            }
        }
        if (cipher.decipher(number, reinterpret_cast<std::byte*>(page.data())))
            passed = true;
        else
            failed = true;
    }
    return !passed ? PageCheck::NonePass : failed ? PageCheck::SomePass : PageCheck::AllPass;
}

} // namespace platform::storage::sqlite
