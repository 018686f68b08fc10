#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "data/packet.h"

namespace tamboro {

class Table;

// Reads a table's file whole. nullopt when the file is absent or empty;
// throws DataError when it cannot be read or is not a data packet.
std::optional<Packet> readPacketFile(const std::filesystem::path& file);

// Writes the table's packet to the file so that the old file survives any
// failure; throws DataError naming the file and the reason.
void writePacketFile(const std::filesystem::path& file, const Table& table);

// Replaces the file's content with bytes the same way: a temporary file in
// the same folder, synced, then renamed over the old one.
void replaceFileContent(const std::filesystem::path& file, std::string_view bytes);

}  // namespace tamboro
