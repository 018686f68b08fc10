#include "controls/folder_dialog.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHash>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>
#include <QStorageInfo>
#include <QTreeView>
#include <algorithm>
#include <vector>

#include "controls/app_font.h"

namespace tamboro {

// The folder tree: a computer item holding the places, each place showing
// its part of one shared, lazily filled QFileSystemModel. A folder below
// two places (the home folder is also below the root) appears under both,
// so an item is identified by its place as well as its source item.
//
// Every item stores the id of its parent node in its internal id: 0 for
// the computer item, 1 for a place; a node is a folder whose children have
// been asked for, remembered with its place and its source item.
class FolderTreeModel final : public QAbstractItemModel {
public:
    FolderTreeModel(const QList<FolderPlace>& places, QObject* parent);

    QModelIndex indexOf(const QString& path) const;
    QString pathOf(const QModelIndex& index) const;
    QFileSystemModel* source() const { return fs_; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex&) const override { return 1; }
    bool hasChildren(const QModelIndex& parent = {}) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;
    QVariant data(const QModelIndex& index, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    static constexpr quintptr kNoParent = 0, kComputer = 1, kFirstNode = 2;
    struct Node {
        int place;
        quintptr parent;
        QPersistentModelIndex src;
    };
    using Key = QPair<int, const void*>;

    const Node& node(quintptr id) const { return nodes_[id - kFirstNode]; }
    bool isPlaceNode(quintptr id) const { return id - kFirstNode < quintptr(places_.size()); }
    QPersistentModelIndex placeSource(int place) const { return nodes_[place].src; }
    quintptr nodeIdOf(const QModelIndex& index) const;
    quintptr nodeIdFor(int place, const QModelIndex& src, quintptr parent) const;
    QModelIndex toSource(const QModelIndex& index) const;
    QList<QModelIndex> itemsOf(const QModelIndex& src) const;
    void resetNodes();

    void sourceRowsAboutToChange(const QModelIndex& srcParent, int first, int last, bool inserting);
    void sourceRowsChanged(bool inserting);
    void sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);
    void sourceLayoutAboutToChange();
    void sourceLayoutChanged();

    QList<FolderPlace> places_;
    QFileSystemModel* fs_;
    QFileIconProvider icons_;
    mutable std::vector<Node> nodes_;  // the places first, in place order
    mutable QHash<Key, quintptr> ids_;
    QList<int> pending_;  // how many items each open source change concerns
    QList<QPair<QPersistentModelIndex, QPersistentModelIndex>> layoutSaved_;
};

FolderTreeModel::FolderTreeModel(const QList<FolderPlace>& places, QObject* parent)
    : QAbstractItemModel(parent), places_(places), fs_(new QFileSystemModel(this)) {
    fs_->setOptions(QFileSystemModel::DontUseCustomDirectoryIcons | QFileSystemModel::DontResolveSymlinks);
    fs_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    fs_->setReadOnly(true);
    // Without a root path the model lists nothing; from "/" its sorting
    // reaches every place. Only folders someone opens are listed.
    fs_->setRootPath(QDir::rootPath());
    resetNodes();
    connect(fs_, &QAbstractItemModel::rowsAboutToBeInserted, this,
            [this](const QModelIndex& p, int f, int l) { sourceRowsAboutToChange(p, f, l, true); });
    connect(fs_, &QAbstractItemModel::rowsInserted, this, [this] { sourceRowsChanged(true); });
    connect(fs_, &QAbstractItemModel::rowsAboutToBeRemoved, this,
            [this](const QModelIndex& p, int f, int l) { sourceRowsAboutToChange(p, f, l, false); });
    connect(fs_, &QAbstractItemModel::rowsRemoved, this, [this] { sourceRowsChanged(false); });
    connect(fs_, &QAbstractItemModel::dataChanged, this, &FolderTreeModel::sourceDataChanged);
    connect(fs_, &QAbstractItemModel::layoutAboutToBeChanged, this, &FolderTreeModel::sourceLayoutAboutToChange);
    connect(fs_, &QAbstractItemModel::layoutChanged, this, &FolderTreeModel::sourceLayoutChanged);
    connect(fs_, &QAbstractItemModel::modelAboutToBeReset, this, [this] { beginResetModel(); });
    connect(fs_, &QAbstractItemModel::modelReset, this, [this] {
        resetNodes();
        endResetModel();
    });
}

void FolderTreeModel::resetNodes() {
    nodes_.clear();
    ids_.clear();
    for (int k = 0; k < places_.size(); ++k) {
        const QModelIndex src = fs_->index(places_[k].path);
        nodes_.push_back({k, kComputer, src});
        if (src.isValid()) ids_.insert({k, src.internalPointer()}, kFirstNode + k);
    }
}

quintptr FolderTreeModel::nodeIdFor(int place, const QModelIndex& src, quintptr parent) const {
    const Key key{place, src.internalPointer()};
    if (auto it = ids_.constFind(key); it != ids_.cend()) {
        // The source may have freed a folder and reused its address.
        Node& n = nodes_[*it - kFirstNode];
        if (n.src != src && !isPlaceNode(*it)) n = {place, parent, src};
        return *it;
    }
    nodes_.push_back({place, parent, src});
    const quintptr id = kFirstNode + nodes_.size() - 1;
    ids_.insert(key, id);
    return id;
}

quintptr FolderTreeModel::nodeIdOf(const QModelIndex& index) const {
    if (!index.isValid()) return 0;
    if (index.internalId() == kNoParent) return kComputer;
    if (index.internalId() == kComputer) return kFirstNode + index.row();
    const QModelIndex src = toSource(index);
    return src.isValid() ? nodeIdFor(node(index.internalId()).place, src, index.internalId()) : 0;
}

QModelIndex FolderTreeModel::toSource(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == kNoParent) return {};
    if (index.internalId() == kComputer) return placeSource(index.row());
    const QModelIndex parentSrc = node(index.internalId()).src;
    // An invalid parent would make the source answer with its own top level.
    return parentSrc.isValid() ? fs_->index(index.row(), 0, parentSrc) : QModelIndex();
}

QModelIndex FolderTreeModel::index(int row, int column, const QModelIndex& parent) const {
    if (row < 0 || column != 0 || row >= rowCount(parent)) return {};
    if (!parent.isValid()) return createIndex(row, 0, kNoParent);
    const quintptr id = nodeIdOf(parent);
    return id ? createIndex(row, 0, id) : QModelIndex();
}

QModelIndex FolderTreeModel::parent(const QModelIndex& child) const {
    if (!child.isValid() || child.internalId() == kNoParent) return {};
    if (child.internalId() == kComputer) return createIndex(0, 0, kNoParent);
    const quintptr id = child.internalId();
    const Node& n = node(id);
    if (isPlaceNode(id)) return createIndex(n.place, 0, kComputer);
    return n.src.isValid() ? createIndex(n.src.row(), 0, n.parent) : QModelIndex();
}

int FolderTreeModel::rowCount(const QModelIndex& parent) const {
    if (!parent.isValid()) return 1;
    if (parent.column() != 0) return 0;
    if (parent.internalId() == kNoParent) return places_.size();
    const QModelIndex src = toSource(parent);
    return src.isValid() ? fs_->rowCount(src) : 0;
}

bool FolderTreeModel::hasChildren(const QModelIndex& parent) const {
    if (!parent.isValid()) return true;
    if (parent.internalId() == kNoParent) return !places_.isEmpty();
    const QModelIndex src = toSource(parent);
    return src.isValid() && fs_->hasChildren(src);
}

bool FolderTreeModel::canFetchMore(const QModelIndex& parent) const {
    const QModelIndex src = toSource(parent);
    return src.isValid() && fs_->canFetchMore(src);
}

void FolderTreeModel::fetchMore(const QModelIndex& parent) {
    const QModelIndex src = toSource(parent);
    if (src.isValid()) fs_->fetchMore(src);
}

QVariant FolderTreeModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (index.internalId() == kNoParent) {
        if (role == Qt::DisplayRole) return QStringLiteral("コンピューター");
        if (role == Qt::DecorationRole) return icons_.icon(QFileIconProvider::Computer);
        return {};
    }
    if (index.internalId() == kComputer) {
        const FolderPlace& p = places_[index.row()];
        if (role == Qt::DisplayRole) return p.label;
        if (role == Qt::ToolTipRole) return p.path;
        if (role == Qt::DecorationRole)
            return icons_.icon(p.path == QDir::rootPath() ? QFileIconProvider::Drive : QFileIconProvider::Folder);
        return {};
    }
    if (role != Qt::DisplayRole && role != Qt::DecorationRole) return {};
    return fs_->data(toSource(index), role);
}

Qt::ItemFlags FolderTreeModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

QString FolderTreeModel::pathOf(const QModelIndex& index) const {
    if (!index.isValid() || index.internalId() == kNoParent) return {};
    if (index.internalId() == kComputer) return places_[index.row()].path;
    return fs_->filePath(toSource(index));
}

QModelIndex FolderTreeModel::indexOf(const QString& path) const {
    const QString clean = QDir::cleanPath(QFileInfo(path).absoluteFilePath());
    int best = -1;
    for (int k = 0; k < places_.size(); ++k) {
        const QString& p = places_[k].path;
        const bool holds = clean == p || clean.startsWith(p.endsWith('/') ? p : p + '/');
        if (holds && (best < 0 || p.size() > places_[best].path.size())) best = k;
    }
    if (best < 0 || !placeSource(best).isValid()) return {};
    const QModelIndex target = fs_->index(clean);
    if (!target.isValid()) return {};
    // Source items from the target up to the place, then nodes from the top down.
    QList<QModelIndex> chain;
    for (QModelIndex a = target; a.isValid() && a != placeSource(best); a = a.parent()) chain.prepend(a);
    QModelIndex item = createIndex(best, 0, kComputer);
    for (const QModelIndex& src : chain) item = createIndex(src.row(), 0, nodeIdOf(item));
    return item;
}

// The items that show the source folder `src` (one per place holding it
// whose tree has been walked that far).
QList<QModelIndex> FolderTreeModel::itemsOf(const QModelIndex& src) const {
    QList<QModelIndex> items;
    if (!src.isValid()) return items;
    const QModelIndex srcParent = src.parent();
    for (int k = 0; k < places_.size(); ++k) {
        const QPersistentModelIndex& top = placeSource(k);
        if (!top.isValid()) continue;
        if (src == top) {
            items << createIndex(k, 0, kComputer);
            continue;
        }
        bool below = false;
        for (QModelIndex a = srcParent; a.isValid() && !below; a = a.parent()) below = a == top;
        if (!below) continue;
        const auto it = ids_.constFind({k, srcParent.internalPointer()});
        if (it != ids_.cend() && node(*it).src == srcParent) items << createIndex(src.row(), 0, *it);
    }
    return items;
}

// A source change is announced as rows inserted or removed under the one
// item showing the folder; under a folder shown twice (announcements may
// not nest) it is announced as a change of layout instead.
void FolderTreeModel::sourceRowsAboutToChange(const QModelIndex& srcParent, int first, int last, bool inserting) {
    const QList<QModelIndex> items = itemsOf(srcParent);
    if (items.size() > 1)
        sourceLayoutAboutToChange();
    else if (items.size() == 1 && inserting)
        beginInsertRows(items.first(), first, last);
    else if (items.size() == 1)
        beginRemoveRows(items.first(), first, last);
    pending_.append(items.size());
}

void FolderTreeModel::sourceRowsChanged(bool inserting) {
    const int items = pending_.takeLast();
    if (items > 1)
        sourceLayoutChanged();
    else if (items == 1 && inserting)
        endInsertRows();
    else if (items == 1)
        endRemoveRows();
}

void FolderTreeModel::sourceDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight) {
    if (topLeft.column() != 0) return;
    for (const QModelIndex& item : itemsOf(topLeft)) {
        if (item.internalId() == kComputer) continue;  // places have labels of their own
        emit dataChanged(item, createIndex(bottomRight.row(), 0, item.internalId()));
    }
}

void FolderTreeModel::sourceLayoutAboutToChange() {
    emit layoutAboutToBeChanged();
    layoutSaved_.clear();
    for (const QModelIndex& item : persistentIndexList())
        if (item.internalId() > kComputer) layoutSaved_.append({item, toSource(item)});
}

void FolderTreeModel::sourceLayoutChanged() {
    QModelIndexList from, to;
    for (const auto& [item, src] : layoutSaved_) {
        from << item;
        to << (src.isValid() ? createIndex(src.row(), 0, item.internalId()) : QModelIndex());
    }
    layoutSaved_.clear();
    changePersistentIndexList(from, to);
    emit layoutChanged();
}

bool isUserMedium(const QString& rootPath, const QByteArray& device, const QByteArray& fsType) {
    static const QSet<QByteArray> pseudo{
        "proc",    "sysfs",    "devtmpfs",    "devpts",     "tmpfs",    "ramfs",      "cgroup",
        "cgroup2", "securityfs", "pstore",    "bpf",        "debugfs",  "tracefs",    "configfs",
        "fusectl", "mqueue",   "hugetlbfs",   "autofs",     "binfmt_misc", "nsfs",    "efivarfs",
        "rpc_pipefs", "overlay", "squashfs",  "selinuxfs",  "fuse.portal", "fuse.gvfsd-fuse", "fuse.lxcfs"};
    static const QSet<QByteArray> network{"nfs", "nfs4", "cifs", "smb3", "smbfs", "fuse.sshfs", "davfs", "9p"};
    if (rootPath.isEmpty() || rootPath == QLatin1String("/") || pseudo.contains(fsType)) return false;
    for (const char* system : {"/proc", "/sys", "/dev", "/run", "/snap", "/boot", "/efi", "/var/lib"}) {
        const QString s = QString::fromLatin1(system);
        if ((rootPath == s || rootPath.startsWith(s + '/')) && !rootPath.startsWith(QLatin1String("/run/media/")))
            return false;
    }
    return network.contains(fsType) || (device.startsWith("/dev/") && !device.startsWith("/dev/loop"));
}

QList<FolderPlace> folderPlaces() {
    QList<FolderPlace> places{{QDir::rootPath(), QDir::rootPath()}};
    const auto known = [&](const QString& path) {
        for (const FolderPlace& p : places)
            if (p.path == path) return true;
        return false;
    };
    const QString home = QDir::cleanPath(QDir::homePath());
    if (QFileInfo(home).isDir() && !known(home))
        places.append({home, QStringLiteral("ホーム (%1)").arg(QDir(home).dirName())});
    QList<FolderPlace> media;
    for (const QStorageInfo& v : QStorageInfo::mountedVolumes()) {
        const QString root = v.rootPath();
        if (!v.isValid() || !isUserMedium(root, v.device(), v.fileSystemType()) || !QFileInfo(root).isDir()) continue;
        if (known(root)) continue;
        const QString name = v.name().isEmpty() ? QDir(root).dirName() : v.name();
        media.append({root, QStringLiteral("%1 (%2)").arg(name, root)});
    }
    std::sort(media.begin(), media.end(), [](const FolderPlace& a, const FolderPlace& b) { return a.path < b.path; });
    for (const FolderPlace& m : media)
        if (!known(m.path)) places.append(m);
    return places;
}

namespace {

QString expandHome(const QString& typed) {
    if (typed == QLatin1String("~")) return QDir::homePath();
    if (typed.startsWith(QLatin1String("~/"))) return QDir::homePath() + typed.mid(1);
    return typed;
}

}  // namespace

TFolderBrowser::TFolderBrowser(const QString& title, const QString& directory, QWidget* parent)
    : TFolderBrowser(title, directory, folderPlaces(), parent) {}

TFolderBrowser::TFolderBrowser(const QString& title, const QString& directory, const QList<FolderPlace>& places,
                               QWidget* parent)
    : QDialog(parent), model_(new FolderTreeModel(places, this)) {
    setObjectName(QStringLiteral("FolderBrowser"));
    setWindowTitle(QStringLiteral("フォルダーの参照"));
    setFont(appFont());
    setFixedSize(330, 415);

    TitleLabel = new QLabel(title, this);
    TitleLabel->setObjectName(QStringLiteral("TitleLabel"));
    TitleLabel->setWordWrap(true);
    TitleLabel->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TitleLabel->setGeometry(12, 10, 306, 30);

    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    StatusLabel->setGeometry(12, 42, 306, 16);

    FolderTree = new QTreeView(this);
    FolderTree->setObjectName(QStringLiteral("FolderTree"));
    FolderTree->setGeometry(12, 62, 306, 270);
    FolderTree->setHeaderHidden(true);
    FolderTree->setUniformRowHeights(true);
    FolderTree->setAnimated(false);
    FolderTree->setSelectionMode(QAbstractItemView::SingleSelection);
    FolderTree->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Deep folders scroll sideways instead of being cut off.
    FolderTree->header()->setStretchLastSection(false);
    FolderTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    FolderTree->setModel(model_);
    FolderTree->expand(model_->index(0, 0));

    PathLabel = new QLabel(QStringLiteral("フォルダー(&F):"), this);
    PathLabel->setObjectName(QStringLiteral("PathLabel"));
    PathLabel->setGeometry(12, 342, 76, 22);
    EPath = new QLineEdit(this);
    EPath->setObjectName(QStringLiteral("EPath"));
    EPath->setGeometry(90, 342, 228, 22);
    PathLabel->setBuddy(EPath);

    OkBtn = new QPushButton(QStringLiteral("OK"), this);
    OkBtn->setObjectName(QStringLiteral("OkBtn"));
    OkBtn->setGeometry(162, 378, 75, 25);
    OkBtn->setDefault(true);
    CancelBtn = new QPushButton(QStringLiteral("キャンセル"), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setGeometry(243, 378, 75, 25);
    setTabOrder(EPath, FolderTree);
    setTabOrder(FolderTree, OkBtn);
    setTabOrder(OkBtn, CancelBtn);

    connect(OkBtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelBtn, &QPushButton::clicked, this, &QDialog::reject);
    connect(FolderTree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TFolderBrowser::selectionChanged);
    connect(model_, &QAbstractItemModel::layoutChanged, this, &TFolderBrowser::selectionMayHaveGone);
    connect(model_, &QAbstractItemModel::rowsRemoved, this, &TFolderBrowser::selectionMayHaveGone);

    preselect(directory);
    EPath->setText(directory);
    EPath->selectAll();
    EPath->setFocus();
}

void TFolderBrowser::preselect(const QString& directory) {
    if (directory.isEmpty() || !QFileInfo(directory).isDir()) return;
    const QModelIndex item = model_->indexOf(directory);
    if (!item.isValid()) return;
    FolderTree->setCurrentIndex(item);
    FolderTree->expand(item);  // its subfolders are the likely next step
    FolderTree->scrollTo(item);
    // The folders along the way fill in and sort a moment later, moving the
    // item; keep it in view until the user scrolls or picks another.
    followPreselection_ = true;
    connect(model_, &QAbstractItemModel::layoutChanged, this, &TFolderBrowser::keepPreselectionInView);
    connect(model_, &QAbstractItemModel::rowsInserted, this, &TFolderBrowser::keepPreselectionInView);
    connect(FolderTree->verticalScrollBar(), &QAbstractSlider::actionTriggered, this,
            [this] { followPreselection_ = false; });
}

void TFolderBrowser::keepPreselectionInView() {
    if (followPreselection_ && FolderTree->currentIndex().isValid()) FolderTree->scrollTo(FolderTree->currentIndex());
}

QString TFolderBrowser::selectedPath() const {
    const QModelIndexList selected = FolderTree->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? QString() : model_->pathOf(selected.first());
}

void TFolderBrowser::selectionChanged() {
    const QString path = selectedPath();
    followPreselection_ = false;
    setStatus(path);
    EPath->setText(path);
}

// The selected folder may have been deleted meanwhile; the selection then
// goes quietly with a change of layout. Typing in the field is kept.
void TFolderBrowser::selectionMayHaveGone() {
    const QString path = selectedPath();
    if (path == status_) return;
    if (EPath->text() == status_) EPath->setText(path);
    setStatus(path);
}

void TFolderBrowser::setStatus(const QString& path) {
    status_ = path;
    StatusLabel->setToolTip(path);
    StatusLabel->setText(StatusLabel->fontMetrics().elidedText(path, Qt::ElideMiddle, StatusLabel->width()));
}

QString TFolderBrowser::chosenFolder() const {
    return EPath->text().isEmpty() ? selectedPath() : expandHome(EPath->text());
}

QModelIndex TFolderBrowser::indexOf(const QString& path) const { return model_->indexOf(path); }

QString TFolderBrowser::pathOf(const QModelIndex& index) const { return model_->pathOf(index); }

TFolderDialog::TFolderDialog(QWidget* owner) : QObject(owner), owner_(owner), title_(QStringLiteral("フォルダーの選択")) {}

bool TFolderDialog::Execute() {
    auto* b = new TFolderBrowser(title_, directory_, owner_ ? owner_->window() : nullptr);
    browser_ = b;
    const bool confirmed = b->exec() == QDialog::Accepted;
    if (!browser_) return false;  // its owner went away while it was shown
    const QString chosen = b->chosenFolder();
    delete b;
    if (!confirmed) return false;
    if (!chosen.isEmpty()) directory_ = chosen;
    return true;
}

}  // namespace tamboro
