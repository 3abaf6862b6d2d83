#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

// The page enciphering of the storage engine's owner-password files, done outside the engine
// so that the pages of a damaged file can still be read one by one. Each page is AES-256-CBC
// under a key derived from the password and the file's salt (its first 16 bytes), and carries
// its IV and an HMAC-SHA1 of the enciphered bytes and the page number in its last 48 bytes.
namespace platform::storage::sqlite {

class PageCipher
{
public:
    static constexpr std::size_t PageSize = 1024;
    static constexpr std::size_t Reserved = 48;
    static constexpr std::size_t SaltSize = 16;

    PageCipher(const std::string& password, const std::byte* salt);

    // Deciphers page number (from 1) in place; false when its HMAC does not hold (damaged, or
    // not enciphered under this password and salt). Page 1 gets the plain file header's
    // signature in place of the salt.
    bool decipher(uint32_t number, std::byte* page) const;

private:
    std::array<unsigned char, 32> m_key{};
    std::array<unsigned char, 32> m_hmacKey{};
};

// How the pages of an enciphered file pass their check under a password: every one, only
// some (the password is right and the others are damaged), or none (the wrong password, or
// the first page with its salt damaged: the two cannot be told apart).
enum class PageCheck { AllPass, SomePass, NonePass };
PageCheck checkPages(const std::string& path, const std::string& password);

} // namespace platform::storage::sqlite
