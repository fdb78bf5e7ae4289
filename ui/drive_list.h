// SPDX-License-Identifier: MIT
#pragma once

#include "ui/drives.h"

#include <QComboBox>
#include <map>
#include <string>
#include <vector>

namespace stepwell {

/// The drive list: the mounted volumes, each remembering its own current directory, which
/// stands in for the current directory a drive keeps on systems with drive letters.
class DriveList : public QComboBox {
    Q_OBJECT
public:
    explicit DriveList(QWidget* parent = nullptr);

    /// Fills the list with `drives` and selects the one holding `currentDirectory`, which
    /// becomes that drive's current directory. The drive holding `startDirectory` (the folder
    /// Stepwell was started in, which a default folder may have left) starts there; every
    /// other drive starts at its root. Emits no change.
    void setDrives(std::vector<Drive> drives, const std::string& currentDirectory,
                   const std::string& startDirectory);
    /// The drive at `index`.
    const Drive& drive(int index) const { return drives_.at(std::size_t(index)); }
    /// The current directory of the drive at `index`.
    std::string currentDirectoryOf(int index) const;

signals:
    /// Another drive was picked (changes made by this class itself are not reported).
    void driveChosen(int index);

protected:
    /// Reads the mount table again, so that media mounted since start-up show up.
    void showPopup() override;

private:
    void fill();

    std::vector<Drive> drives_;
    std::map<std::string, std::string> directories_; // mount path -> current directory
};

} // namespace stepwell
