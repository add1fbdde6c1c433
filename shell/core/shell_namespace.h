// The namespace the shell components browse: the desktop at the root, then Computer (the mounted
// volumes and their folders), Home, Trash, Network and the entries of the user's desktop folder.
// Every object is addressed by an item identifier list (id_list.h); folders are reached through one
// provider interface with an implementation per kind of folder.
#pragma once

#include "shell/core/id_list.h"

#include <QObject>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace wordloom::shell {

// Attribute bits of namespace objects (the classic shell's SFGAO values).
namespace Sfgao {
constexpr std::uint32_t CanRename = 0x10;
constexpr std::uint32_t CanDelete = 0x20;
constexpr std::uint32_t Link = 0x10000;
constexpr std::uint32_t Hidden = 0x80000;
constexpr std::uint32_t FileSysAncestor = 0x10000000;
constexpr std::uint32_t Folder = 0x20000000;
constexpr std::uint32_t FileSystem = 0x40000000;
constexpr std::uint32_t HasSubfolder = 0x80000000;
} // namespace Sfgao

namespace ShellFolderKinds {
Q_NAMESPACE
// The special-folder kinds, in their fixed order; SpecialFolderNumber gives each one's classic number.
// Where each one lies on Linux is decided in SpecialFolderPath (shell_namespace.cpp), with the reasons.
enum class TVelShellFolder {
    SF_FILESYSTEMFOLDER,
    SF_BITBUCKET,
    SF_CONTROLS,
    SF_DESKTOP,
    SF_DESKTOPDIRECTORY,
    SF_DRIVES,
    SF_FONTS,
    SF_NETHOOD,
    SF_NETWORK,
    SF_PERSONAL,
    SF_PRINTERS,
    SF_PROGRAMS,
    SF_RECENT,
    SF_SENDTO,
    SF_STARTMENU,
    SF_STARTUP,
    SF_TEMPLATES,
    SF_FAVORITES,
    SF_COMMON_STARTMENU,
    SF_COMMON_STARTUP,
    SF_COMMON_DESKTOPDIRECTORY,
    SF_APPDATA,
    SF_PRINTHOOD,
    SF_COMMON_FAVORITES,
    SF_INTERNET_CACHE,
    SF_COOKIES,
    SF_HISTORY
};
Q_ENUM_NS(TVelShellFolder)
} // namespace ShellFolderKinds
using ShellFolderKinds::TVelShellFolder;
using enum ShellFolderKinds::TVelShellFolder;

constexpr int kShellFolderKindCount = 27;

// The classic system folder number of a kind (SF_DRIVES -> 0x11, ...).
int SpecialFolderNumber(TVelShellFolder kind);
// The folder a kind stands for, or none when Linux has no such place or it does not exist.
OptIDList SpecialFolderLocation(TVelShellFolder kind);
// Which special folder an absolute list is: kinds 1 to 22 in order, SF_FILESYSTEMFOLDER when none.
TVelShellFolder SpecialFolderIndex(const IDList& absolute);

// Hands out a folder's objects, one relative (one-item) list at a time.
class FolderEnumerator {
public:
    virtual ~FolderEnumerator() = default;
    virtual OptIDList Next() = 0;
};

// A folder of the namespace bound for browsing (the classic IShellFolder). Relative lists passed to it
// name objects inside it.
class ShellFolder {
public:
    explicit ShellFolder(IDList id) : m_id(std::move(id)) {}
    virtual ~ShellFolder() = default;
    ShellFolder(const ShellFolder&) = delete;
    ShellFolder& operator=(const ShellFolder&) = delete;

    // The folder's absolute list.
    const IDList& ID() const { return m_id; }
    // Folders, files and hidden objects alike; none when the folder cannot be read.
    virtual std::unique_ptr<FolderEnumerator> EnumObjects() const = 0;
    // A name inside the folder (or a path below it) to a relative list; none when nothing is there.
    virtual OptIDList ParseDisplayName(const QString& name) const = 0;
    // The bits of `mask` that hold for the object; only what the mask asks for is looked up.
    virtual std::uint32_t GetAttributesOf(const IDList& item, std::uint32_t mask) const = 0;
    virtual StrRet GetDisplayNameOf(const IDList& item) const = 0;
    // Renames the object; the new relative list, or none with a reason in `error`.
    virtual OptIDList SetNameOf(const IDList& item, const QString& name, QString* error) const;

private:
    IDList m_id;
};

// A mounted volume shown in Computer.
struct Volume {
    QByteArray mountPoint;
    QByteArray device;
    QByteArray fsType;
    bool readOnly = false;
    QString label; // empty when the volume has none
};

// The process's namespace context: the desktop folder, the desktop's list and the cached facts about
// the machine (mounts, user folders). Main thread only.
class ShellContext {
public:
    static ShellContext& Instance();

    std::shared_ptr<ShellFolder> DesktopFolder() const { return m_desktop; }
    const IDList& DesktopIDList() const { return m_desktopId; }

    // Mounted volumes, "/" first; re-read from the mount table when older than a moment.
    const std::vector<Volume>& Volumes();
    // Forgets every cached fact (mounts, user folders, special-folder locations); tests that change
    // the environment call it.
    void Refresh();

    QByteArray HomePath() const;
    // The user's desktop folder, empty when it is missing or is the home folder itself (then its
    // entries would repeat Home on the desktop).
    QByteArray DesktopPath() const;
    // The home trash ($XDG_DATA_HOME/Trash, by default ~/.local/share/Trash); it may not exist yet.
    QByteArray TrashPath() const;
    // Where the trash keeps its files (TrashPath()/files).
    QByteArray TrashFilesPath() const;

    // Cached special-folder locations for SpecialFolderIndex.
    const std::vector<OptIDList>& SpecialLocations();

private:
    ShellContext();
    std::shared_ptr<ShellFolder> m_desktop;
    IDList m_desktopId;
    std::vector<Volume> m_volumes;
    qint64 m_volumesReadAt = -1;
    std::vector<OptIDList> m_specialLocations;
    qint64 m_specialReadAt = -1;
};

// Binds an absolute list as a folder; null when it names no folder (a file, a missing object).
std::shared_ptr<ShellFolder> BindToFolder(const IDList& absolute);
// Parses a name with `folder`, or with the desktop when none is given (an absolute path then gives an
// absolute list through the volume with the longest mount point).
OptIDList IDListFromName(const ShellFolder* folder, const QString& name);
// The file-system path of an absolute list, without a trailing "/" except for "/" itself; empty when
// the object has none (Computer, Trash, Network).
QByteArray PathFromIDList(const IDList& absolute);
// Orders two absolute lists level by level: virtual folders first, volumes with "/" first, folders
// before files, names in natural, case-insensitive order (exact bytes break ties). Negative, 0 or
// positive; 0 only for the same object.
int CompareIDs(const IDList& a, const IDList& b);
// The place of an item kind in that order: virtual folders, volumes, folders, files.
int ItemKindRank(ItemKind kind);
// The display name of an absolute list ("Computer", a volume's label, a file name, ...).
QString DisplayNameOf(const IDList& absolute);
// Attribute bits of an absolute list (mask as for GetAttributesOf).
std::uint32_t AttributesOf(const IDList& absolute, std::uint32_t mask);

// The path is the mount point of a volume in Computer (with or without a trailing "/").
bool IsDriveRoot(const QString& path);
// The path exists (a dangling symbolic link counts) or is a drive root.
bool ObjectExists(const QString& path);

} // namespace wordloom::shell
