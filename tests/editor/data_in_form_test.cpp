#include <QTemporaryDir>
#include <QTest>

#include "data/data_module.h"
#include "data/fresh_install.h"
#include "editor/data_in_form.h"

using namespace tamboro;

class DataInFormTest : public QObject {
    Q_OBJECT

private slots:
    // The editor is destroyed before the data module at exit, and backup and
    // restore reopen the titles: the counter must not live in the editor.
    void theTitleCounterOutlivesTheEditor() {
        QTemporaryDir dir;
        const std::filesystem::path path(dir.path().toStdString());
        createMissingFiles(path);
        TDM1 dm(path);
        dm.openAtCreation();
        {
            TFDataIn editor(dm);
            editor.FormCreate(ImpressBoxTable{});
            QCOMPARE(editor.lastCode(), 0);
            for (int k = 0; k < 2; ++k) {
                editor.AddNewTitle();
                dm.CDvd.post();
            }
            QCOMPARE(editor.lastCode(), 2);
            QCOMPARE(dm.CDvd.fieldU8(fld::Code).asInteger(), 2);
            dm.CDvd.remove();
        }
        dm.closeCatalogue();
        dm.CDvd.open();
        QCOMPARE(dm.lastCode(), 2);
        dm.AddNewTitle();
        QCOMPARE(dm.CDvd.fieldU8(fld::Code).asInteger(), 3);  // the deleted 2 is not reused
    }
};

QTEST_MAIN(DataInFormTest)
#include "data_in_form_test.moc"
