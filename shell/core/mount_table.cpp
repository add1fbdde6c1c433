// The mounted volumes, read from the mount table: what Computer lists as its drives.
#include "shell/core/shell_namespace_detail.h"

#include "base/file_descriptor.h"

#include <QFile>
#include <QHash>
#include <QSet>

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>

#include <algorithm>

namespace wordloom::shell::detail {

namespace {

// The mount table escapes blanks, tabs, newlines and backslashes as three octal digits (\040).
QByteArray UnescapeOctal(const QByteArray& field) {
    QByteArray out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size()) {
            bool ok = false;
            const int value = field.mid(i + 1, 3).toInt(&ok, 8);
            if (ok) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(field[i]);
    }
    return out;
}

// Device links by label escape unsafe bytes as \xHH.
QByteArray UnescapeHex(const QByteArray& name) {
    QByteArray out;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
            bool ok = false;
            const int value = name.mid(i + 2, 2).toInt(&ok, 16);
            if (ok) {
                out.append(char(value));
                i += 3;
                continue;
            }
        }
        out.append(name[i]);
    }
    return out;
}

bool IsLeftOutFsType(const QByteArray& type) {
    // Pseudo file systems, snap images, container layers and memory file systems are no "drives".
    static const QSet<QByteArray> leftOut = {
        "proc",      "sysfs",       "devtmpfs",    "devpts",          "tmpfs",        "ramfs",
        "cgroup",    "cgroup2",     "overlay",     "squashfs",        "securityfs",   "debugfs",
        "tracefs",   "pstore",      "bpf",         "mqueue",          "hugetlbfs",    "fusectl",
        "configfs",  "autofs",      "binfmt_misc", "efivarfs",        "nsfs",         "rpc_pipefs",
        "selinuxfs", "fuse.portal", "nfsd",        "fuse.gvfsd-fuse", "fuse.snapfuse"};
    return leftOut.contains(type);
}

QHash<QByteArray, QString> VolumeLabels() {
    QHash<QByteArray, QString> labels;
    const DirStream dir(::opendir("/dev/disk/by-label"));
    if (!dir)
        return labels;
    while (dirent* entry = ::readdir(dir.get())) {
        const QByteArray name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        char target[PATH_MAX];
        if (::realpath(QByteArray("/dev/disk/by-label/" + name).constData(), target))
            labels.insert(QByteArray(target), QString::fromUtf8(UnescapeHex(name)));
    }
    return labels;
}

} // namespace

std::vector<Volume> ReadVolumes(const QByteArray& home) {
    std::vector<Volume> volumes;
    Volume root;
    root.mountPoint = "/";
    volumes.push_back(root);

    QFile file(QStringLiteral("/proc/self/mountinfo"));
    if (!file.open(QIODevice::ReadOnly))
        return volumes;
    const QByteArray user = qgetenv("USER");
    const QList<QByteArray> places = {"/media", "/mnt", "/run/media/" + user, home};
    const QHash<QByteArray, QString> labels = VolumeLabels();
    // A mount point mounted over again counts once, with its last (visible) mount.
    QHash<QByteArray, std::size_t> seen;
    for (const QByteArray& line : file.readAll().split('\n')) {
        // id parent major:minor root mountpoint options [optional...] - fstype source superoptions
        const QList<QByteArray> fields = line.split(' ');
        const qsizetype dash = fields.indexOf("-");
        if (fields.size() < 6 || dash < 6 || dash + 2 >= fields.size())
            continue;
        Volume volume;
        volume.mountPoint = UnescapeOctal(fields[4]);
        volume.fsType = fields[dash + 1];
        volume.device = UnescapeOctal(fields[dash + 2]);
        volume.readOnly = fields[5].split(',').contains("ro");
        char target[PATH_MAX];
        if (volume.device.startsWith('/') && ::realpath(volume.device.constData(), target))
            volume.label = labels.value(QByteArray(target));
        if (volume.mountPoint == "/") {
            volumes[0] = volume;
            continue;
        }
        if (IsLeftOutFsType(volume.fsType))
            continue;
        bool placed = false;
        for (const QByteArray& place : places)
            placed = placed ||
                     (place.size() > 1 && IsUnder(volume.mountPoint, place) && volume.mountPoint != place);
        if (!placed)
            continue;
        if (auto it = seen.find(volume.mountPoint); it != seen.end()) {
            volumes[*it] = volume;
            continue;
        }
        seen.insert(volume.mountPoint, volumes.size());
        volumes.push_back(volume);
    }
    std::sort(volumes.begin() + 1, volumes.end(),
              [](const Volume& a, const Volume& b) { return a.mountPoint < b.mountPoint; });
    return volumes;
}

} // namespace wordloom::shell::detail
