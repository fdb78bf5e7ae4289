// SPDX-License-Identifier: MIT
#pragma once

#include "frame/startup/startup.h"
#include "ui/layout_rule.h"
#include "ui/override_cursor.h"

#include <QList>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <optional>
#include <string>

class QAction;
class QCheckBox;
class QDragEnterEvent;
class QDragMoveEvent;
class QDropEvent;
class QLabel;
class QLineEdit;
class QMenu;
class QMouseEvent;
class QPushButton;
class QShortcut;

namespace stepwell {

struct Conversion;
class ConversionNote;
class ConversionQueue;
class DriveList;
class FileList;
class FocusMark;
class FolderList;
class Prompts;

/// Stepwell's one window, frmMAIN: pick a drive, a folder and a file, filter the files with
/// the pattern box, and convert the chosen file.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    /// Shows the start-up state: `state`'s pattern and replace setting, and the current
    /// directory on its drive. Conversions ask through `prompts`, or through dialogs over
    /// this window when it is null.
    explicit MainWindow(const StartupState& state, Prompts* prompts = nullptr);
    ~MainWindow() override;

    /// The replace setting the check box shows.
    ReplaceSetting replaceSetting() const;
    void setReplaceSetting(ReplaceSetting setting);

    /// Places the folder list, the file list and the pattern box for the window's size.
    void layoutControls();
    /// Converts the file selected in the file list, if any, after those asked for before.
    void convertSelected();
    /// Whether a conversion runs or waits its turn.
    bool converting() const;

    /// Drag-over, for the window and the controls that take dropped files: files are
    /// welcome as a copy, anything else is refused.
    void dragOverFiles(QDragMoveEvent* event);
    /// Drop, for the same: the dropped files are converted one after another.
    void dropFiles(QDropEvent* event);

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void createControls();
    void connectControls();
    void showStartupState(const StartupState& state);
    void changeDrive(int index);
    void convert(const std::string& path);
    void setUpConversions();
    void conversionsBusy(bool busy);
    void conversionFinished(const Conversion& conversion);
    void stopConversions();
    void setUpDrops();
    bool filterDrag(QObject* watched, QEvent* event);
    void setUpMenus();
    bool filterRightPress(QObject* watched, QMouseEvent* event);
    void storeDefaultFolderSetting();
    void storeDefaultReplace();
    float twipsPerPixelX() const;
    float twipsPerPixelY() const;
    void place(QWidget* control, const TwipsRect& rect);

    // The controls, each also found by its object name (its member name here).
    DriveList* Drive1;
    FolderList* Dir1;
    FileList* File1;
    QPushButton* cmdCVT;
    QLineEdit* txtEXT;
    QCheckBox* Check1;
    QLabel* Label1;

    // Context menus, popped up by a right-button press on the folder list or the check box.
    QMenu* dirRightClick;
    QAction* setDefaultDir;
    QMenu* chkRightClick;
    QAction* setDefaultChk;

    FocusMark* focusMark_; // the ring around the control with the keyboard focus

    Places places_;
    ResizableControls resizable_;
    std::unique_ptr<Prompts> ownPrompts_;
    Prompts* prompts_;

    // Conversions run one at a time on a thread of their own. The queue is declared after
    // the prompts it uses, so that it goes first.
    std::unique_ptr<ConversionQueue> conversions_;
    ConversionNote* note_;
    QShortcut* stopKey_;                       // Escape, while a conversion runs or waits
    std::optional<OverrideCursor> busyCursor_; // likewise
    int dropped_ = 0;                          // conversions the last stop took off the queue
    bool tagTableMissingTold_ = false;         // told once a window session
    bool closeWhenStopped_ = false;            // the window was closed during a conversion
};

} // namespace stepwell
