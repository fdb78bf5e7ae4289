// SPDX-License-Identifier: MIT
#pragma once

#include "ui/file_pattern.h"

#include <QListView>
#include <string>
#include <vector>

class QStringListModel;

namespace stepwell {

/// The file list: the regular, non-hidden files of one folder whose names match a pattern,
/// in natural order (ignoring case, numbers by value). Names are kept as the bytes the file system
/// gave, so a name that is not valid UTF-8 still converts.
class FileList : public QListView {
    Q_OBJECT
public:
    explicit FileList(QWidget* parent = nullptr);

    const std::string& path() const { return view_.folder; }
    const std::string& pattern() const { return view_.pattern; }
    /// Shows the files of `folder`. A folder that cannot be read leaves the list as it was
    /// and returns false.
    bool setPath(const std::string& folder);
    /// Applies a pattern box text: a wildcard text is the pattern, a folder part moves the
    /// list (a relative one from `base`). Returns false, leaving the list, when the folder
    /// cannot be read.
    bool setFileName(const std::string& text, const std::string& base);

    /// The selected file's name; "" when none is selected.
    std::string selectedName() const;
    /// The names shown, in order.
    const std::vector<std::string>& names() const { return names_; }
    /// Selects the file shown under `name`; false when there is none.
    bool selectName(const std::string& name);

    /// The folder list's folder. Whenever the list shows another folder, it is tinted and
    /// framed, and its tooltip names its folder, since a conversion takes the file from there.
    void setFolderListPath(const std::string& folder);
    /// Whether the list shows another folder than the folder list's.
    bool showsOtherFolder() const;

signals:
    /// Enter or Return was pressed in the list.
    void returnPressed();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool show(const FileListView& view);
    void markFolder();

    QStringListModel* model_;
    FileListView view_{"", "*"};
    std::vector<std::string> names_;
    std::string folderListPath_;
};

} // namespace stepwell
