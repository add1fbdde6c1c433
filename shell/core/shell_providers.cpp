// The folder providers: file-system folders, Computer, Network and the desktop.
#include "shell/core/shell_namespace_detail.h"

#include "base/file_descriptor.h"

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

namespace wordloom::shell::detail {

namespace {

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
    explicit DirectoryEnumerator(DirStream dir) : m_dir(std::move(dir)) {}
    OptIDList Next() override {
        while (dirent* entry = ::readdir(m_dir.get())) {
            const std::string_view name(entry->d_name);
            if (name == "." || name == "..")
                continue;
            ItemKind kind = ItemKind::File;
            if (entry->d_type == DT_DIR) {
                kind = ItemKind::Dir;
            } else if (entry->d_type == DT_LNK || entry->d_type == DT_UNKNOWN) {
                // Only links and file systems without type hints cost a stat.
                struct stat st;
                if (::fstatat(::dirfd(m_dir.get()), entry->d_name, &st, 0) == 0 && S_ISDIR(st.st_mode))
                    kind = ItemKind::Dir;
            }
            return IDList::Item(kind, name);
        }
        return std::nullopt;
    }

private:
    DirStream m_dir;
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

// A directory of the file system. `m_dir` is where its objects lie; the folder itself may have no path
// of its own (the trash shows the files of its "files" folder).
class FileSystemFolder : public ShellFolder {
public:
    FileSystemFolder(IDList id, QByteArray dir) : ShellFolder(std::move(id)), m_dir(std::move(dir)) {}

    std::unique_ptr<FolderEnumerator> EnumObjects() const override {
        DirStream dir(::opendir(m_dir.constData()));
        if (!dir)
            return nullptr;
        return std::make_unique<DirectoryEnumerator>(std::move(dir));
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
            result.type = StrRet::Type::Offset;
            result.offset = 3;
        } else {
            result.type = StrRet::Type::Wide;
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
        result.type = StrRet::Type::Wide;
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
        result.type = StrRet::Type::Wide;
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

} // namespace

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

std::shared_ptr<ShellFolder> MakeDesktopFolder() {
    return std::make_shared<DesktopFolderImpl>();
}

std::shared_ptr<ShellFolder> MakeComputerFolder() {
    return std::make_shared<ComputerFolder>();
}

std::shared_ptr<ShellFolder> MakeNetworkFolder() {
    return std::make_shared<NetworkFolder>();
}

std::shared_ptr<ShellFolder> MakeFileSystemFolder(IDList id, QByteArray dir) {
    return std::make_shared<FileSystemFolder>(std::move(id), std::move(dir));
}

std::uint32_t FileSystemAttributesOf(IDList folder, QByteArray dir, const IDList& item, std::uint32_t mask) {
    return FileSystemFolder(std::move(folder), std::move(dir)).GetAttributesOf(item, mask);
}

OptIDList ParseAbsolutePath(const QString& name) {
    return DesktopFolderImpl::ParseAbsolutePath(name);
}

} // namespace wordloom::shell::detail
