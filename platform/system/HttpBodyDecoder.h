#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// Undoes the content codings of an HTTP body (Content-Encoding) as its bytes arrive: gzip
// (x-gzip), deflate (zlib-wrapped or raw) and identity, one or several in the order the server
// applied them. A body is whole only when the stream of every coding ended: gzip with its
// final block, CRC-32 and length, deflate with its final block (and the Adler-32 of a zlib
// wrapping). A length that was met says nothing about that: a body cut short and announced
// with the cut length decodes to a fragment that only the missing end of stream betrays.
namespace platform::system {

class HttpBodyDecoder
{
public:
    // An unknown coding leaves the body undecodable: its first byte makes it damaged.
    explicit HttpBodyDecoder(std::string_view contentEncoding);
    ~HttpBodyDecoder();
    HttpBodyDecoder(HttpBodyDecoder&&) noexcept;
    HttpBodyDecoder& operator=(HttpBodyDecoder&&) noexcept;

    // Takes what it can of input (the view is advanced past it) and writes at most outputSize
    // decoded bytes. produced is 0 only when it needs more input, the body ended or it is
    // damaged.
    void decode(std::string_view& input, char* output, std::size_t outputSize,
                std::size_t& produced);

    // The bytes are not a body of these codings (bad data, a check that failed, bytes after
    // the end, an unknown coding); nothing more is decoded.
    bool damaged() const { return m_damaged; }
    // Once the last byte was given: every stream ended and nothing followed. A body with no
    // bytes at all is whole (nothing was encoded).
    bool whole() const;

private:
    class Stage;

    std::vector<std::unique_ptr<Stage>> m_stages; // in decoding order: the last coding first
    std::vector<std::string> m_between;           // output of stage i waiting for stage i + 1
    bool m_damaged = false;
};

struct DecodedHttpBody
{
    std::string bytes;  // decoded as far as the data allowed
    bool ended = false; // the body is whole
};

// The whole body at once: what the transfer does piece by piece.
DecodedHttpBody decodeHttpBody(std::string_view contentEncoding, std::string_view body);

} // namespace platform::system
