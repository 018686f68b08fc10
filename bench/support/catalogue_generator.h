#pragma once
#include <cstdint>

#include "data/packet.h"

namespace tamboro::bench {

// A realistic title table of n rows: Japanese and Latin titles, cast, staff,
// memos with line breaks, ratings, dates; most spare fields blank as in real
// files. Deterministic for a given seed.
Packet generateDvdPacket(int n, uint32_t seed = 1);

// History rows for the titles above: 0-3 viewings each.
Packet generateHistoryPacket(int n, uint32_t seed = 2);

}  // namespace tamboro::bench
