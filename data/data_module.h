#pragma once
#include <array>
#include <filesystem>

#include "data/catalogue_schema.h"
#include "data/data_source.h"
#include "data/table.h"

namespace tamboro {

// The data module: owns the seven catalogue tables and their data sources
// for the whole run, with the files resolved against one working folder.
class TDM1 {
public:
    explicit TDM1(const std::filesystem::path& folder);
    TDM1(const TDM1&) = delete;
    TDM1& operator=(const TDM1&) = delete;

    // Opens CGenre, which is open from the data module's creation on.
    // Separate from the constructor so that a bad Genre.xml can be reported
    // while the module itself still exists.
    void openAtCreation();

    const std::filesystem::path& folder() const { return folder_; }
    Table& table(CatalogueTable t);

    Table CDvd, CGenre, CGenre2, CSound, CLange, CImpress, CHistory;
    DataSource DvdSource, GenreSource, GenreSource2, SoundSource, LangeSource, ImpressSource, HistorySource;

private:
    std::filesystem::path folder_;
};

}  // namespace tamboro
