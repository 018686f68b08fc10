#pragma once
#include <string_view>

#include "data/packet.h"

namespace tamboro {

// Parses a whole data packet in one pass over its bytes. sourceName names
// the file in error messages. Throws DataError whose message begins with
// "データパケットが間違っています" and tells the byte offset where reading
// stopped and what was expected there.
Packet readPacket(std::string_view bytes, std::string_view sourceName);

}  // namespace tamboro
