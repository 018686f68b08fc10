#pragma once
#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

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

    // The record editor's duties at its creation: open CDvd (and with it the
    // other tables) and set the counter from the highest CODE. The counter
    // is remembered, so that whenever CDvd opens again it is raised to at
    // least the highest CODE on file and no number is ever reused.
    void OpenForEditor(int32_t& LastCode);
    // Starts a new title: appends to CDvd, numbers it from the counter and
    // gives it its initial values; the row stays in insert state.
    void AddNewTitle(int32_t& LastCode);
    // Names of the first ten impression rows in IMP_NO order (Shift-JIS).
    std::vector<std::string> impressionNames();
    // Writes every changed table, then closes them all. When a write fails
    // nothing is closed and the error says which file; call it again to retry.
    void closeCatalogue();
    int32_t highestCode() const;

    // Handlers of the record rules, hooked to the tables' events.
    void CDvdBeforeOpen();
    void CDvdAfterOpen();
    void CDvdAfterClose();
    void CDvdBeforePost();
    void CHistoryAfterPost();
    void CGenreBeforeDelete();

    Table CDvd, CGenre, CGenre2, CSound, CLange, CImpress, CHistory;
    DataSource DvdSource, GenreSource, GenreSource2, SoundSource, LangeSource, ImpressSource, HistorySource;

private:
    void hookRules();
    std::filesystem::path folder_;
    int32_t* lastCode_ = nullptr;
};

}  // namespace tamboro
