#pragma once
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "data/packet.h"

namespace tamboro {

class Table;

// Reads a table's file whole. nullopt when the file is absent or empty;
// throws DataError when it cannot be read, is not a regular file (a FIFO is
// refused at once, not waited on) or is not a data packet.
std::optional<Packet> readPacketFile(const std::filesystem::path& file);

// Writes the table's packet to the file so that the old file survives any
// failure; throws DataError naming the file and the reason.
void writePacketFile(const std::filesystem::path& file, const Table& table);

// Replaces the file's content with bytes the same way: a temporary file,
// created exclusively under a fresh name beside the file (beside the final
// target when the file is a symbolic link, which stays a link), synced, then
// renamed over the old one, and the folder synced. Leftovers of a save that
// was killed are removed first. Throws DataError; when the temporary file
// cannot be created, the message names the folder and the temporary file.
void replaceFileContent(const std::filesystem::path& file, std::string_view bytes);

}  // namespace tamboro
