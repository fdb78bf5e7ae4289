// SPDX-License-Identifier: MIT
#include "ui/main_window.h"

#include "frame/sys/files.h"
#include "frame/text/error.h"
#include "ui/conversion_queue.h"
#include "ui/dialog_prompts.h"
#include "ui/drive_list.h"
#include "ui/file_list.h"
#include "ui/focus_mark.h"
#include "ui/folder_list.h"
#include "ui/stepwell_icon.h"

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <cmath>

namespace stepwell {

MainWindow::MainWindow(const StartupState& state, Prompts* prompts)
    : places_(state.places), prompts_(prompts) {
    if (!prompts_) {
        ownPrompts_ = std::make_unique<DialogPrompts>(this);
        prompts_ = ownPrompts_.get();
    }
    setObjectName(QStringLiteral("frmMAIN"));
    setWindowTitle(QStringLiteral("Stepwell " STEPWELL_VERSION));
    setWindowIcon(stepwellIcon());
    createControls();
    connectControls();
    setUpConversions();
    setUpDrops();
    setUpMenus();
    resize(int(std::lround(design::clientWidth / twipsPerPixelX())),
           int(std::lround(design::clientHeight / twipsPerPixelY())));
    showStartupState(state);
}

MainWindow::~MainWindow() = default;

void MainWindow::createControls() {
    Drive1 = new DriveList(this);
    Dir1 = new FolderList(this);
    File1 = new FileList(this);
    cmdCVT = new QPushButton(QStringLiteral("変換"), this);
    cmdCVT->setAutoDefault(true); // Enter presses it when it has the focus, as Space does
    txtEXT = new QLineEdit(this);
    Check1 = new QCheckBox(QStringLiteral("置換"), this);
    Label1 = new QLabel(QStringLiteral("Label1"), this);
    const std::pair<QWidget*, const char*> names[] = {
        {Drive1, "Drive1"}, {Dir1, "Dir1"},     {File1, "File1"},  {cmdCVT, "cmdCVT"},
        {txtEXT, "txtEXT"}, {Check1, "Check1"}, {Label1, "Label1"}};
    for (const auto& [control, name] : names)
        control->setObjectName(QString::fromLatin1(name));
    for (std::size_t i = 1; i < std::size(names); ++i)
        setTabOrder(names[i - 1].first, names[i].first);

    place(Drive1, design::driveList);
    place(cmdCVT, design::convertButton);
    place(Check1, design::replaceCheck);
    place(Label1, design::label);
    // A caption drawn on the window itself: the lists cover it rather than the other way.
    Label1->lower();
    place(Dir1, resizable_.folderList);
    place(File1, resizable_.fileList);
    place(txtEXT, resizable_.patternBox);
    // Over the controls, ringing the one with the keyboard focus.
    focusMark_ = new FocusMark(this);
}

void MainWindow::connectControls() {
    connect(Drive1, &DriveList::driveChosen, this, &MainWindow::changeDrive);
    connect(Dir1, &FolderList::pathChanged, this, [this] {
        File1->setPath(Dir1->path());
        File1->setFolderListPath(Dir1->path());
    });
    connect(txtEXT, &QLineEdit::textChanged, this, [this](const QString& text) {
        File1->setFileName(QFile::encodeName(text).toStdString(), Dir1->path());
    });
    connect(cmdCVT, &QPushButton::clicked, this, &MainWindow::convertSelected);
    connect(File1, &QAbstractItemView::doubleClicked, this, &MainWindow::convertSelected);
    connect(File1, &FileList::returnPressed, this, &MainWindow::convertSelected);
    // Only the settings file can make the box greyed; a click leaves that state for good.
    connect(Check1, &QCheckBox::clicked, this, [this] { Check1->setTristate(false); });
}

void MainWindow::showStartupState(const StartupState& state) {
    txtEXT->setText(QString::fromStdString(state.pattern));
    setReplaceSetting(state.replaceSetting);
    std::string current;
    try {
        current = currentDirectory();
    } catch (const Error&) {
        current = state.startDirectory.empty() ? "/" : state.startDirectory;
    }
    std::vector<Drive> drives = mountedDrives();
    const std::string root = drives.at(driveOf(drives, current)).mountPath;
    Drive1->setDrives(std::move(drives), current, state.startDirectory);
    if (!Dir1->setPath(current, root))
        Dir1->setPath(root, root);
}

ReplaceSetting MainWindow::replaceSetting() const {
    switch (Check1->checkState()) {
    case Qt::Checked:
        return ReplaceSetting::On;
    case Qt::PartiallyChecked:
        return ReplaceSetting::Greyed;
    default:
        return ReplaceSetting::Off;
    }
}

void MainWindow::setReplaceSetting(ReplaceSetting setting) {
    Check1->setTristate(setting == ReplaceSetting::Greyed);
    Check1->setCheckState(setting == ReplaceSetting::On       ? Qt::Checked
                          : setting == ReplaceSetting::Greyed ? Qt::PartiallyChecked
                                                              : Qt::Unchecked);
}

void MainWindow::changeDrive(int index) {
    // A drive that cannot be entered or read abandons the change; the lists stay as they were.
    const std::string folder = Drive1->currentDirectoryOf(index);
    std::string previous;
    try {
        previous = currentDirectory();
        changeDirectory(folder);
    } catch (const Error&) {
        return;
    }
    if (!Dir1->setPath(folder, Drive1->drive(index).mountPath)) {
        try {
            changeDirectory(previous);
        } catch (const Error&) {
        }
    }
}

void MainWindow::convertSelected() {
    const std::string name = File1->selectedName();
    // The folder the file list shows (which a folder part in the pattern box may have moved
    // away from the folder list's), a '/', and the name, as they stand: at the root this
    // gives "//name", which names the same file.
    if (!name.empty())
        convert(File1->path() + "/" + name);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::DragLeave:
    case QEvent::Drop:
        return filterDrag(watched, event);
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick:
        return filterRightPress(watched, static_cast<QMouseEvent*>(event));
    default:
        return QWidget::eventFilter(watched, event);
    }
}

void MainWindow::layoutControls() {
    // The rule is written for the outer size. It is taken as the client size plus the frame
    // the design allows for, not the frame the desktop draws: that one differs between window
    // managers and is known only once the window is framed, so the same client size could
    // give two layouts, and a frame thinner than the allowance would put the design size
    // below the width where the horizontal rule applies.
    const float width = float(this->width()) * twipsPerPixelX() + design::frameWidth;
    const float height = float(this->height()) * twipsPerPixelY() + design::frameHeight;
    applyLayoutRule(resizable_, width, height);
    place(Dir1, resizable_.folderList);
    place(File1, resizable_.fileList);
    place(txtEXT, resizable_.patternBox);
    // Over the controls, ringing the one with the keyboard focus.
    focusMark_ = new FocusMark(this);
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    layoutControls();
}

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    layoutControls();
}

// 1440 twips make an inch, so 15 twips a pixel at 96 logical DPI.
float MainWindow::twipsPerPixelX() const {
    return 1440.0f / float(logicalDpiX());
}
float MainWindow::twipsPerPixelY() const {
    return 1440.0f / float(logicalDpiY());
}

void MainWindow::place(QWidget* control, const TwipsRect& rect) {
    const auto pixels = [](float twips, float perPixel) {
        return int(std::lround(twips / perPixel));
    };
    const float x = twipsPerPixelX(), y = twipsPerPixelY();
    control->setGeometry(pixels(rect.left, x), pixels(rect.top, y), pixels(rect.width, x),
                         pixels(rect.height, y));
}

} // namespace stepwell
