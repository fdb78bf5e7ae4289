#pragma once

#include "layout_rule.h"
#include "startup.h"

#include <QWidget>
#include <memory>
#include <string>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace stepwell {

class DriveList;
class FileList;
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

    /// The replace setting the check box shows: 0 off, 1 on, 2 greyed (also on).
    int replaceSetting() const;
    void setReplaceSetting(int value);

    /// Places the folder list, the file list and the pattern box for the window's size.
    void layoutControls();
    /// Converts the file selected in the file list, if any.
    void convertSelected();

    DriveList* Drive1;
    FolderList* Dir1;
    FileList* File1;
    QPushButton* cmdCVT;
    QLineEdit* txtEXT;
    QCheckBox* Check1;
    QLabel* Label1;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void connectControls();
    void showStartupState(const StartupState& state);
    void changeDrive(int index);
    void convert(const std::string& path);
    float twipsPerPixelX() const;
    float twipsPerPixelY() const;
    void place(QWidget* control, const TwipsRect& rect);

    std::string programDir_;
    ResizableControls resizable_;
    std::unique_ptr<Prompts> ownPrompts_;
    Prompts* prompts_;
};

} // namespace stepwell
