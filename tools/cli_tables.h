#pragma once
#include <filesystem>
#include <memory>
#include <string_view>

#include "data/catalogue_schema.h"
#include "data/table.h"

namespace tamboro::cli {

// The seven tables in the order their files are listed.
inline constexpr CatalogueTable kAllTables[] = {CatalogueTable::Dvd,   CatalogueTable::Genre,
                                                CatalogueTable::Genre2, CatalogueTable::Sound,
                                                CatalogueTable::History, CatalogueTable::Impress,
                                                CatalogueTable::Lange};

// The table named "CDvd", "DvdData.xml", "dvddata" and so on; throws a
// UsageError for an unknown name.
CatalogueTable tableNamed(std::string_view name);

// A catalogue table on its own (no master link, so every row is visible),
// ordered as the program orders it, reading its file from folder.
std::unique_ptr<Table> standaloneTable(CatalogueTable t, const std::filesystem::path& folder);

// Rows a table holds now (not superseded or deleted), whatever it shows.
int currentRowCount(const Table& t);

}  // namespace tamboro::cli
