#pragma once

// The holder's photo as text for the JSON documents: the bitmap file's bytes in Base64.

#include <istream>
#include <ostream>
#include <string>

namespace zir::core {

// Reads in from its current position to its end in blocks of 510 bytes and appends the Base64
// text (RFC 4648 alphabet, "=" padding) to out, in lines of 76 characters, each full line
// followed by CR LF, the last one included.
void Base64EncodeStream(std::istream& in, std::ostream& out);

// The whole file as one line of Base64 text. The file is read while others may read but not
// write it. Throws std::runtime_error when it cannot be opened or read; never returns a
// partial text.
std::string PhotoFileToBase64(const std::string& path);

} // namespace zir::core
