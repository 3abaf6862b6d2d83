#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// HTTP bodies encoded as servers send them, and the places where a cut one may end.
namespace testsupport {

// coding: "gzip", "deflate" (zlib-wrapped) or "raw deflate" (deflate without a wrapping, as
// some servers send "deflate").
std::string encodedBody(std::string_view coding, std::string_view plain);

struct CutPoint
{
    std::string where; // "inside a block", "before the trailer", "inside the trailer"
    std::size_t length;
};
// Lengths at which the encoded body lacks the end of its stream; a raw deflate stream has no
// trailer, so it is cut inside its blocks only.
std::vector<CutPoint> cutPoints(std::string_view coding, const std::string& encoded);

// Lines that do not repeat, so that the encoded body spans several deflate blocks.
std::string priceLines(int count);

} // namespace testsupport
