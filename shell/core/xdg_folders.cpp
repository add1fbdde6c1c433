// Where the special-folder kinds lie on Linux (the XDG user folders and base folders).
#include "shell/core/shell_namespace_detail.h"

#include <QFile>
#include <QStandardPaths>

namespace wordloom::shell {

namespace detail {

namespace {

QByteArray StandardPath(QStandardPaths::StandardLocation location) {
    return QFile::encodeName(QStandardPaths::writableLocation(location));
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

QByteArray XdgHome(const char* variable, const char* fallback) {
    const QByteArray value = qgetenv(variable);
    if (!value.isEmpty() && value.startsWith('/'))
        return value;
    return ShellContext::Instance().HomePath() + fallback;
}

} // namespace detail

using namespace detail;

int SpecialFolderNumber(TVelShellFolder kind) {
    const int index = int(kind);
    return index >= 0 && index < kShellFolderKindCount ? kSpecialFolders[index].number : -1;
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
    const int index = int(kind);
    if (index < 0 || index >= kShellFolderKindCount)
        return std::nullopt;
    const QByteArray path = kSpecialFolders[index].path();
    if (path.isEmpty() || !IsDirectory(path))
        return std::nullopt;
    return ParseAbsolutePath(QFile::decodeName(path));
}

TVelShellFolder SpecialFolderIndex(const IDList& absolute) {
    const std::vector<OptIDList>& locations = ShellContext::Instance().SpecialLocations();
    for (int kind = int(SF_BITBUCKET); kind <= int(SF_PRINTHOOD); ++kind) {
        if (locations[std::size_t(kind)] && CompareIDs(absolute, *locations[std::size_t(kind)]) == 0)
            return TVelShellFolder(kind);
    }
    return SF_FILESYSTEMFOLDER;
}

} // namespace wordloom::shell
