#include "tests/support/EncodedBodies.h"

#include <zlib.h>

#include <stdexcept>

namespace testsupport {

std::string encodedBody(std::string_view coding, std::string_view plain)
{
    const int windowBits = coding == "gzip" ? 15 + 16 : coding == "deflate" ? 15 : -15;
    z_stream stream{};
    if (deflateInit2(&stream, 6, Z_DEFLATED, windowBits, 8, Z_DEFAULT_STRATEGY) != Z_OK)
        throw std::runtime_error("deflateInit2");
    std::string encoded(deflateBound(&stream, static_cast<uLong>(plain.size())), '\0');
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(plain.data()));
    stream.avail_in = static_cast<uInt>(plain.size());
    stream.next_out = reinterpret_cast<Bytef*>(encoded.data());
    stream.avail_out = static_cast<uInt>(encoded.size());
    const int result = deflate(&stream, Z_FINISH);
    encoded.resize(stream.total_out);
    deflateEnd(&stream);
    if (result != Z_STREAM_END)
        throw std::runtime_error("deflate");
    return encoded;
}

std::vector<CutPoint> cutPoints(std::string_view coding, const std::string& encoded)
{
    const std::size_t trailer = coding == "gzip" ? 8 : coding == "deflate" ? 4 : 0;
    std::vector<CutPoint> points{{"inside a block", encoded.size() / 2}};
    if (trailer == 0) {
        points.push_back({"inside the last block", encoded.size() - 1});
        return points;
    }
    points.push_back({"before the trailer", encoded.size() - trailer});
    points.push_back({"inside the trailer", encoded.size() - trailer / 2});
    return points;
}

std::string priceLines(int count)
{
    std::string lines;
    unsigned seed = 12345;
    for (int i = 1; i <= count; ++i) {
        seed = seed * 1103515245u + 12345u;
        lines += std::to_string(i) + ";D-" + std::to_string(seed % 99991) + ";Name " +
                 std::to_string(seed % 773) + ";;1;" + std::to_string(seed % 5000) +
                 ".25;Maker" + std::to_string(seed % 37) + ";;0.5;Group\n";
    }
    return lines;
}

} // namespace testsupport
