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
    // other tables) and move to its last title, which sets the counter.
    void OpenForEditor();
    // Starts a new title: appends to CDvd, advances the counter, numbers the
    // title with it and gives it its initial values; the row stays in insert
    // state.
    void AddNewTitle();
    // The title counter: the highest entry number in use or handed out in
    // this run; new titles take the next one. It only grows,
    // and whenever CDvd opens it is raised to the highest CODE on file, so
    // no number is reused, not even after a restore.
    int32_t lastCode() const { return LastCode; }
    // Names of the first ten impression rows in IMP_NO order (Shift-JIS).
    std::vector<std::string> impressionNames();
    // Writes every changed table, then closes them all. When a write fails
    // nothing is closed and the error says which file; call it again to retry.
    void closeCatalogue();
    int32_t highestCode() const;

    // Windows that follow the current title (the editor's pictures and
    // sub-genre text, the report's genre labels) subscribe here; CDvd's own
    // event hooks belong to the record rules. Listeners run after every change
    // of the current title, in the order they subscribed; a subscription ends
    // with its handle.
    [[nodiscard]] ListenerList::Subscription subscribeDvdAfterScroll(ListenerList::Listener listener) {
        return dvdScrolled_.subscribe(std::move(listener));
    }
    // The seven data sources, for pausing every control during a walk.
    std::vector<DataSource*> dataSources();

    // Handlers of the record rules, hooked to the tables' events.
    void CDvdBeforeOpen();
    void CDvdAfterOpen();
    void CDvdAfterClose();
    void CDvdBeforePost();
    void CDvdAfterScroll();
    void CHistoryAfterPost();
    void CGenreBeforeDelete();

    Table CDvd, CGenre, CGenre2, CSound, CLange, CImpress, CHistory;
    DataSource DvdSource, GenreSource, GenreSource2, SoundSource, LangeSource, ImpressSource, HistorySource;

private:
    void hookRules();
    std::filesystem::path folder_;
    ListenerList dvdScrolled_;
    int32_t LastCode = 0;
};

}  // namespace tamboro
