#pragma once
#include <filesystem>
#include <string>
#include <vector>

#include "data/packet.h"

namespace tamboro {

// The impression list a fresh installation starts with: IMP_NO 1 to 10.
Packet defaultImpressPacket();

// Creates, in folder, each catalogue file other than Genre.xml that does not
// exist yet: the table's fields and no rows, or for Impress.xml the ten
// default impressions. An empty file counts as missing (it holds nothing and
// would open as absent); any other existing entry is left as it is. Returns
// the names of the files created; throws DataError when one cannot be written.
std::vector<std::string> createMissingFiles(const std::filesystem::path& folder);

}  // namespace tamboro
