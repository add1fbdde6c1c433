#include "shell/core/shell_namespace.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QStandardPaths>

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

namespace wordloom::shell {

namespace {

// How long the mount table and the special-folder locations stay cached (milliseconds): long enough
// for a listing that asks per object, short enough to see a stick that was just plugged in.
constexpr qint64 kCacheLifetimeMs = 2000;

qint64 NowMs() {
    static QElapsedTimer clock;
    if (!clock.isValid())
        clock.start();
    return clock.elapsed();
}

QByteArray ToBytes(std::string_view view) {
    return QByteArray(view.data(), qsizetype(view.size()));
}

QString DecodeName(std::string_view view) {
    return QFile::decodeName(ToBytes(view));
}

QByteArray JoinPath(const QByteArray& dir, std::string_view name) {
    QByteArray path = dir;
    if (!path.endsWith('/'))
        path.append('/');
    path.append(name.data(), qsizetype(name.size()));
    return path;
}

bool IsDirectory(const QByteArray& path) {
    struct stat st;
    return ::stat(path.constData(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Dir for directories and symbolic links to them, File for everything else; none when missing.
std::optional<ItemKind> KindOfPath(const QByteArray& path) {
    struct stat st;
    if (::lstat(path.constData(), &st) != 0)
        return std::nullopt;
    if (S_ISLNK(st.st_mode))
        return IsDirectory(path) ? ItemKind::Dir : ItemKind::File;
    return S_ISDIR(st.st_mode) ? ItemKind::Dir : ItemKind::File;
}

bool IsValidFileName(const QByteArray& name) {
    return !name.isEmpty() && name != "." && name != ".." && !name.contains('/') && !name.contains('\0');
}

bool IsUnder(const QByteArray& path, const QByteArray& dir) {
    if (dir == "/")
        return path.startsWith('/');
    return !dir.isEmpty() && path.startsWith(dir) && (path.size() == dir.size() || path[dir.size()] == '/');
}

// ---- mount table ----

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
    DIR* dir = ::opendir("/dev/disk/by-label");
    if (!dir)
        return labels;
    while (dirent* entry = ::readdir(dir)) {
        const QByteArray name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        char target[PATH_MAX];
        if (::realpath(QByteArray("/dev/disk/by-label/" + name).constData(), target))
            labels.insert(QByteArray(target), QString::fromUtf8(UnescapeHex(name)));
    }
    ::closedir(dir);
    return labels;
}

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

// ---- name ordering ----

// Digit runs compare by their value, everything else character by character with letter case
// folded: "file2" before "file10", "apple" before "Banana".
int NaturalCompare(const QString& a, const QString& b) {
    qsizetype i = 0;
    qsizetype j = 0;
    while (i < a.size() && j < b.size()) {
        if (a[i].isDigit() && b[j].isDigit()) {
            qsizetype endA = i;
            qsizetype endB = j;
            while (endA < a.size() && a[endA].isDigit())
                ++endA;
            while (endB < b.size() && b[endB].isDigit())
                ++endB;
            qsizetype startA = i;
            qsizetype startB = j;
            while (startA + 1 < endA && a[startA].digitValue() == 0)
                ++startA;
            while (startB + 1 < endB && b[startB].digitValue() == 0)
                ++startB;
            if (endA - startA != endB - startB)
                return endA - startA < endB - startB ? -1 : 1;
            for (qsizetype k = 0; k < endA - startA; ++k) {
                const int da = a[startA + k].digitValue();
                const int db = b[startB + k].digitValue();
                if (da != db)
                    return da < db ? -1 : 1;
            }
            i = endA;
            j = endB;
            continue;
        }
        const char32_t ca = a[i].toCaseFolded().unicode();
        const char32_t cb = b[j].toCaseFolded().unicode();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

int CompareNames(std::string_view a, std::string_view b) {
    if (a == b)
        return 0;
    const int order = NaturalCompare(DecodeName(a), DecodeName(b));
    if (order != 0)
        return order;
    return a < b ? -1 : 1;
}

int KindRank(ItemKind kind) {
    switch (kind) {
    case ItemKind::Computer:
        return 0;
    case ItemKind::Home:
        return 1;
    case ItemKind::Trash:
        return 2;
    case ItemKind::Network:
        return 3;
    case ItemKind::Volume:
        return 4;
    case ItemKind::Dir:
        return 5;
    case ItemKind::File:
        return 6;
    }
    return 7;
}

int CompareItems(const ItemView& a, const ItemView& b) {
    if (a.kind != b.kind)
        return KindRank(a.kind) < KindRank(b.kind) ? -1 : 1;
    if (a.kind == ItemKind::Volume) {
        if ((a.name == "/") != (b.name == "/"))
            return a.name == "/" ? -1 : 1;
    }
    return CompareNames(a.name, b.name);
}

// ---- enumerators ----

class ListEnumerator : public FolderEnumerator {
public:
    explicit ListEnumerator(std::vector<IDList> items) : m_items(std::move(items)) {}
    OptIDList Next() override {
        if (m_next >= m_items.size())
            return std::nullopt;
        return m_items[m_next++];
    }

private:
    std::vector<IDList> m_items;
    std::size_t m_next = 0;
};

class DirectoryEnumerator : public FolderEnumerator {
public:
    explicit DirectoryEnumerator(DIR* dir) : m_dir(dir) {}
    ~DirectoryEnumerator() override { ::closedir(m_dir); }
    OptIDList Next() override {
        while (dirent* entry = ::readdir(m_dir)) {
            const std::string_view name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            ItemKind kind = ItemKind::File;
            if (entry->d_type == DT_DIR) {
                kind = ItemKind::Dir;
            } else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
                // Only links and file systems without type hints cost a stat.
                struct stat st;
                if (::fstatat(::dirfd(m_dir), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode))
                    kind = ItemKind::Dir;
            }
            return IDList::Item(kind, name);
        }
        return std::nullopt;
    }

private:
    DIR* m_dir;
};

class ChainEnumerator : public FolderEnumerator {
public:
    ChainEnumerator(std::unique_ptr<FolderEnumerator> first, std::unique_ptr<FolderEnumerator> second)
        : m_first(std::move(first)), m_second(std::move(second)) {}
    OptIDList Next() override {
        if (m_first) {
            if (OptIDList item = m_first->Next())
                return item;
            m_first.reset();
        }
        return m_second ? m_second->Next() : std::nullopt;
    }

private:
    std::unique_ptr<FolderEnumerator> m_first;
    std::unique_ptr<FolderEnumerator> m_second;
};

// ---- providers ----

// A directory of the file system. `m_dir` is where its objects lie; the folder itself may have no path
// of its own (the trash shows the files of its "files" folder).
class FileSystemFolder : public ShellFolder {
public:
    FileSystemFolder(IDList id, QByteArray dir) : ShellFolder(std::move(id)), m_dir(std::move(dir)) {}

    std::unique_ptr<FolderEnumerator> EnumObjects() const override {
        DIR* dir = ::opendir(m_dir.constData());
        if (!dir)
            return nullptr;
        return std::make_unique<DirectoryEnumerator>(dir);
    }

    OptIDList ParseDisplayName(const QString& name) const override {
        IDList result;
        QByteArray path = m_dir;
        const QList<QByteArray> parts = QFile::encodeName(name).split('/');
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const QByteArray& part = parts[i];
            if (part.isEmpty() && i > 0 && i == parts.size() - 1)
                break; // one trailing "/"
            if (!IsValidFileName(part))
                return std::nullopt;
            path = JoinPath(path, part.toStdString());
            const std::optional<ItemKind> kind = KindOfPath(path);
            if (!kind)
                return std::nullopt;
            result = result.Appended(*kind, part.toStdString());
        }
        if (result.IsDesktop())
            return std::nullopt;
        return result;
    }

    std::uint32_t GetAttributesOf(const IDList& item, std::uint32_t mask) const override {
        if (item.IsDesktop())
            return 0;
        const ItemView last = item.LastItem();
        const bool isDir = last.kind == ItemKind::Dir;
        std::uint32_t attributes = Sfgao::FileSystem;
        if (isDir)
            attributes |= Sfgao::Folder | Sfgao::FileSysAncestor;
        if ((mask & Sfgao::Hidden) && item.ItemCount() == 1 && IsHiddenName(last.name))
            attributes |= Sfgao::Hidden;
        const std::uint32_t needStat =
            Sfgao::Link | Sfgao::HasSubfolder | Sfgao::CanRename | Sfgao::CanDelete;
        if (mask & needStat) {
            const QByteArray path = ItemPath(item);
            struct stat st;
            if (::lstat(path.constData(), &st) != 0)
                return 0; // gone meanwhile
            if (S_ISLNK(st.st_mode))
                attributes |= Sfgao::Link;
            if (isDir && (mask & Sfgao::HasSubfolder)) {
                struct stat target;
                // A directory's link count is 2 + its subdirectories where the file system keeps it;
                // other file systems report 1, and there we cannot know without a scan.
                if (::stat(path.constData(), &target) != 0 || target.st_nlink != 2)
                    attributes |= Sfgao::HasSubfolder;
            }
            if ((mask & (Sfgao::CanRename | Sfgao::CanDelete)) && item.ItemCount() == 1 && CanChange(st))
                attributes |= Sfgao::CanRename | Sfgao::CanDelete;
        }
        return attributes & mask;
    }

    StrRet GetDisplayNameOf(const IDList& item) const override {
        StrRet result;
        if (item.ItemCount() == 1) {
            // The name lies in the item itself, after its size and kind bytes.
            result.type = StrRet::Offset;
            result.offset = 3;
        } else {
            result.type = StrRet::Wide;
            result.wide = item.IsDesktop() ? QString() : DecodeName(item.LastItem().name);
        }
        return result;
    }

    OptIDList SetNameOf(const IDList& item, const QString& name, QString* error) const override {
        const QByteArray newName = QFile::encodeName(name);
        if (!IsValidFileName(newName) || item.ItemCount() != 1) {
            *error = QCoreApplication::translate("Pathwright", "Invalid name: %1").arg(name);
            return std::nullopt;
        }
        const ItemView last = item.LastItem();
        if (ToBytes(last.name) == newName)
            return item;
        const QByteArray from = JoinPath(m_dir, last.name);
        const QByteArray to = JoinPath(m_dir, newName.toStdString());
        // Never replace another object silently.
        int result = ::renameat2(AT_FDCWD, from.constData(), AT_FDCWD, to.constData(), RENAME_NOREPLACE);
        if (result != 0 && errno == EINVAL) {
            struct stat st;
            if (::lstat(to.constData(), &st) == 0) {
                errno = EEXIST;
            } else {
                result = ::rename(from.constData(), to.constData());
            }
        }
        if (result != 0) {
            *error = QString::fromLocal8Bit(::strerror(errno));
            return std::nullopt;
        }
        return IDList::Item(last.kind, newName.toStdString());
    }

    QByteArray ItemPath(const IDList& item) const {
        QByteArray path = m_dir;
        for (const ItemView& view : item.Items())
            path = JoinPath(path, view.name);
        return path;
    }

private:
    bool IsHiddenName(std::string_view name) const {
        if (!name.empty() && name[0] == '.')
            return true;
        if (!m_hiddenRead) {
            // A folder's ".hidden" file lists further names to hide, one a line.
            m_hiddenRead = true;
            QFile file(QFile::decodeName(JoinPath(m_dir, ".hidden")));
            if (file.open(QIODevice::ReadOnly)) {
                for (const QByteArray& line : file.readAll().split('\n'))
                    if (!line.isEmpty())
                        m_hiddenNames.insert(line);
            }
        }
        return !m_hiddenNames.isEmpty() && m_hiddenNames.contains(ToBytes(name));
    }

    // Renaming or deleting needs a writable, searchable folder on a volume that is not read-only, and in a
    // folder with the sticky bit, an object or folder of our own.
    bool CanChange(const struct stat& object) const {
        if (!m_folderFactsRead) {
            m_folderFactsRead = true;
            struct stat st;
            struct statvfs vfs;
            m_folderWritable = ::access(m_dir.constData(), W_OK | X_OK) == 0 &&
                               ::stat(m_dir.constData(), &st) == 0 &&
                               !(::statvfs(m_dir.constData(), &vfs) == 0 && (vfs.f_flag & ST_RDONLY));
            if (m_folderWritable) {
                m_sticky = st.st_mode & S_ISVTX;
                m_folderOwner = st.st_uid;
            }
        }
        if (!m_folderWritable)
            return false;
        const uid_t me = ::geteuid();
        return !m_sticky || me == 0 || object.st_uid == me || m_folderOwner == me;
    }

    QByteArray m_dir;
    mutable bool m_hiddenRead = false;
    mutable QSet<QByteArray> m_hiddenNames;
    mutable bool m_folderFactsRead = false;
    mutable bool m_folderWritable = false;
    mutable bool m_sticky = false;
    mutable uid_t m_folderOwner = 0;
};

QString VolumeDisplayName(std::string_view mountPoint) {
    for (const Volume& volume : ShellContext::Instance().Volumes()) {
        if (volume.mountPoint == ToBytes(mountPoint) && !volume.label.isEmpty())
            return volume.label;
    }
    if (mountPoint == "/")
        return QCoreApplication::translate("Pathwright", "File System");
    const QByteArray point = ToBytes(mountPoint);
    return QFile::decodeName(point.mid(point.lastIndexOf('/') + 1));
}

class ComputerFolder : public ShellFolder {
public:
    ComputerFolder() : ShellFolder(IDList::Item(ItemKind::Computer, {})) {}

    std::unique_ptr<FolderEnumerator> EnumObjects() const override {
        ShellContext::Instance().Refresh();
        std::vector<IDList> items;
        for (const Volume& volume : ShellContext::Instance().Volumes())
            items.push_back(IDList::Item(ItemKind::Volume, volume.mountPoint.toStdString()));
        return std::make_unique<ListEnumerator>(std::move(items));
    }

    OptIDList ParseDisplayName(const QString& name) const override {
        // A path, relative to Computer: the absolute list without its Computer item.
        const OptIDList absolute = IDListFromName(nullptr, name);
        if (!absolute || absolute->IsDesktop() || absolute->Items().front().kind != ItemKind::Computer ||
            absolute->ItemCount() < 2)
            return std::nullopt;
        const std::vector<ItemView> items = absolute->Items();
        IDList relative;
        for (std::size_t i = 1; i < items.size(); ++i)
            relative = relative.Appended(items[i].kind, items[i].name);
        return relative;
    }

    std::uint32_t GetAttributesOf(const IDList& item, std::uint32_t mask) const override {
        if (item.IsDesktop())
            return 0;
        if (item.ItemCount() > 1)
            return AttributesOf(ID().Appended(item), mask);
        return (Sfgao::Folder | Sfgao::FileSystem | Sfgao::FileSysAncestor | Sfgao::HasSubfolder) & mask;
    }

    StrRet GetDisplayNameOf(const IDList& item) const override {
        StrRet result;
        result.type = StrRet::Wide;
        result.wide = item.IsDesktop() ? QString() : DisplayNameOf(ID().Appended(item));
        return result;
    }
};

class NetworkFolder : public ShellFolder {
public:
    NetworkFolder() : ShellFolder(IDList::Item(ItemKind::Network, {})) {}
    // No network browsing service is asked: the folder is shown, and empty.
    std::unique_ptr<FolderEnumerator> EnumObjects() const override {
        return std::make_unique<ListEnumerator>(std::vector<IDList>());
    }
    OptIDList ParseDisplayName(const QString&) const override { return std::nullopt; }
    std::uint32_t GetAttributesOf(const IDList&, std::uint32_t) const override { return 0; }
    StrRet GetDisplayNameOf(const IDList&) const override { return StrRet(); }
};

class DesktopFolderImpl : public ShellFolder {
public:
    DesktopFolderImpl() : ShellFolder(IDList()) {}

    std::unique_ptr<FolderEnumerator> EnumObjects() const override {
        std::vector<IDList> items = {IDList::Item(ItemKind::Computer, {}), IDList::Item(ItemKind::Home, {}),
                                     IDList::Item(ItemKind::Trash, {}), IDList::Item(ItemKind::Network, {})};
        auto fixed = std::make_unique<ListEnumerator>(std::move(items));
        const QByteArray desktop = ShellContext::Instance().DesktopPath();
        std::unique_ptr<FolderEnumerator> entries;
        if (!desktop.isEmpty())
            entries = FileSystemFolder(IDList(), desktop).EnumObjects();
        return std::make_unique<ChainEnumerator>(std::move(fixed), std::move(entries));
    }

    OptIDList ParseDisplayName(const QString& name) const override {
        if (name.startsWith(u'/'))
            return ParseAbsolutePath(name);
        const QByteArray desktop = ShellContext::Instance().DesktopPath();
        if (desktop.isEmpty())
            return std::nullopt;
        return FileSystemFolder(IDList(), desktop).ParseDisplayName(name);
    }

    std::uint32_t GetAttributesOf(const IDList& item, std::uint32_t mask) const override {
        return item.IsDesktop() ? 0 : AttributesOf(item, mask);
    }

    StrRet GetDisplayNameOf(const IDList& item) const override {
        StrRet result;
        result.type = StrRet::Wide;
        result.wide = item.IsDesktop() ? QString() : DisplayNameOf(item);
        return result;
    }

    OptIDList SetNameOf(const IDList& item, const QString& name, QString* error) const override {
        const QByteArray desktop = ShellContext::Instance().DesktopPath();
        if (desktop.isEmpty() || item.IsDesktop() || !IsFileSystemKind(item.Items().front().kind))
            return ShellFolder::SetNameOf(item, name, error);
        return FileSystemFolder(IDList(), desktop).SetNameOf(item, name, error);
    }

    // "/a/b" -> Computer, the volume with the longest mount point that holds the path, then the names.
    static OptIDList ParseAbsolutePath(const QString& name) {
        const QString clean = QDir::cleanPath(name);
        const QByteArray path = QFile::encodeName(clean);
        struct stat st;
        if (!path.startsWith('/') || ::lstat(path.constData(), &st) != 0)
            return std::nullopt;
        const Volume* best = nullptr;
        for (const Volume& volume : ShellContext::Instance().Volumes()) {
            if (IsUnder(path, volume.mountPoint) &&
                (!best || volume.mountPoint.size() > best->mountPoint.size()))
                best = &volume;
        }
        if (!best)
            return std::nullopt;
        IDList result =
            IDList::Item(ItemKind::Computer, {}).Appended(ItemKind::Volume, best->mountPoint.toStdString());
        QByteArray walked = best->mountPoint;
        const QByteArray rest = best->mountPoint == "/" ? path.mid(1) : path.mid(best->mountPoint.size() + 1);
        for (const QByteArray& part : rest.split('/')) {
            if (part.isEmpty())
                continue;
            walked = JoinPath(walked, part.toStdString());
            const std::optional<ItemKind> kind = KindOfPath(walked);
            if (!kind)
                return std::nullopt;
            result = result.Appended(*kind, part.toStdString());
        }
        return result;
    }
};

// ---- special folders ----

QByteArray StandardPath(QStandardPaths::StandardLocation location) {
    return QFile::encodeName(QStandardPaths::writableLocation(location));
}

QByteArray XdgHome(const char* variable, const char* fallback) {
    const QByteArray value = qgetenv(variable);
    if (!value.isEmpty() && value.startsWith('/'))
        return value;
    return ShellContext::Instance().HomePath() + fallback;
}

struct SpecialFolderEntry {
    int number;
    // The file-system place on Linux; empty when the kind is virtual or has no place here.
    QByteArray (*path)();
};

QByteArray NoPath() {
    return QByteArray();
}

// Where each kind lies on Linux, and why:
// SF_FILESYSTEMFOLDER, SF_DRIVES -> Computer (virtual): the mounted volumes play the drives.
// SF_BITBUCKET -> Trash (virtual): the freedesktop trash is the recycle bin.
// SF_CONTROLS -> unknown: no control panel folder exists; settings are programs.
// SF_DESKTOP -> the desktop (empty list).
// SF_DESKTOPDIRECTORY -> XDG_DESKTOP_DIR (user-dirs.dirs): the desktop's own files.
// SF_FONTS -> $XDG_DATA_HOME/fonts: where a user installs fonts.
// SF_NETHOOD -> unknown: network shortcuts live in a bookmarks file, not a folder.
// SF_NETWORK -> Network (virtual).
// SF_PERSONAL -> XDG_DOCUMENTS_DIR: the user's documents.
// SF_PRINTERS -> unknown: printers are not folders here.
// SF_PROGRAMS -> $XDG_DATA_HOME/applications: the user's program launchers (the menu entries).
// SF_RECENT -> unknown: recent documents are kept in one file (recently-used.xbel), not a folder.
// SF_SENDTO -> unknown: no send-to folder exists.
// SF_STARTMENU -> $XDG_CONFIG_HOME/menus: the user's menu layout.
// SF_STARTUP -> $XDG_CONFIG_HOME/autostart: programs started at log-in.
// SF_TEMPLATES -> XDG_TEMPLATES_DIR: document templates.
// SF_FAVORITES -> unknown: bookmarks are a file, not a folder.
// SF_COMMON_STARTMENU -> /etc/xdg/menus: the system-wide menu layout.
// SF_COMMON_STARTUP -> /etc/xdg/autostart: programs started at every user's log-in.
// SF_COMMON_DESKTOPDIRECTORY -> unknown: there is no shared desktop folder.
// SF_APPDATA -> $XDG_DATA_HOME: per-user application data.
// SF_PRINTHOOD -> unknown: no printer shortcuts folder.
// SF_COMMON_FAVORITES -> unknown: no shared bookmarks folder.
// SF_INTERNET_CACHE -> $XDG_CACHE_HOME: the per-user cache.
// SF_COOKIES, SF_HISTORY -> unknown: browsers keep them in their own profiles.
// A kind whose place does not exist on this machine counts as unknown too.
const SpecialFolderEntry kSpecialFolders[kShellFolderKindCount] = {
    {0x11, NoPath}, // SF_FILESYSTEMFOLDER
    {0x0A, NoPath}, // SF_BITBUCKET
    {0x03, NoPath}, // SF_CONTROLS
    {0x00, NoPath}, // SF_DESKTOP
    {0x10, []() -> QByteArray { return ShellContext::Instance().DesktopPath(); }},
    {0x11, NoPath}, // SF_DRIVES
    {0x14, []() -> QByteArray { return XdgHome("XDG_DATA_HOME", "/.local/share") + "/fonts"; }},
    {0x13, NoPath}, // SF_NETHOOD
    {0x12, NoPath}, // SF_NETWORK
    {0x05, []() -> QByteArray { return StandardPath(QStandardPaths::DocumentsLocation); }},
    {0x04, NoPath}, // SF_PRINTERS
    {0x02, []() -> QByteArray { return XdgHome("XDG_DATA_HOME", "/.local/share") + "/applications"; }},
    {0x08, NoPath}, // SF_RECENT
    {0x09, NoPath}, // SF_SENDTO
    {0x0B, []() -> QByteArray { return XdgHome("XDG_CONFIG_HOME", "/.config") + "/menus"; }},
    {0x07, []() -> QByteArray { return XdgHome("XDG_CONFIG_HOME", "/.config") + "/autostart"; }},
    {0x15, []() -> QByteArray { return StandardPath(QStandardPaths::TemplatesLocation); }},
    {0x06, NoPath}, // SF_FAVORITES
    {0x16, []() -> QByteArray { return QByteArray("/etc/xdg/menus"); }},
    {0x18, []() -> QByteArray { return QByteArray("/etc/xdg/autostart"); }},
    {0x19, NoPath}, // SF_COMMON_DESKTOPDIRECTORY
    {0x1A, []() -> QByteArray { return XdgHome("XDG_DATA_HOME", "/.local/share"); }},
    {0x1B, NoPath}, // SF_PRINTHOOD
    {0x1F, NoPath}, // SF_COMMON_FAVORITES
    {0x20, []() -> QByteArray { return XdgHome("XDG_CACHE_HOME", "/.cache"); }},
    {0x21, NoPath}, // SF_COOKIES
    {0x22, NoPath}, // SF_HISTORY
};

} // namespace

// ---- public routines ----

OptIDList ShellFolder::SetNameOf(const IDList&, const QString& name, QString* error) const {
    *error = QCoreApplication::translate("Pathwright", "Cannot rename to %1").arg(name);
    return std::nullopt;
}

ShellContext& ShellContext::Instance() {
    static ShellContext context;
    return context;
}

ShellContext::ShellContext() : m_desktop(std::make_shared<DesktopFolderImpl>()) {}

const std::vector<Volume>& ShellContext::Volumes() {
    const qint64 now = NowMs();
    if (m_volumesReadAt < 0 || now - m_volumesReadAt > kCacheLifetimeMs) {
        m_volumes = ReadVolumes(HomePath());
        m_volumesReadAt = now;
    }
    return m_volumes;
}

void ShellContext::Refresh() {
    m_volumesReadAt = -1;
    m_specialReadAt = -1;
}

QByteArray ShellContext::HomePath() const {
    return QFile::encodeName(QDir::homePath());
}

QByteArray ShellContext::DesktopPath() const {
    const QByteArray desktop =
        QFile::encodeName(QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation)));
    if (desktop.isEmpty() || desktop == QFile::encodeName(QDir::cleanPath(QDir::homePath())) ||
        !IsDirectory(desktop))
        return QByteArray();
    return desktop;
}

QByteArray ShellContext::TrashPath() const {
    return XdgHome("XDG_DATA_HOME", "/.local/share") + "/Trash";
}

QByteArray ShellContext::TrashFilesPath() const {
    return TrashPath() + "/files";
}

const std::vector<OptIDList>& ShellContext::SpecialLocations() {
    const qint64 now = NowMs();
    if (m_specialReadAt < 0 || now - m_specialReadAt > kCacheLifetimeMs) {
        m_specialReadAt = now; // before the lookups: they ask for the volumes, not for this table
        m_specialLocations.clear();
        for (int kind = 0; kind < kShellFolderKindCount; ++kind)
            m_specialLocations.push_back(SpecialFolderLocation(TVelShellFolder(kind)));
    }
    return m_specialLocations;
}

int SpecialFolderNumber(TVelShellFolder kind) {
    return kind >= 0 && kind < kShellFolderKindCount ? kSpecialFolders[kind].number : -1;
}

OptIDList SpecialFolderLocation(TVelShellFolder kind) {
    switch (kind) {
    case SF_DESKTOP:
        return IDList();
    case SF_FILESYSTEMFOLDER:
    case SF_DRIVES:
        return IDList::Item(ItemKind::Computer, {});
    case SF_BITBUCKET:
        return IDList::Item(ItemKind::Trash, {});
    case SF_NETWORK:
        return IDList::Item(ItemKind::Network, {});
    default:
        break;
    }
    if (kind < 0 || kind >= kShellFolderKindCount)
        return std::nullopt;
    const QByteArray path = kSpecialFolders[kind].path();
    if (path.isEmpty() || !IsDirectory(path))
        return std::nullopt;
    return DesktopFolderImpl::ParseAbsolutePath(QFile::decodeName(path));
}

TVelShellFolder SpecialFolderIndex(const IDList& absolute) {
    const std::vector<OptIDList>& locations = ShellContext::Instance().SpecialLocations();
    for (int kind = SF_BITBUCKET; kind <= SF_PRINTHOOD; ++kind) {
        if (locations[std::size_t(kind)] && CompareIDs(absolute, *locations[std::size_t(kind)]) == 0)
            return TVelShellFolder(kind);
    }
    return SF_FILESYSTEMFOLDER;
}

QByteArray PathFromIDList(const IDList& absolute) {
    const std::vector<ItemView> items = absolute.Items();
    ShellContext& context = ShellContext::Instance();
    if (items.empty())
        return context.DesktopPath();
    QByteArray path;
    std::size_t next = 1;
    switch (items[0].kind) {
    case ItemKind::Computer:
        if (items.size() < 2 || items[1].kind != ItemKind::Volume)
            return QByteArray();
        path = ToBytes(items[1].name);
        next = 2;
        break;
    case ItemKind::Home:
        path = context.HomePath();
        break;
    case ItemKind::Trash:
        if (items.size() < 2)
            return QByteArray();
        path = context.TrashFilesPath();
        break;
    case ItemKind::File:
    case ItemKind::Dir:
        path = context.DesktopPath();
        if (path.isEmpty())
            return QByteArray();
        next = 0;
        break;
    default:
        return QByteArray();
    }
    for (std::size_t i = next; i < items.size(); ++i) {
        if (!IsFileSystemKind(items[i].kind))
            return QByteArray();
        path = JoinPath(path, items[i].name);
    }
    return path;
}

std::shared_ptr<ShellFolder> BindToFolder(const IDList& absolute) {
    if (absolute.IsDesktop())
        return ShellContext::Instance().DesktopFolder();
    const std::vector<ItemView> items = absolute.Items();
    if (items.size() == 1) {
        switch (items[0].kind) {
        case ItemKind::Computer:
            return std::make_shared<ComputerFolder>();
        case ItemKind::Network:
            return std::make_shared<NetworkFolder>();
        case ItemKind::Trash: {
            const QByteArray files = ShellContext::Instance().TrashFilesPath();
            return std::make_shared<FileSystemFolder>(absolute, files);
        }
        default:
            break;
        }
    }
    const QByteArray path = PathFromIDList(absolute);
    if (path.isEmpty() || !IsDirectory(path))
        return nullptr;
    return std::make_shared<FileSystemFolder>(absolute, path);
}

OptIDList IDListFromName(const ShellFolder* folder, const QString& name) {
    if (name.isEmpty())
        return std::nullopt;
    const ShellFolder* parser = folder ? folder : ShellContext::Instance().DesktopFolder().get();
    return parser->ParseDisplayName(name);
}

int CompareIDs(const IDList& a, const IDList& b) {
    const std::vector<ItemView> left = a.Items();
    const std::vector<ItemView> right = b.Items();
    for (std::size_t i = 0; i < left.size() && i < right.size(); ++i) {
        if (left[i].kind == right[i].kind && left[i].name == right[i].name)
            continue;
        return CompareItems(left[i], right[i]);
    }
    if (left.size() == right.size())
        return 0;
    return left.size() < right.size() ? -1 : 1;
}

QString DisplayNameOf(const IDList& absolute) {
    if (absolute.IsDesktop())
        return QCoreApplication::translate("Pathwright", "Desktop");
    const ItemView last = absolute.LastItem();
    switch (last.kind) {
    case ItemKind::Computer:
        return QCoreApplication::translate("Pathwright", "Computer");
    case ItemKind::Home:
        return QCoreApplication::translate("Pathwright", "Home");
    case ItemKind::Trash:
        return QCoreApplication::translate("Pathwright", "Trash");
    case ItemKind::Network:
        return QCoreApplication::translate("Pathwright", "Network");
    case ItemKind::Volume:
        return VolumeDisplayName(last.name);
    case ItemKind::File:
    case ItemKind::Dir:
        return DecodeName(last.name);
    }
    return QString();
}

std::uint32_t AttributesOf(const IDList& absolute, std::uint32_t mask) {
    if (absolute.IsDesktop())
        return (Sfgao::Folder | Sfgao::FileSysAncestor | Sfgao::HasSubfolder) & mask;
    const ItemView last = absolute.LastItem();
    switch (last.kind) {
    case ItemKind::Computer:
        return (Sfgao::Folder | Sfgao::FileSysAncestor | Sfgao::HasSubfolder) & mask;
    case ItemKind::Home:
        return (Sfgao::Folder | Sfgao::FileSystem | Sfgao::FileSysAncestor | Sfgao::HasSubfolder) & mask;
    case ItemKind::Trash:
    case ItemKind::Network:
        return Sfgao::Folder & mask;
    case ItemKind::Volume:
        return (Sfgao::Folder | Sfgao::FileSystem | Sfgao::FileSysAncestor | Sfgao::HasSubfolder) & mask;
    case ItemKind::File:
    case ItemKind::Dir: {
        const IDList parent = absolute.Parent();
        const QByteArray parentPath = parent.IsDesktop() ? ShellContext::Instance().DesktopPath()
                                      : parent.ItemCount() == 1 && parent.LastItem().kind == ItemKind::Trash
                                          ? ShellContext::Instance().TrashFilesPath()
                                          : PathFromIDList(parent);
        if (parentPath.isEmpty())
            return 0;
        return FileSystemFolder(parent, parentPath).GetAttributesOf(absolute.LastItemList(), mask);
    }
    }
    return 0;
}

bool IsDriveRoot(const QString& path) {
    QByteArray bytes = QFile::encodeName(path);
    if (bytes.size() > 1 && bytes.endsWith('/'))
        bytes.chop(1);
    if (bytes.isEmpty())
        return false;
    for (const Volume& volume : ShellContext::Instance().Volumes()) {
        if (volume.mountPoint == bytes)
            return true;
    }
    return false;
}

bool ObjectExists(const QString& path) {
    struct stat st;
    return (!path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0) || IsDriveRoot(path);
}

int ItemKindRank(ItemKind kind) {
    return KindRank(kind);
}

} // namespace wordloom::shell
