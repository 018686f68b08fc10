#pragma once
#include <array>
#include <filesystem>

#include "data/catalogue_schema.h"

namespace tamboro {

class TDM1;

// The seven data files in the order backup and restore copy them.
inline constexpr std::array<CatalogueTable, 7> kCopyOrder = {
    CatalogueTable::Dvd,     CatalogueTable::History, CatalogueTable::Genre, CatalogueTable::Genre2,
    CatalogueTable::Impress, CatalogueTable::Sound,   CatalogueTable::Lange};

// Copies a file as a save writes one: into a fresh temporary file beside the
// target, synced, then renamed over it, so that the old target stays whole
// until the new one is complete. False, with nothing done, when the source
// does not exist; true without copying when both paths name the same file.
// Throws DataError naming the file and the reason.
bool copyFileSafely(const std::filesystem::path& from, const std::filesystem::path& to);

// Whether the file holds a data packet that table t can open: read whole,
// with the fields its order and master link need. False when there is no
// file; throws DataError naming the file and the fault otherwise. An empty
// file is refused, since it would open as a missing one.
bool checkTableFile(const std::filesystem::path& file, CatalogueTable t);

// Writes every table of the catalogue, changed or not, into folder under
// its file name, each safely; a closed table's own file is copied instead,
// if it has one. Tries all seven, then throws DataError naming those that
// failed.
void saveCatalogueCopy(TDM1& dm, const std::filesystem::path& folder);

}  // namespace tamboro
