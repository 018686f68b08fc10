#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "data/catalogue_schema.h"

namespace tamboro {

// The 25 criterion slots of the main window's search. Each criterion, when
// the user finishes with it, leaves one filter fragment in its slot; the
// search joins "CODE > 0" and the slots in slot order. Texts are Shift-JIS
// and are taken exactly as the controls hold them: no trimming, no escaping.
class SearchSlots {
public:
    static constexpr int kCount = 25;
    enum Slot {
        Genre1 = 1, Genre2, Rating, DvdRating, MovieRating, Title, Year, Country, Director, Cast,
        Sound, Language, Watched, WatchCount, RunningTime, Impression1  // 16..25
    };

    // Combo boxes: the code picked, or an empty box text.
    void setGenre1(int32_t code, bool textEmpty) { setCode(Genre1, fld::Genre1, code, textEmpty); }
    void setGenre2(int32_t code, bool textEmpty) { setCode(Genre2, fld::Genre2, code, textEmpty); }
    void setSound(int32_t code, bool textEmpty);
    void setLanguage(int32_t code, bool textEmpty);
    // Rating boxes take their text as it stands.
    void setRating(std::string_view text);
    void setDvdRating(std::string_view text);
    void setMovieRating(std::string_view text);
    // Edits: an empty text empties the slot.
    void setTitle(std::string_view text) { setPrefix(Title, fld::Title, text); }
    void setCountry(std::string_view text) { setPrefix(Country, fld::Country, text); }
    void setDirector(std::string_view text) { setPrefix(Director, fld::Director, text); }
    void setCast(std::string_view text);
    // Bounded criteria: atMost selects "<=" (以前, 以下), else ">=".
    void setYear(std::string_view text, bool atMost) { setBound(Year, fld::Year, text, atMost, false); }
    void setWatched(std::string_view text, bool atMost) { setBound(Watched, fld::WatchedDate, text, atMost, true); }
    void setWatchCount(std::string_view text, bool atMost) { setBound(WatchCount, fld::WatchCount, text, atMost, false); }
    void setRunningTime(std::string_view text, bool atMost) {
        setBound(RunningTime, fld::RunningTime, text, atMost, false);
    }
    // Impression box n (1..10) ticked or not.
    void setImpression(int n, bool ticked);

    void clear(int slot);
    void clearAll();
    const std::string& slot(int n) const { return slots_.at(static_cast<size_t>(n - 1)); }
    // "CODE > 0" followed by every slot in order (Shift-JIS).
    std::string filterText() const;

private:
    void setCode(int slot, std::string_view fieldUtf8, int32_t code, bool textEmpty);
    void setPrefix(int slot, std::string_view fieldUtf8, std::string_view text);
    void setBound(int slot, std::string_view fieldUtf8, std::string_view text, bool atMost, bool quoted);
    void setQuotedRating(int slot, std::string_view fieldUtf8, std::string_view text);
    std::array<std::string, kCount> slots_;
};

}  // namespace tamboro
