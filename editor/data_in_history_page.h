#pragma once
#include <QObject>

class QFrame;
class QPushButton;
class QToolButton;
class QWidget;

namespace tamboro {

class TBrDateForm;
class TCaptionDBNavi;
class TDBGrid;
class TDM1;
class TRetEdit;

// The viewing-history page of the record editor, built onto the page widget
// it is given: the entry panel for the viewing about to be added, and the
// grid of the current title's viewings, which edits them in place.
//
// Every addition, deletion or posted grid edit runs the data module's
// roll-up, which leaves the title in edit state with its new count and
// date; storing them is the next post of the title, which is the editor's
// business. The two entry fields belong to no record: they keep their text
// across showings and title changes until an addition empties them.
class HistoryPage : public QObject {
    Q_OBJECT
public:
    // datePicker may be null (no calendar then). The page's children are
    // owned by page; this object is a child of page too.
    HistoryPage(TDM1& dm, TBrDateForm* datePicker, QWidget* page);

    // Picks the date of the viewing with the date picker.
    void PopupCalcBtn3Click();
    // Adds the viewing in the entry fields to the current title, if a date
    // was picked, and empties the fields.
    void BAdd2Click();
    // Deletes the viewing selected in the grid, without asking.
    void BDel2Click();
    // The grid was left: posts a viewing still being edited.
    void HistoryGridExit();

    QWidget* page() const { return page_; }
    // The date picker is made after the editor; null switches the calendar off.
    void setDatePicker(TBrDateForm* picker) { datePicker_ = picker; }

    QFrame* Panel16;
    TRetEdit* EApprecDate;
    QToolButton* PopupCalcBtn3;
    TRetEdit* EComent;
    QPushButton* BAdd2;
    QPushButton* BDel2;
    TCaptionDBNavi* CaptionDBNavi4;
    TDBGrid* HistoryGrid;

private:
    void buildPanel();
    void buildGrid();

    TDM1& dm_;
    TBrDateForm* datePicker_;
    QWidget* page_;
};

}  // namespace tamboro
