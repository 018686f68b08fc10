// Feeds arbitrary bytes to the packet reader: it must either return a packet
// that the writer can write and the reader read back, or throw DataError.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "data/error.h"
#include "data/packet_reader.h"
#include "data/packet_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    tamboro::Packet p;
    try {
        p = tamboro::readPacket(bytes, "fuzz.xml");
    } catch (const tamboro::DataError&) {
        return 0;
    }
    // Whatever was accepted must survive a write and a second read unchanged.
    std::string once = tamboro::writePacket(p, true);
    tamboro::Packet again = tamboro::readPacket(once, "again.xml");
    if (tamboro::writePacket(again, true) != once) std::abort();
    return 0;
}
