#include "shell/core/shell_namespace_detail.h"

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

namespace detail {

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

} // namespace detail

using namespace detail;

// ---- public routines ----

OptIDList ShellFolder::SetNameOf(const IDList&, const QString& name, QString* error) const {
    *error = QCoreApplication::translate("Pathwright", "Cannot rename to %1").arg(name);
    return std::nullopt;
}

ShellContext& ShellContext::Instance() {
    static ShellContext context;
    return context;
}

ShellContext::ShellContext() : m_desktop(MakeDesktopFolder()) {}

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
            return MakeComputerFolder();
        case ItemKind::Network:
            return MakeNetworkFolder();
        case ItemKind::Trash: {
            const QByteArray files = ShellContext::Instance().TrashFilesPath();
            return MakeFileSystemFolder(absolute, files);
        }
        default:
            break;
        }
    }
    const QByteArray path = PathFromIDList(absolute);
    if (path.isEmpty() || !IsDirectory(path))
        return nullptr;
    return MakeFileSystemFolder(absolute, path);
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
        IDList parent = absolute.Parent();
        QByteArray parentPath = parent.IsDesktop() ? ShellContext::Instance().DesktopPath()
                                : parent.ItemCount() == 1 && parent.LastItem().kind == ItemKind::Trash
                                    ? ShellContext::Instance().TrashFilesPath()
                                    : PathFromIDList(parent);
        if (parentPath.isEmpty())
            return 0;
        return FileSystemAttributesOf(std::move(parent), std::move(parentPath), absolute.LastItemList(),
                                      mask);
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

} // namespace wordloom::shell
