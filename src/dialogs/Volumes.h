// SPDX-License-Identifier: GPL-3.0-or-later
// The machine's mounted volumes as the folder browser offers them in its drive list, and
// which of them holds a given folder.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace sabrix {

// True for a file system that holds no user folders (proc, sysfs, cgroup, devpts, ...) or
// for a mount under /proc, /sys, /dev or /run.
bool IsPseudoVolume(const QByteArray& fileSystemType, const QString& rootPath);

// The root paths of the mounted volumes that hold user folders, "/" always first, each
// once, the rest sorted. Never empty.
QStringList FolderVolumes();

// The volume of the list that holds the folder: the longest root that is the folder itself
// or one of its ancestors. Returns an empty text when none does (a relative path).
QString VolumeOf(const QString& folder, const QStringList& roots);

}  // namespace sabrix
