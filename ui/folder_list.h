// SPDX-License-Identifier: MIT
#pragma once

#include <QTreeWidget>
#include <string>

namespace stepwell {

/// The folder list: the open folder's chain of parents from its volume's root, each shown
/// open, then its subfolders (hidden ones left out, in natural order), shown closed and
/// indented one step further. A click highlights an entry; a double-click or Enter opens it.
/// A name too long for the list is elided at its end, with the whole name as the entry's
/// tooltip, and a deep folder's chain is indented less per level, so that names stay
/// readable.
class FolderList : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderList(QWidget* parent = nullptr);

    /// The open folder.
    const std::string& path() const { return path_; }
    /// The folder the chain starts at.
    const std::string& root() const { return root_; }
    /// The full path of the highlighted entry (the open folder unless the user highlighted
    /// another); "" before any folder is open.
    std::string highlightedPath() const;

    /// Opens `folder`, with the chain starting at `root` (or at "/" when the folder does not
    /// lie inside it). A folder that cannot be read leaves the list as it was and returns
    /// false. Emits pathChanged when the path changes.
    bool setPath(const std::string& folder, const std::string& root);
    /// Opens `folder` on the current root.
    bool setPath(const std::string& folder) { return setPath(folder, root_); }

signals:
    void pathChanged();

protected:
    bool viewportEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void openItem(QTreeWidgetItem* item);
    void fitIndentation();

    std::string path_;
    int levels_ = 1; // the levels shown: the chain, then its subfolders one level further
    std::string root_ = "/";
};

} // namespace stepwell
