#include "data/packet_file.h"

#include <system_error>

#include "data/error.h"
#include "data/messages.h"

namespace tamboro {

// Placeholder until the packet reader and writer land: absent files only.
std::optional<Packet> readPacketFile(const std::filesystem::path& file) {
    std::error_code ec;
    auto size = std::filesystem::file_size(file, ec);
    if (ec || size == 0) return std::nullopt;
    throw DataError(std::string(msg::kBadPacket));
}

void writePacketFile(const std::filesystem::path& file, const Table&) {
    throw DataError(file.string() + ": writing data packets is not available yet");
}

}  // namespace tamboro
