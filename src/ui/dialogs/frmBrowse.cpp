// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/dialogs/frmBrowse.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeView>
#include <QVBoxLayout>

#include "core/ErrorText.h"
#include "core/FileSystem.h"
#include "dialogs/ConfigFields.h"
#include "dialogs/Volumes.h"

namespace sabrix {

frmBrowse::frmBrowse(Settings& settings, std::string programDir, Prompts& prompts,
                     QLineEdit* configPath, QWidget* parent)
    : QDialog(parent),
      settings_(settings),
      programDir_(std::move(programDir)),
      prompts_(prompts),
      configPath_(configPath),
      volumes_(FolderVolumes()) {
    setObjectName(QStringLiteral("frmBrowse"));
    setWindowTitle(QStringLiteral("Browse Directories"));
    setModal(true);

    drvList = new QComboBox(this);
    drvList->setObjectName(QStringLiteral("drvList"));
    drvList->addItems(volumes_);

    model_ = new QFileSystemModel(this);
    // Hidden folders stay listed so that any existing data folder can be shown as current.
    model_->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot | QDir::Hidden);
    model_->setReadOnly(true);
    model_->setRootPath(QStringLiteral("/"));

    dirList = new QTreeView(this);
    dirList->setObjectName(QStringLiteral("dirList"));
    dirList->setModel(model_);
    dirList->setHeaderHidden(true);
    for (int column = 1; column < model_->columnCount(); ++column) dirList->hideColumn(column);
    dirList->setSelectionMode(QAbstractItemView::SingleSelection);
    dirList->setSortingEnabled(true);
    dirList->sortByColumn(0, Qt::AscendingOrder);

    txtPath = new QLineEdit(this);
    txtPath->setObjectName(QStringLiteral("txtPath"));

    cmdExit = new QPushButton(QStringLiteral("Enter"), this);
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    cmdExit->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdExit);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtPath);
    layout->addWidget(drvList);
    layout->addWidget(dirList, 1);
    layout->addLayout(buttons);
    resize(420, 440);

    connect(drvList, &QComboBox::activated, this, &frmBrowse::drvList_Change);
    connect(dirList->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &frmBrowse::dirList_Change);
    connect(cmdExit, &QPushButton::clicked, this, &frmBrowse::cmdExit_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmBrowse::cmdCancel_Click);

    Form_Load();
}

QString frmBrowse::currentFolder() const {
    const QModelIndex current = dirList->currentIndex();
    return current.isValid() ? model_->filePath(current) : QString();
}

bool frmBrowse::setCurrentFolder(const QString& path) {
    const QFileInfo info(path);
    if (path.isEmpty() || !info.isDir() || !info.isReadable()) return false;
    const QModelIndex index = model_->index(QDir::cleanPath(info.absoluteFilePath()));
    if (!index.isValid()) return false;
    dirList->setCurrentIndex(index);
    dirList->scrollTo(index);
    // Moving to the folder that is already current fires no change, yet the text must
    // still show it.
    dirList_Change();
    return true;
}

void frmBrowse::Form_Load() {
    // A data folder that has gone since it was configured cannot be shown by the tree, so
    // the browser starts from the program's own folder instead.
    const QString configured = DisplayText(settings_.FilePath);
    if (!settings_.FilePath.empty() && FolderExists(settings_.FilePath) &&
        setCurrentFolder(configured))
        return;
    txtPath->setText(DisplayText(programDir_));
    setCurrentFolder(DisplayText(programDir_));
}

void frmBrowse::drvList_Change() {
    const QString root = drvList->currentText();
    // A volume that cannot be read leaves the tree where it was.
    if (!setCurrentFolder(root)) ShowVolumeOf(currentFolder());
}

void frmBrowse::dirList_Change() {
    const QString folder = currentFolder();
    txtPath->setText(folder);
    ShowVolumeOf(folder);
}

void frmBrowse::ShowVolumeOf(const QString& folder) {
    const int row = volumes_.indexOf(VolumeOf(folder, volumes_));
    if (row < 0) return;
    const QSignalBlocker quiet(drvList);
    drvList->setCurrentIndex(row);
}

void frmBrowse::RestoreFolder(const std::string& kept) {
    settings_.FilePath = kept;
    txtPath->setText(DisplayText(kept));
    if (configPath_ != nullptr) configPath_->setText(DisplayText(kept));
}

void frmBrowse::cmdExit_Click() {
    const std::string kept = settings_.FilePath;
    const QString chosen = txtPath->text();
    if (!NamesAFolder(chosen.toStdString())) {
        prompts_.message(QStringLiteral("Type the folder that holds your star files, or "
                                        "choose it in the list."),
                         QStringLiteral("Browse Directories"), Buttons::OK, Icon::Exclamation);
        txtPath->setFocus();
        return;
    }
    settings_.FilePath = PathBytes(chosen);
    if (configPath_ != nullptr) configPath_->setText(chosen);
    if (!FolderExists(settings_.FilePath)) {
        const Answer answer =
            prompts_.message(QStringLiteral("The folder ") + chosen +
                                 QStringLiteral(" does not exist. Do you want to creat it?"),
                             QStringLiteral("Folder Missing!"), Buttons::YesNo, Icon::None);
        if (answer != Answer::Yes) {
            RestoreFolder(kept);
            settings_.IniMissing = true;
            return;
        }
        // A folder that could not be made must not be taken as the data folder.
        if (!CreateFolder(settings_.FilePath)) {
            prompts_.message(
                QStringLiteral("The folder ") + chosen + QStringLiteral(" could not be created."),
                QStringLiteral("Folder Missing!"), Buttons::OK, Icon::Critical);
            RestoreFolder(kept);
            return;
        }
    }
    accept();
}

void frmBrowse::cmdCancel_Click() {
    reject();
}

}  // namespace sabrix
