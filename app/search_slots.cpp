#include "app/search_slots.h"

#include "data/catalogue_schema.h"
#include "data/sjis.h"

namespace tamboro {

namespace {

const std::string& andText() {
    static const std::string s = " AND ";
    return s;
}

// The same comparison against each field, joined by "OR" and two blanks.
std::string anyOf(std::initializer_list<std::string_view> fieldsUtf8, const std::string& rhs) {
    std::string out = andText() + "(";
    bool first = true;
    for (std::string_view f : fieldsUtf8) {
        if (!first) out += " OR  ";
        first = false;
        out += sj(f) + " = " + rhs;
    }
    return out + ")";
}

}  // namespace

void SearchSlots::setCode(int slot, std::string_view fieldUtf8, int32_t code, bool textEmpty) {
    if (textEmpty) return clear(slot);
    slots_[slot - 1] = andText() + sj(fieldUtf8) + " = " + std::to_string(code);
}

void SearchSlots::setSound(int32_t code, bool textEmpty) {
    if (textEmpty) return clear(Sound);
    slots_[Sound - 1] = anyOf({fld::soundJapanese(1), fld::soundJapanese(2), fld::soundJapanese(3),
                               fld::soundEnglish(1), fld::soundEnglish(2), fld::soundEnglish(3)},
                              std::to_string(code));
}

void SearchSlots::setLanguage(int32_t code, bool textEmpty) {
    if (textEmpty) return clear(Language);
    slots_[Language - 1] = anyOf({fld::language(1), fld::language(2), fld::language(3), fld::language(4),
                                  fld::language(5), fld::language(6)},
                                 std::to_string(code));
}

void SearchSlots::setRating(std::string_view text) {
    if (text.empty()) return clear(Rating);
    slots_[Rating - 1] = andText() + sj(fld::Rating) + " = " + std::string(text);
}

void SearchSlots::setQuotedRating(int slot, std::string_view fieldUtf8, std::string_view text) {
    if (text.empty()) return clear(slot);
    slots_[slot - 1] = andText() + sj(fieldUtf8) + " = '" + std::string(text) + "'";
}

void SearchSlots::setDvdRating(std::string_view text) { setQuotedRating(DvdRating, fld::DvdRating, text); }
void SearchSlots::setMovieRating(std::string_view text) { setQuotedRating(MovieRating, fld::MovieRating, text); }

void SearchSlots::setPrefix(int slot, std::string_view fieldUtf8, std::string_view text) {
    if (text.empty()) return clear(slot);
    slots_[slot - 1] = andText() + sj(fieldUtf8) + " = '" + std::string(text) + "*'";
}

void SearchSlots::setCast(std::string_view text) {
    if (text.empty()) return clear(Cast);
    std::string pattern = "'" + std::string(text) + "*'";
    slots_[Cast - 1] = anyOf({fld::cast(1), fld::cast(2), fld::cast(3), fld::cast(4), fld::cast(5)}, pattern);
}

void SearchSlots::setBound(int slot, std::string_view fieldUtf8, std::string_view text, bool atMost, bool quoted) {
    if (text.empty()) return clear(slot);
    std::string value = quoted ? "'" + std::string(text) + "'" : std::string(text);
    slots_[slot - 1] = andText() + sj(fieldUtf8) + (atMost ? " <= " : " >= ") + value;
}

void SearchSlots::setImpression(int n, bool ticked) {
    if (n < 1 || n > 10) return;
    int slot = Impression1 + n - 1;
    if (!ticked) return clear(slot);
    slots_[slot - 1] = andText() + sj(fld::impress(n)) + " = TRUE";
}

void SearchSlots::clear(int slot) {
    if (slot >= 1 && slot <= kCount) slots_[slot - 1].clear();
}

void SearchSlots::clearAll() {
    for (auto& s : slots_) s.clear();
}

std::string SearchSlots::filterText() const {
    std::string out = sj(fld::Code) + " > 0";
    for (const auto& s : slots_) out += s;
    return out;
}

}  // namespace tamboro
