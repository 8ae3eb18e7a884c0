#pragma once
// The token protocol's bytes: building a request datagram, reading a response into its
// result code and fields, and deciding what a response means for the request it answers.

#include <cstddef>
#include <cstdint>

#include "token/TokenEvent.h"

namespace Token {

class ByteBuffer;
class FieldTable;

// Writes the request text of kind (with hostName for logins, token for checks) and its
// "Seq:" line into the emptied buffer. False when the buffer refused the bytes.
bool FormatRequest(ByteBuffer& out, std::int32_t kind, const char* hostName, const char* token,
                   std::int32_t seq);

// The bare logout the session sends when it closes while logged in.
extern const char kBareLogout[];
const std::size_t kBareLogoutSize = 8;

// Reads the response in data[0 .. size), which must be followed by a writable terminator
// byte; cuts the bytes into lines and fills fields. Returns false when the datagram is to
// be ignored: no result line, no number on it, or no "seq" equal to expectedSeq.
bool ReadResponse(char* data, std::size_t size, std::int32_t expectedSeq, FieldTable& fields,
                  std::int32_t* result);

struct Decision {
    std::int32_t result;
    char token[kTokenSize];  // zero-padded; set for kinds 3 and 4 with result 0
    std::int32_t value;
};

// The final result of an accepted, non-4 response to a request of kind.
Decision DecideResult(std::int32_t kind, std::int32_t result, const FieldTable& fields);

}  // namespace Token
