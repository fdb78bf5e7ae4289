// SPDX-License-Identifier: MIT
#include "ui/drive_list.h"

#include <QFile>
#include <QSignalBlocker>

namespace stepwell {
namespace {

QString labelOf(const Drive& drive) {
    QString label = QFile::decodeName(drive.mountPath.c_str());
    if (!drive.device.empty())
        label += QStringLiteral("  [%1]").arg(QFile::decodeName(drive.device.c_str()));
    return label;
}

} // namespace

DriveList::DriveList(QWidget* parent) : QComboBox(parent) {
    connect(this, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index >= 0)
            emit driveChosen(index);
    });
}

void DriveList::setDrives(std::vector<Drive> drives, const std::string& currentDirectory,
                          const std::string& startDirectory) {
    drives_ = std::move(drives);
    directories_.clear();
    if (!startDirectory.empty())
        directories_[drives_.at(driveOf(drives_, startDirectory)).mountPath] = startDirectory;
    // On the drive that holds both, the current directory (the default folder) wins.
    const std::size_t current = driveOf(drives_, currentDirectory);
    directories_[drives_.at(current).mountPath] = currentDirectory;
    const QSignalBlocker blocker(this);
    fill();
    setCurrentIndex(int(current));
}

std::string DriveList::currentDirectoryOf(int index) const {
    const Drive& chosen = drive(index);
    const auto found = directories_.find(chosen.mountPath);
    return found != directories_.end() ? found->second : chosen.mountPath;
}

void DriveList::showPopup() {
    const std::string selected =
        currentIndex() >= 0 ? drive(currentIndex()).mountPath : std::string("/");
    std::vector<Drive> fresh = mountedDrives();
    if (fresh != drives_) {
        drives_ = std::move(fresh);
        const QSignalBlocker blocker(this);
        fill();
        for (std::size_t i = 0; i < drives_.size(); ++i)
            if (drives_[i].mountPath == selected)
                setCurrentIndex(int(i));
    }
    QComboBox::showPopup();
}

void DriveList::fill() {
    clear();
    for (const Drive& drive : drives_)
        addItem(labelOf(drive));
}

} // namespace stepwell
