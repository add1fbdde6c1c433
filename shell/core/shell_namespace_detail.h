// Helpers the shell namespace's files share: path and name helpers, the mount table, the name order,
// the folder providers and the special-folder table. Not for use outside shell/core.
#pragma once

#include "shell/core/shell_namespace.h"

#include <QByteArray>
#include <QString>

#include <memory>
#include <optional>
#include <string_view>
#include <vector>

namespace wordloom::shell::detail {

// How long the mount table and the special-folder locations stay cached (milliseconds): long enough
// for a listing that asks per object, short enough to see a stick that was just plugged in.
inline constexpr qint64 kCacheLifetimeMs = 2000;

qint64 NowMs();
QByteArray ToBytes(std::string_view view);
QString DecodeName(std::string_view view);
QByteArray JoinPath(const QByteArray& dir, std::string_view name);
bool IsDirectory(const QByteArray& path);
// Dir for directories and symbolic links to them, File for everything else; none when missing.
std::optional<ItemKind> KindOfPath(const QByteArray& path);
bool IsValidFileName(const QByteArray& name);
bool IsUnder(const QByteArray& path, const QByteArray& dir);

// The root file system first, then the volumes mounted below /media, /mnt, /run/media/$USER or `home`.
std::vector<Volume> ReadVolumes(const QByteArray& home);

int CompareNames(std::string_view a, std::string_view b);
int KindRank(ItemKind kind);
int CompareItems(const ItemView& a, const ItemView& b);

std::shared_ptr<ShellFolder> MakeDesktopFolder();
std::shared_ptr<ShellFolder> MakeComputerFolder();
std::shared_ptr<ShellFolder> MakeNetworkFolder();
// A directory of the file system: `dir` is where the folder's objects lie.
std::shared_ptr<ShellFolder> MakeFileSystemFolder(IDList id, QByteArray dir);
// GetAttributesOf of such a folder, without making one on the heap: asked once per object.
std::uint32_t FileSystemAttributesOf(IDList folder, QByteArray dir, const IDList& item, std::uint32_t mask);
// An absolute path as an absolute item identifier list below Computer; none when missing.
OptIDList ParseAbsolutePath(const QString& name);
QString VolumeDisplayName(std::string_view mountPoint);

// An XDG base folder from its variable, or `fallback` below the home folder.
QByteArray XdgHome(const char* variable, const char* fallback);

} // namespace wordloom::shell::detail
