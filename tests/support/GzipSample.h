#pragma once

#include <string>

namespace testsupport {

// A two-line price list and the same bytes gzip-encoded, as a server may send them.
inline const std::string GzipSamplePlain = "1;;A;;1;10;Bosch;;;G\n2;;B;;1;20;Mann;;;G\n";
inline const std::string GzipSampleEncoded(
    "\x1f\x8b\x08\x00\x00\x00\x00\x00\x02\x03\x33\xb4\xb6\x76\xb4\xb6\x36\xb4\x36\x34\xb0\x76"
    "\xca\x2f\x4e\xce\xb0\xb6\xb6\x76\xe7\x32\xb2\xb6\x76\x02\x09\x1a\x19\x58\xfb\x26\xe6\xe5"
    "\x81\xc5\x00\x5e\x23\xee\x02\x29\x00\x00\x00",
    55);

} // namespace testsupport
