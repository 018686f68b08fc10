#pragma once
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

#include "data/table_event.h"
#include "report/report_content.h"

namespace tamboro {

class TDM1;

// The title list report: its header texts and the genre labels of its
// detail band, which follow the current title of CDvd, and the walk over
// CDvd that turns the listed titles into pages.
class QPrn1 {
public:
    explicit QPrn1(TDM1& dm);
    QPrn1(const QPrn1&) = delete;
    QPrn1& operator=(const QPrn1&) = delete;

    // Header texts, set by the print command before each build.
    QString QGenre1, QGenre2, QMakeDate;

    // The current title's genre names, kept up to date on every move of CDvd.
    const QString& QLGenre1() const { return genre1_; }
    const QString& QLGenre2() const { return genre2_; }

    // Told (titles done, titles in all) now and then during a build;
    // returning false cancels it.
    using Progress = std::function<bool(int done, int total)>;

    // Walks CDvd from its first listed title to its last, in its current
    // order and filter; the last one stays current. A cancelled build puts
    // the title that was current back and returns nothing.
    std::optional<report::ReportContent> build(const Progress& progress = {});

    // The report's part of CDvd's after-scroll handling: the genre look-ups.
    void CDvdAfterScroll();

private:
    void lookUpGenres(int32_t genre1, int32_t genre2);

    TDM1& dm_;
    QString genre1_, genre2_;
    ListenerList::Subscription scrolled_;
};

// Today in the short date format, without time of day ("2004/12/25").
QString todayShortDate();

}  // namespace tamboro
