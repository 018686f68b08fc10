// The title list report written as a PDF file, with the program's own page
// code, on Qt's offscreen platform so that no display is needed.
#include <QGuiApplication>

#include "data/data_module.h"
#include "data/sjis.h"
#include "report/report_output.h"
#include "report/title_report.h"
#include "tools/cli_commands.h"

namespace tamboro::cli {

int runReport(const CommandLine& cl, std::ostream& out, std::ostream& err) {
    const std::optional<std::string> to = cl.option("to");
    if (!to || to->empty()) throw UsageError{"--to FILE.pdf is needed"};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    int argc = 1;
    char name[] = "tamboro-cli";
    char* argv[] = {name, nullptr};
    QGuiApplication app(argc, argv);

    TDM1 dm(cl.optionOr("dir", "."));
    dm.openAtCreation();
    dm.CDvd.open();  // and with it the tables it refers to
    if (auto order = cl.option("order")) dm.CDvd.setIndexFields(toSjis(*order));
    if (auto filter = cl.option("filter")) {
        dm.CDvd.setFilterText(toSjis(*filter));
        dm.CDvd.setFiltered(true);
    }
    QPrn1 report(dm);
    report.QGenre1 = QString::fromStdString(cl.optionOr("genre1", ""));
    report.QGenre2 = QString::fromStdString(cl.optionOr("genre2", ""));
    report.QMakeDate = todayShortDate();
    const std::optional<report::ReportContent> content = report.build();
    const QString error = report::writeReportPdf(*content, QString::fromStdString(*to));
    if (!error.isEmpty()) {
        err << "tamboro-cli: " << error.toStdString() << '\n';
        return 1;
    }
    out << *to << '\t' << content->pageCount() << " pages\t" << content->titles << " titles\n";
    return 0;
}

}  // namespace tamboro::cli
