#include "shell/core/system_image_list.h"

#include "shell/core/shell_namespace.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMimeDatabase>
#include <QStyle>

#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>

namespace wordloom::shell {

QMimeType FileMimeType(const QByteArray& path) {
    static const QMimeDatabase database;
    QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    struct stat st;
    if (::lstat(path.constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        // realpath follows the whole chain by reading the links only, and fails on a loop.
        char target[PATH_MAX];
        if (!::realpath(path.constData(), target))
            return database.mimeTypeForName(QStringLiteral("inode/symlink"));
        const QByteArray resolved(target);
        name = resolved.mid(resolved.lastIndexOf('/') + 1);
    }
    return database.mimeTypeForFile(QFile::decodeName(name), QMimeDatabase::MatchExtension);
}

IconRegistry& IconRegistry::Instance() {
    static IconRegistry registry;
    return registry;
}

IconRegistry::IconRegistry() : m_mimeDatabase(std::make_unique<QMimeDatabase>()) {}

QIcon IconRegistry::ThemeIcon(const QString& name) {
    auto it = m_themeIcons.find(name);
    if (it == m_themeIcons.end())
        it = m_themeIcons.insert(name, QIcon::hasThemeIcon(name) ? QIcon::fromTheme(name) : QIcon());
    return *it;
}

int IconRegistry::IndexOf(const QStringList& themeNames, int styleFallback) {
    const QString key = themeNames.join(u'|') + u'#' + QString::number(styleFallback);
    if (auto it = m_indexByKey.constFind(key); it != m_indexByKey.cend())
        return *it;
    QIcon icon;
    for (const QString& name : themeNames) {
        icon = ThemeIcon(name);
        if (!icon.isNull())
            break;
    }
    if (icon.isNull() && qobject_cast<QApplication*>(QCoreApplication::instance()))
        icon = QApplication::style()->standardIcon(QStyle::StandardPixmap(styleFallback));
    const int index = int(m_icons.size());
    m_icons.push_back(icon);
    m_indexByKey.insert(key, index);
    return index;
}

int IconRegistry::IconIndexFor(const IDList& absolute, bool open) {
    if (absolute.IsDesktop())
        return IndexOf({QStringLiteral("user-desktop")}, QStyle::SP_DesktopIcon);
    const ItemView last = absolute.LastItem();
    switch (last.kind) {
    case ItemKind::Computer:
        return IndexOf({QStringLiteral("computer")}, QStyle::SP_ComputerIcon);
    case ItemKind::Home:
        return IndexOf({QStringLiteral("user-home"), QStringLiteral("folder")}, QStyle::SP_DirHomeIcon);
    case ItemKind::Trash: {
        bool full = false;
        if (DIR* dir = ::opendir(ShellContext::Instance().TrashFilesPath().constData())) {
            while (dirent* entry = ::readdir(dir)) {
                const std::string_view name(entry->d_name);
                if (name != "." && name != "..") {
                    full = true;
                    break;
                }
            }
            ::closedir(dir);
        }
        return IndexOf({full ? QStringLiteral("user-trash-full") : QStringLiteral("user-trash")},
                       QStyle::SP_TrashIcon);
    }
    case ItemKind::Network:
        return IndexOf({QStringLiteral("network-workgroup"), QStringLiteral("network-server")},
                       QStyle::SP_DriveNetIcon);
    case ItemKind::Volume: {
        const bool removable = last.name.starts_with("/media/") || last.name.starts_with("/run/media/");
        return IndexOf(
            {removable ? QStringLiteral("drive-removable-media") : QStringLiteral("drive-harddisk")},
            QStyle::SP_DriveHDIcon);
    }
    case ItemKind::Dir:
        return open ? IndexOf({QStringLiteral("folder-open"), QStringLiteral("folder")},
                              QStyle::SP_DirOpenIcon)
                    : IndexOf({QStringLiteral("folder")}, QStyle::SP_DirIcon);
    case ItemKind::File:
        break;
    }
    // Files: the type from names alone (no content is read while listing).
    const QByteArray path = PathFromIDList(absolute);
    const QMimeType type =
        path.isEmpty() ? m_mimeDatabase->mimeTypeForFile(
                             QFile::decodeName(QByteArray(last.name.data(), qsizetype(last.name.size()))),
                             QMimeDatabase::MatchExtension)
                       : FileMimeType(path);
    if (auto it = m_indexByMime.constFind(type.name()); it != m_indexByMime.cend())
        return *it;
    const int index = IndexOf({type.iconName(), type.genericIconName(), QStringLiteral("text-x-generic")},
                              QStyle::SP_FileIcon);
    m_indexByMime.insert(type.name(), index);
    return index;
}

QIcon IconRegistry::Icon(int index) const {
    return index >= 0 && index < Count() ? m_icons[std::size_t(index)] : QIcon();
}

QPixmap IconRegistry::Pixmap(int index, int size) const {
    return Icon(index).pixmap(size, size);
}

TVelSystemImageList::TVelSystemImageList(QObject* owner) : TComponent(owner) {
    SetShareImages(true);
    SetSize(si_small);
}

void TVelSystemImageList::AttachSystemList() {
    if (m_shareImages) {
        m_private = false;
        m_copy.clear();
        OnChange(this);
        return;
    }
    // A private copy: the icons the registry has now, in this list's size.
    IconRegistry& registry = IconRegistry::Instance();
    m_private = true;
    m_copy.clear();
    for (int i = 0; i < registry.Count(); ++i)
        m_copy.push_back(registry.Pixmap(i, IconSize()));
    OnChange(this);
}

void TVelSystemImageList::SetShareImages(bool value) {
    AttachSystemList();
    m_shareImages = value;
}

void TVelSystemImageList::SetSize(TVelImageListSize size) {
    m_size = size;
    AttachSystemList();
}

int TVelSystemImageList::Count() const {
    return m_private ? int(m_copy.size()) : IconRegistry::Instance().Count();
}

QPixmap TVelSystemImageList::Pixmap(int index) const {
    if (m_private)
        return index >= 0 && index < int(m_copy.size()) ? m_copy[std::size_t(index)] : QPixmap();
    return IconRegistry::Instance().Pixmap(index, IconSize());
}

void TVelSystemImageList::Loaded() {
    TComponent::Loaded();
    AttachSystemList();
}

} // namespace wordloom::shell
