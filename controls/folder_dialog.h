#pragma once
#include <QByteArray>
#include <QDialog>
#include <QList>
#include <QModelIndex>
#include <QObject>
#include <QPointer>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace tamboro {

class FolderTreeModel;

// A folder the tree offers directly under its computer item.
struct FolderPlace {
    QString path;
    QString label;
};

// The file-system root, the user's home folder and the mounted media, in
// that order and without repeats.
QList<FolderPlace> folderPlaces();

// Whether a mounted volume is somewhere a user keeps folders (a disk, a
// stick, a network share) rather than a system or pseudo mount.
bool isUserMedium(const QString& rootPath, const QByteArray& device, const QByteArray& fsType);

// The window TFolderDialog shows: the instruction, a status line with the
// selected folder's path, a folder tree under a computer item, a path
// field that follows the selection, OK and Cancel.
class TFolderBrowser : public QDialog {
    Q_OBJECT
public:
    TFolderBrowser(const QString& title, const QString& directory, QWidget* parent = nullptr);
    // The same over other places than the computer's own.
    TFolderBrowser(const QString& title, const QString& directory, const QList<FolderPlace>& places,
                   QWidget* parent = nullptr);

    // What the user confirmed: the path field's text (a leading "~" taken
    // as the home folder), or the selected folder when the field is empty;
    // empty for the computer item or nothing.
    QString chosenFolder() const;

    // The tree item of an existing folder, under the place holding it most
    // closely; invalid when no place holds it.
    QModelIndex indexOf(const QString& path) const;
    // The path of a tree item; empty for the computer item.
    QString pathOf(const QModelIndex& index) const;
    // The path the status line stands for (shown elided when too long).
    QString statusText() const { return status_; }

    QLabel* titleLabel() const { return TitleLabel; }
    QLabel* statusLabel() const { return StatusLabel; }
    QTreeView* tree() const { return FolderTree; }
    QLineEdit* pathEdit() const { return EPath; }
    QPushButton* okButton() const { return OkBtn; }
    QPushButton* cancelButton() const { return CancelBtn; }

private:
    void preselect(const QString& directory);
    QString selectedPath() const;
    void selectionChanged();
    void selectionMayHaveGone();
    void keepPreselectionInView();
    void setStatus(const QString& path);

    FolderTreeModel* model_;
    QString status_;
    bool followPreselection_ = false;

    QLabel* TitleLabel;
    QLabel* StatusLabel;
    QTreeView* FolderTree;
    QLabel* PathLabel;
    QLineEdit* EPath;
    QPushButton* OkBtn;
    QPushButton* CancelBtn;
};

// Lets the user choose a folder, starting from the one chosen last time.
// The owner's window owns the browser while it is shown.
class TFolderDialog : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Directory READ directory WRITE setDirectory)
    Q_PROPERTY(QString Title READ title WRITE setTitle)
public:
    explicit TFolderDialog(QWidget* owner = nullptr);

    QString directory() const { return directory_; }
    void setDirectory(const QString& d) { directory_ = d; }
    QString title() const { return title_; }
    void setTitle(const QString& t) { title_ = t; }

    // Shows the browser modally with the current Title, Directory selected
    // when it names an existing folder. True when the user confirmed; then
    // Directory is the chosen folder, or as it was for the computer item.
    // False on cancel, Directory unchanged.
    bool Execute();

    // The browser while Execute runs, else null.
    TFolderBrowser* browser() const { return browser_; }

private:
    QPointer<QWidget> owner_;
    QPointer<TFolderBrowser> browser_;
    QString directory_;
    QString title_;
};

}  // namespace tamboro
