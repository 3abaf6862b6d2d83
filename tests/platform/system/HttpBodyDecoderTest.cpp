#include "platform/system/HttpBodyDecoder.h"

#include "tests/support/EncodedBodies.h"

#include <gtest/gtest.h>

#include <string>

using platform::system::decodeHttpBody;
using platform::system::HttpBodyDecoder;

namespace {

const std::string Plain = testsupport::priceLines(3000);

// Decodes in small pieces into a small buffer, as a transfer does when bytes arrive slowly;
// whether the body was whole.
bool piecemeal(std::string_view coding, std::string_view body, std::string& out)
{
    HttpBodyDecoder decoder(coding);
    char buffer[13];
    for (std::size_t at = 0; at <= body.size(); at += 7) {
        std::string_view piece = body.substr(at, 7);
        std::size_t produced = 0;
        do {
            decoder.decode(piece, buffer, sizeof buffer, produced);
            out.append(buffer, produced);
        } while (produced > 0);
        EXPECT_TRUE(piece.empty() || decoder.damaged());
    }
    return decoder.whole();
}

TEST(HttpBodyDecoderTest, WholeBodiesDecodeAndEnd)
{
    for (const char* coding : {"gzip", "deflate", "raw deflate"}) {
        const std::string body = testsupport::encodedBody(coding, Plain);
        const std::string header = std::string(coding) == "gzip" ? "gzip" : "deflate";
        const auto decoded = decodeHttpBody(header, body);
        EXPECT_TRUE(decoded.ended) << coding;
        EXPECT_TRUE(decoded.bytes == Plain) << coding;
        std::string pieces;
        EXPECT_TRUE(piecemeal(header, body, pieces)) << coding;
        EXPECT_TRUE(pieces == Plain) << coding;
    }
    const std::string gzip = testsupport::encodedBody("gzip", Plain);
    // Names without regard to case, an alias, identity, several codings undone in turn, a body
    // of several gzip members.
    EXPECT_TRUE(decodeHttpBody(" X-GZIP ", gzip).ended);
    EXPECT_TRUE(decodeHttpBody("identity, gzip", gzip).bytes == Plain);
    const std::string twice = testsupport::encodedBody("deflate", gzip);
    const auto chain = decodeHttpBody("gzip, deflate", twice);
    EXPECT_TRUE(chain.ended && chain.bytes == Plain);
    std::string chainPieces;
    EXPECT_TRUE(piecemeal("gzip, deflate", twice, chainPieces));
    EXPECT_TRUE(chainPieces == Plain);
    const auto members = decodeHttpBody("gzip", gzip + testsupport::encodedBody("gzip", "tail\n"));
    EXPECT_TRUE(members.ended && members.bytes == Plain + "tail\n");
    // Nothing encoded, nothing missing; a body without a coding is the body.
    EXPECT_TRUE(decodeHttpBody("gzip", "").ended);
    EXPECT_TRUE(decodeHttpBody("", "as is").ended);
    EXPECT_EQ(decodeHttpBody("", "as is").bytes, "as is");
}

TEST(HttpBodyDecoderTest, ABodyCutBeforeItsStreamEndedIsNotWhole)
{
    for (const char* coding : {"gzip", "deflate", "raw deflate"}) {
        const std::string body = testsupport::encodedBody(coding, Plain);
        const std::string header = std::string(coding) == "gzip" ? "gzip" : "deflate";
        std::vector<testsupport::CutPoint> points = testsupport::cutPoints(coding, body);
        points.push_back({"inside the header", 1});
        for (const auto& [where, length] : points) {
            const auto decoded = decodeHttpBody(header, std::string_view(body).substr(0, length));
            EXPECT_FALSE(decoded.ended) << coding << " cut " << where;
            // What did arrive decodes as the start of the list.
            EXPECT_EQ(Plain.compare(0, decoded.bytes.size(), decoded.bytes), 0)
                << coding << " cut " << where;
            std::string pieces;
            EXPECT_FALSE(piecemeal(header, body.substr(0, length), pieces))
                << coding << " cut " << where;
        }
    }
}

TEST(HttpBodyDecoderTest, DamagedBodiesAndUnknownCodingsAreNotWhole)
{
    std::string badCheck = testsupport::encodedBody("gzip", Plain);
    badCheck[badCheck.size() - 6] ^= 0x55; // the CRC-32
    EXPECT_FALSE(decodeHttpBody("gzip", badCheck).ended);
    std::string badLength = testsupport::encodedBody("gzip", Plain);
    badLength[badLength.size() - 2] ^= 0x01; // the length
    EXPECT_FALSE(decodeHttpBody("gzip", badLength).ended);
    std::string badAdler = testsupport::encodedBody("deflate", Plain);
    badAdler.back() ^= 0x01;
    EXPECT_FALSE(decodeHttpBody("deflate", badAdler).ended);
    // Bytes after the end of the stream are no part of the body.
    EXPECT_FALSE(decodeHttpBody("gzip", testsupport::encodedBody("gzip", Plain) + '\0').ended);
    EXPECT_FALSE(decodeHttpBody("deflate", testsupport::encodedBody("deflate", Plain) + "x").ended);
    // Plain text said to be gzip, and a coding this layer cannot undo.
    HttpBodyDecoder plainAsGzip("gzip");
    std::string_view text = Plain;
    char buffer[100];
    std::size_t produced = 0;
    plainAsGzip.decode(text, buffer, sizeof buffer, produced);
    EXPECT_TRUE(plainAsGzip.damaged());
    const auto unknown = decodeHttpBody("br", "\x0b\x02\x80hello\x03");
    EXPECT_FALSE(unknown.ended);
    EXPECT_TRUE(unknown.bytes.empty());
    EXPECT_TRUE(decodeHttpBody("br", "").ended);
}

} // namespace
