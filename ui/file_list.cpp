// SPDX-License-Identifier: MIT
#include "ui/file_list.h"

#include "frame/text/error.h"
#include "frame/text/shown_text.h"

#include <QFile>
#include <QKeyEvent>
#include <QStringListModel>
#include <algorithm>

namespace stepwell {

FileList::FileList(QWidget* parent) : QListView(parent), model_(new QStringListModel(this)) {
    setModel(model_);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Uniform rows let the view lay out 100,000 names without measuring each.
    setUniformItemSizes(true);
    setLayoutMode(QListView::Batched);
}

bool FileList::setPath(const std::string& folder) {
    FileListView view = view_;
    view.folder = folder;
    return show(view);
}

bool FileList::setFileName(const std::string& text, const std::string& base) {
    const FileListView view = fileListViewFor(text, view_, base);
    if (view.folder.empty()) { // nothing to list yet: keep the pattern for when a folder comes
        view_.pattern = view.pattern;
        return true;
    }
    return show(view);
}

bool FileList::show(const FileListView& view) {
    std::vector<std::string> names;
    try {
        names = listMatchingFiles(view.folder, splitPatterns(view.pattern));
    } catch (const Error&) {
        return false;
    }
    QStringList shown;
    shown.reserve(qsizetype(names.size()));
    for (const std::string& name : names)
        shown.push_back(QFile::decodeName(name.c_str()));
    view_ = view;
    names_ = std::move(names);
    model_->setStringList(shown);
    markFolder();
    return true;
}

void FileList::setFolderListPath(const std::string& folder) {
    folderListPath_ = folder;
    markFolder();
}

bool FileList::showsOtherFolder() const {
    return !folderListPath_.empty() && !view_.folder.empty() && view_.folder != folderListPath_;
}

void FileList::markFolder() {
    const bool other = showsOtherFolder();
    const QString sheet =
        other ? QStringLiteral("QListView { border: 2px solid #d07000; background: #fff3d0; }")
              : QString();
    if (sheet != styleSheet()) // setting a style sheet polishes the list again
        setStyleSheet(sheet);
    // Rich text, so that a folder whose name looks like markup is shown as it is.
    const QString folder = QFile::decodeName(escapeControlBytes(view_.folder).c_str());
    setToolTip(
        other ? QStringLiteral("<p style='white-space:pre'>このファイル一覧のフォルダ:<br>%1</p>")
                    .arg(folder.toHtmlEscaped())
              : QString());
}

void FileList::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        // A held key would queue the same conversion again and again.
        if (!event->isAutoRepeat())
            emit returnPressed();
        event->accept();
        return;
    }
    QListView::keyPressEvent(event);
}

std::string FileList::selectedName() const {
    const QModelIndexList selected = selectionModel()->selectedIndexes();
    if (selected.isEmpty())
        return {};
    const auto row = std::size_t(selected.front().row());
    return row < names_.size() ? names_[row] : std::string();
}

bool FileList::selectName(const std::string& name) {
    const auto found = std::find(names_.begin(), names_.end(), name);
    if (found == names_.end())
        return false;
    const QModelIndex index = model_->index(int(found - names_.begin()));
    setCurrentIndex(index);
    selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
    return true;
}

} // namespace stepwell
