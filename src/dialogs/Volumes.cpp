// SPDX-License-Identifier: GPL-3.0-or-later
#include "dialogs/Volumes.h"

#include <QStorageInfo>
#include <algorithm>
#include <array>

namespace sabrix {

bool IsPseudoVolume(const QByteArray& fileSystemType, const QString& rootPath) {
    static const std::array<const char*, 24> kPseudoTypes{
        "proc",     "sysfs",      "devtmpfs", "devpts",    "cgroup",      "cgroup2",
        "pstore",   "securityfs", "debugfs",  "tracefs",   "mqueue",      "hugetlbfs",
        "configfs", "fusectl",    "bpf",      "autofs",    "binfmt_misc", "efivarfs",
        "nsfs",     "rpc_pipefs", "squashfs", "selinuxfs", "ramfs",       "tmpfs"};
    for (const char* type : kPseudoTypes)
        if (fileSystemType == type) return true;
    for (const char* system : {"/proc", "/sys", "/dev", "/run"}) {
        const QString prefix = QString::fromLatin1(system);
        if (rootPath == prefix || rootPath.startsWith(prefix + QLatin1Char('/'))) return true;
    }
    return false;
}

QStringList FolderVolumes() {
    QStringList roots;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = volume.rootPath();
        if (root == QLatin1String("/") || IsPseudoVolume(volume.fileSystemType(), root)) continue;
        roots.append(root);
    }
    roots.sort();
    roots.removeDuplicates();
    roots.prepend(QStringLiteral("/"));
    return roots;
}

QString VolumeOf(const QString& folder, const QStringList& roots) {
    QString best;
    for (const QString& root : roots) {
        const bool holds =
            folder == root ||
            folder.startsWith(root.endsWith(QLatin1Char('/')) ? root : root + QLatin1Char('/'));
        if (holds && root.size() > best.size()) best = root;
    }
    return best;
}

}  // namespace sabrix
