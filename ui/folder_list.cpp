// SPDX-License-Identifier: MIT
#include "ui/folder_list.h"

#include "frame/sys/files.h"
#include "frame/sys/folder_listing.h"
#include "frame/text/error.h"
#include "frame/text/paths.h"
#include "ui/drives.h"
#include "ui/natural_order.h"

#include <QApplication>
#include <QFile>
#include <QHeaderView>
#include <QKeyEvent>
#include <QResizeEvent>
#include <QStyle>
#include <algorithm>

namespace stepwell {
namespace {

constexpr int pathRole = Qt::UserRole;

// The indentation of one level: the usual step, less in a deep chain, so that all the
// levels together take no more than a quarter of the list's width.
constexpr int fullIndentation = 10;
constexpr int leastIndentation = 2;

QTreeWidgetItem* makeItem(const std::string& label, const std::string& path, const QIcon& icon) {
    const QString text = QFile::decodeName(label.c_str());
    auto* item = new QTreeWidgetItem({text});
    item->setToolTip(0, text); // the whole name, when the list shows it elided
    item->setIcon(0, icon);
    item->setData(0, pathRole, QByteArray::fromStdString(path));
    return item;
}

// The open folder's chain, from the root down: each entry's label and full path.
std::vector<std::pair<std::string, std::string>> chainOf(const std::string& folder,
                                                         const std::string& root) {
    std::vector<std::pair<std::string, std::string>> chain{{root, root}};
    std::string path = root;
    std::size_t start = root.size();
    while (start < folder.size()) {
        if (folder[start] == '/') {
            ++start;
            continue;
        }
        std::size_t end = folder.find('/', start);
        if (end == std::string::npos)
            end = folder.size();
        const std::string name = folder.substr(start, end - start);
        path = joinPath(path, name);
        chain.emplace_back(name, path);
        start = end;
    }
    return chain;
}

// The folder that holds `path`, without a final '/' ("/" for a folder at the root).
std::string parentOf(const std::string& path) {
    std::string parent = folderPart(path);
    if (parent.size() > 1)
        parent.pop_back();
    return parent;
}

} // namespace

FolderList::FolderList(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setExpandsOnDoubleClick(false);
    setIndentation(fullIndentation);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformRowHeights(true);
    // The column is as wide as the list: a name that does not fit is shortened at its end,
    // where the start that a reader looks for stays whole, rather than scrolled to.
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    header()->setMinimumSectionSize(0); // the usual minimum is wider than a narrow list
    setTextElideMode(Qt::ElideRight);
    // Every entry is always shown: no expand and collapse marks beside the folders.
    setStyleSheet(QStringLiteral("QTreeView::branch { image: none; border-image: none; }"));
    connect(this, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item) { openItem(item); });
}

std::string FolderList::highlightedPath() const {
    const QTreeWidgetItem* item = currentItem();
    return item ? item->data(0, pathRole).toByteArray().toStdString() : path_;
}

bool FolderList::setPath(const std::string& folder, const std::string& root) {
    const std::string chainRoot = isInside(folder, root) ? root : "/";
    std::vector<std::string> subfolders;
    try {
        subfolders = listSubfolders(folder);
    } catch (const Error&) {
        return false;
    }
    sortNaturally(subfolders);
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirClosedIcon);
    clear();
    QTreeWidgetItem* parent = nullptr;
    const auto chain = chainOf(folder, chainRoot);
    levels_ = int(chain.size()) + (subfolders.empty() ? 0 : 1);
    fitIndentation();
    for (const auto& [label, path] : chain) {
        QTreeWidgetItem* item = makeItem(label, path, openIcon);
        if (parent)
            parent->addChild(item);
        else
            addTopLevelItem(item);
        parent = item;
    }
    for (const std::string& name : subfolders)
        parent->addChild(makeItem(name, joinPath(folder, name), closedIcon));
    expandAll();
    setCurrentItem(parent);
    scrollToItem(parent);

    const bool changed = folder != path_;
    path_ = folder;
    root_ = chainRoot;
    if (changed)
        emit pathChanged();
    return true;
}

bool FolderList::viewportEvent(QEvent* event) {
    // A hidden header does not stretch its section, so the list keeps its one column as wide
    // as the viewport, which narrows when the vertical scroll bar comes.
    if (event->type() == QEvent::Resize) {
        header()->resizeSection(0, static_cast<QResizeEvent*>(event)->size().width());
        fitIndentation();
    }
    return QTreeWidget::viewportEvent(event);
}

void FolderList::fitIndentation() {
    // The first level is not indented.
    const int steps = std::max(1, levels_ - 1);
    setIndentation(std::clamp(viewport()->width() / 4 / steps, leastIndentation, fullIndentation));
}

void FolderList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openItem(currentItem());
        return;
    }
    QTreeWidget::keyPressEvent(event);
}

void FolderList::openItem(QTreeWidgetItem* item) {
    if (!item)
        return;
    // A folder removed since the list was filled: the nearest folder above it that still
    // exists opens instead, so that no stale entry stays to be opened or stored.
    std::string folder = item->data(0, pathRole).toByteArray().toStdString();
    while (!isFolder(folder) && folder != "/" && !folderPart(folder).empty())
        folder = parentOf(folder);
    setPath(folder);
}

} // namespace stepwell
