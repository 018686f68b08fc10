// The preview window and the print command as the user meets them: paging,
// PDF files, printing without a printer, and the main window's print button.
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QPrinterInfo>
#include <QTemporaryDir>
#include <QTest>

#include "app/application.h"
#include "app/main_window.h"
#include "report/build_progress.h"
#include "report/preview_window.h"
#include "report/prn1_form.h"
#include "tests/app/app_fixture.h"
#include "tests/report/report_test_support.h"

using namespace tamboro;
using namespace tamboro::report;
using namespace tamboro::test;

class PreviewTest : public QObject {
    Q_OBJECT
private slots:
    void pagingThroughThePreview() {
        TPrintPreview preview;
        preview.setContent(contentOfRows(50));
        QCOMPARE(preview.pageCount(), 3);
        QCOMPARE(preview.currentPage(), 1);
        preview.previousPage();
        QCOMPARE(preview.currentPage(), 1);
        preview.nextPage();
        QCOMPARE(preview.currentPage(), 2);
        preview.lastPage();
        preview.nextPage();
        QCOMPARE(preview.currentPage(), 3);
        QCOMPARE(preview.findChild<QLabel*>(QStringLiteral("PageLabel"))->text(), QStringLiteral("3 / 3 ページ"));
        preview.firstPage();
        QCOMPARE(preview.currentPage(), 1);
        // New content starts again at its first page.
        preview.lastPage();
        preview.setContent(contentOfRows(0));
        QCOMPARE(preview.pageCount(), 1);
        QCOMPARE(preview.currentPage(), 1);
    }

    // Drawing new pages that is stopped part way keeps the pages shown.
    void stoppedDrawingKeepsThePagesShown() {
        TPrintPreview preview;
        preview.show();
        QVERIFY(preview.setContent(contentOfRows(50)));
        preview.lastPage();
        int told = 0;
        QVERIFY(!preview.setContent(contentOfRows(500), [&](int done, int total) {
            ++told;
            return total == 22 && done < 10;
        }));
        QCOMPARE(told, 11);
        QCOMPARE(preview.pageCount(), 3);
        QCOMPARE(preview.currentPage(), 3);
        QCOMPARE(preview.content().titles, 50);
        QVERIFY(preview.setContent(contentOfRows(500), [](int, int) { return true; }));
        QCOMPARE(preview.pageCount(), 22);
    }

    // The PDF holds every page, A4, with the Japanese font embedded; a file
    // that cannot be written is reported and leaves nothing behind.
    void savingAsPdf() {
        QTemporaryDir dir;
        TPrintPreview preview;
        preview.setContent(contentOfRows(47));
        const QString path = dir.filePath(QStringLiteral("一覧.pdf"));
        ErrorCollector errors;
        QVERIFY(preview.savePdf(path));
        QVERIFY(errors.messages.isEmpty());
        const QByteArray pdf = fileBytes(path);
        QVERIFY(pdf.startsWith("%PDF"));
        QCOMPARE(pdfPageCount(pdf), 3);
        QVERIFY(pdf.contains("/MediaBox [0 0 595"));
        QVERIFY(pdf.contains("/FontFile2"));  // embedded TrueType
        QVERIFY(pdf.contains("IPAPGothic"));

        const QString bad = dir.filePath(QStringLiteral("無い/一覧.pdf"));
        QVERIFY(!preview.savePdf(bad));
        QCOMPARE(errors.messages.size(), 1);
        QVERIFY(errors.messages[0].contains(QStringLiteral("無い")));
        QVERIFY(!QFile::exists(bad));
    }

    // With nothing to print on, printing says so instead of failing quietly.
    void printingWithoutAPrinterSaysSo() {
        if (!QPrinterInfo::availablePrinterNames().isEmpty()) QSKIP("a printer is installed here");
        TPrintPreview preview;
        int builds = 0;
        preview.setRebuild([&](BuildProgress&) {
            ++builds;
            return std::optional(contentOfRows(1));
        });
        preview.setContent(contentOfRows(1));
        ErrorCollector boxes;
        QVERIFY(!preview.printNow());
        QCOMPARE(int(boxes.boxes.size()), 1);
        QCOMPARE(boxes.boxes[0].kind, BoxKind::Information);
        QVERIFY(boxes.boxes[0].text.contains(QStringLiteral("プリンタ")));
        QCOMPARE(builds, 0);
    }

    // A print builds the report again and keeps to the printer's page range
    // and copies; the preview keeps showing what it showed.
    void printingRebuildsAndKeepsTheSettings() {
        QTemporaryDir dir;
        TPrintPreview preview;
        int builds = 0;
        preview.setRebuild([&](BuildProgress&) {
            ++builds;
            return std::optional(contentOfRows(70));  // the list grew since the preview
        });
        preview.setContent(contentOfRows(10));
        QPrinter& printer = preview.printer();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath(QStringLiteral("all.pdf")));
        QVERIFY(preview.printNow());
        QCOMPARE(builds, 1);
        QCOMPARE(pdfPageCount(fileBytes(dir.filePath(QStringLiteral("all.pdf")))), 4);
        QCOMPARE(preview.pageCount(), 1);

        printer.setOutputFileName(dir.filePath(QStringLiteral("range.pdf")));
        printer.setPrintRange(QPrinter::PageRange);
        printer.setFromTo(2, 3);
        printer.setCopyCount(2);
        QVERIFY(preview.printNow());
        const int copies = printer.supportsMultipleCopies() ? 1 : 2;
        QCOMPARE(pdfPageCount(fileBytes(dir.filePath(QStringLiteral("range.pdf")))), 2 * copies);
    }

    // The print button: header texts from the genre criteria as shown, a
    // preview that leaves the main window usable, the last title current;
    // pressed again, the same preview comes back with the list as it stands.
    void printButtonOpensAndRefreshesThePreview() {
        CatalogueFolder folder;
        Program program({folder.path(), folder.iniFile()});
        TFMain& main = program.FMain();
        main.show();
        main.FormActivate();
        auto* genre1 = main.findChild<QComboBox*>(QStringLiteral("CmbSGenre1"));
        const int youga = genre1->findText(QStringLiteral("洋画"));
        QVERIFY(youga >= 0);
        genre1->setCurrentIndex(youga);
        main.CmbSGenre1Click();  // picked, not searched with

        main.BPrintClick();
        TPrintPreview* preview = program.FPrn1().preview();
        QVERIFY(preview && preview->isVisible());
        QVERIFY(main.isEnabled());
        const ReportContent& shown = preview->content();
        QCOMPARE(shown.header[HGenre1], QStringLiteral("洋画"));
        QCOMPARE(shown.header[HGenre2], QString());
        QCOMPARE(shown.header[HMakeDate], QDate::currentDate().toString(QStringLiteral("yyyy/MM/dd")));
        QCOMPARE(shown.titles, 12);
        TDM1& dm = program.DM1();
        QCOMPARE(dm.CDvd.recNo(), dm.CDvd.recordCount() - 1);

        main.BSearchClick();  // now the list holds the four 洋画 titles
        preview->hide();
        main.BPrintClick();
        QCOMPARE(program.FPrn1().preview(), preview);
        QVERIFY(preview->isVisible());
        QCOMPARE(preview->content().titles, 4);
        preview->close();
        main.hide();
    }
};

QTEST_MAIN(PreviewTest)
#include "preview_test.moc"
