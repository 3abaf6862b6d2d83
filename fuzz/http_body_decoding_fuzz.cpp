// An HTTP body's content codings undone as the transfer undoes them, piece by piece, and all at
// once: both must give the same bytes and agree on whether the body is whole.
#include "fuzz/support/FuzzCheck.h"
#include "platform/system/HttpBodyDecoder.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

using fuzzsupport::require;
using platform::system::HttpBodyDecoder;

namespace {

// The first byte chooses the Content-Encoding a server announced.
constexpr std::array<std::string_view, 8> Codings = {
    "gzip", "deflate", "x-gzip", "identity", "gzip, deflate", "deflate, gzip", "br", ""};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const std::string_view coding = Codings[data[0] % Codings.size()];
    // The second byte sets the size of the pieces the body arrives in and of the buffer the
    // reader offers, as the network and the 40000-byte reads would.
    const std::size_t piece = 1 + data[1] % 64;
    const std::size_t room = 1 + (data[1] >> 3);
    const std::string_view body(reinterpret_cast<const char*>(data) + 2, size - 2);

    HttpBodyDecoder decoder(coding);
    std::string pieces;
    std::string buffer(room, '\0');
    for (std::size_t at = 0; at < body.size() && !decoder.damaged(); at += piece) {
        std::string_view input = body.substr(at, piece);
        std::size_t produced = 0;
        do {
            decoder.decode(input, buffer.data(), buffer.size(), produced);
            require(produced <= buffer.size(), "a read writes no more than its buffer");
            pieces.append(buffer.data(), produced);
        } while (produced > 0 || (!input.empty() && !decoder.damaged()));
    }
    // Whatever the codings still hold once the last byte arrived.
    std::string_view rest;
    std::size_t produced = 0;
    do {
        decoder.decode(rest, buffer.data(), buffer.size(), produced);
        pieces.append(buffer.data(), produced);
    } while (produced > 0);

    const auto whole = platform::system::decodeHttpBody(coding, body);
    require(decoder.whole() == whole.ended, "pieces and the whole body agree on the end");
    require(!whole.ended || pieces == whole.bytes, "a whole body decodes to the same bytes");
    require(!(whole.ended && decoder.damaged()), "a damaged body is never whole");
    return 0;
}
