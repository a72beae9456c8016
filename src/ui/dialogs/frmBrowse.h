// SPDX-License-Identifier: GPL-3.0-or-later
// The folder browser "Browse Directories": picks the data folder from the mounted volumes
// and a folder tree instead of typing it. Opened by the configuration dialog's "Browse"
// button; on "Enter" it writes the chosen folder into FilePath and into the configuration
// dialog's path field, offering to create a folder that does not exist.
#pragma once

#include <QDialog>
#include <QStringList>
#include <string>

#include "core/AppState.h"
#include "core/Prompts.h"

class QComboBox;
class QFileSystemModel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace sabrix {

class frmBrowse : public QDialog {
    Q_OBJECT

  public:
    // configPath: the configuration dialog's path field, set together with FilePath;
    // may be null. The browser opens on FilePath, or on programDir when FilePath is empty
    // or names no existing folder.
    frmBrowse(Settings& settings, std::string programDir, Prompts& prompts, QLineEdit* configPath,
              QWidget* parent = nullptr);

    // The folder the tree has as current. Returns an empty text when it has none.
    QString currentFolder() const;
    // Makes the folder the tree's current one (txtPath follows). Returns false, leaving the
    // tree where it was, when the path names no readable folder.
    bool setCurrentFolder(const QString& path);

  public slots:
    void Form_Load();
    void drvList_Change();
    void dirList_Change();
    void cmdExit_Click();
    void cmdCancel_Click();

  private:
    void ShowVolumeOf(const QString& folder);
    void RestoreFolder(const std::string& kept);

    Settings& settings_;
    std::string programDir_;
    Prompts& prompts_;
    QLineEdit* configPath_;
    QStringList volumes_;
    QFileSystemModel* model_;

    QComboBox* drvList;
    QTreeView* dirList;
    QLineEdit* txtPath;
    QPushButton* cmdExit;
    QPushButton* cmdCancel;
};

}  // namespace sabrix
