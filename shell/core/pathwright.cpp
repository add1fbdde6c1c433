// TPathwright's position in the namespace: opening folders, the current object and its queries,
// enumeration through the filter, and the monitor of the open folder.
#include "shell/core/pathwright.h"

#include "shell/core/busy_cursor.h"
#include "shell/core/core_components.h"
#include "shell/core/dir_mon.h"
#include "shell/core/system_image_list.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QMenu>
#include <QMessageBox>

#include <climits>
#include <cstdlib>

#include <sys/stat.h>

namespace wordloom::shell {

// Linking this class in makes the core's classes known to form files (see core_components.h).
[[maybe_unused]] static const bool kCoreComponentsRegistered = (RegisterShellCoreComponents(), true);

namespace {

QString WithSlash(QString path) {
    if (!path.isEmpty() && !path.endsWith(u'/'))
        path.append(u'/');
    return path;
}

} // namespace

TPathwright::TPathwright(QObject* owner) : TComponent(owner) {
    m_filter.append(QStringLiteral("*"));
    m_hooks.Confirm = [](QWidget* parent, const QString& caption, const QString& text) {
        return QMessageBox::warning(parent, caption, text, QMessageBox::Ok | QMessageBox::Cancel) ==
               QMessageBox::Ok;
    };
    m_hooks.ShowError = [](QWidget* parent, const QString& caption, const QString& text) {
        QMessageBox::critical(parent, caption, text);
    };
    m_hooks.OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    m_hooks.ExecMenu = [](QMenu& menu, const QPoint& point) { return menu.exec(point); };
    SetFolder(QString());
}

TPathwright::~TPathwright() {
    // The monitor's handler reaches into this object: it goes first.
    delete m_monitor;
}

void TPathwright::Loaded() {
    TComponent::Loaded();
    m_loaded = true;
}

QWidget* TPathwright::OwnerWindow() const {
    if (auto* widget = qobject_cast<QWidget*>(parent()); widget && m_loaded)
        return widget;
    return qobject_cast<QApplication*>(QCoreApplication::instance()) ? QApplication::activeWindow() : nullptr;
}

// ---- folder ----

void TPathwright::SetFolder(const QString& path) {
    // Linux names are case-sensitive: only the very same text is the same folder.
    if (!path.isEmpty() && path == m_folder)
        return;
    const OptIDList id = path.isEmpty() ? SpecialFolderLocation(SF_DRIVES) : IDListFromName(nullptr, path);
    if (!id)
        throw EPathwrightError(QCoreApplication::translate("Pathwright", "Cannot Find Folder: %1").arg(path));
    SetFolderIDList(id);
}

void TPathwright::SetFolderIDList(const OptIDList& idList) {
    m_detailsLooked = false;
    if (!idList) {
        m_folderId.reset();
        return;
    }
    std::shared_ptr<ShellFolder> folder =
        idList->IsDesktop() ? ShellContext::Instance().DesktopFolder() : BindToFolder(*idList);
    if (!folder)
        throw EPathwrightError(
            QStringLiteral("Pathwright.SetFolderIDList: Desktop.BindToObject: Could not get Folder"));
    m_folderObject = std::move(folder);
    m_enumerator.reset();
    m_folderId = idList;
    SetObjectIDList(std::nullopt);
    m_folder = WithSlash(QFile::decodeName(PathFromIDList(*m_folderId)));
    if (m_monitor)
        m_monitor->SetDirectory(m_folder);
}

bool TPathwright::SetSpecialFolder(TVelShellFolder kind) {
    const OptIDList location = SpecialFolderLocation(kind);
    if (!location)
        return false;
    try {
        SetFolderIDList(location);
    } catch (const EPathwrightError&) {
        return false; // removed between lookup and binding
    }
    return true;
}

bool TPathwright::SelectFolderInParent() {
    if (!m_folderId || !m_folderObject)
        return false;
    if (m_folderId->IsDesktop()) {
        SetFolderIDList(IDList());
        SetObjectIDList(IDList());
        return true;
    }
    const IDList parent = m_folderId->Parent();
    const IDList last = m_folderId->LastItemList();
    SetFolderIDList(parent);
    SetObjectIDList(last);
    return true;
}

bool TPathwright::EnterObject() {
    if (!IsFolder())
        return false;
    const OptIDList target = AbsoluteObjectIDList();
    SetFolderIDList(target);
    return m_folderObject != nullptr;
}

TVelShellFolder TPathwright::FolderSpecialIndex() const {
    return m_folderId ? SpecialFolderIndex(*m_folderId) : SF_FILESYSTEMFOLDER;
}

// ---- current object ----

void TPathwright::DropCurrentObjectCaches() {
    m_absoluteObject.reset();
    m_findData = FindData();
}

void TPathwright::SetObjectIDList(const OptIDList& idList) {
    m_object = idList;
    DropCurrentObjectCaches();
}

const OptIDList& TPathwright::AbsoluteObjectIDList() const {
    if (!m_absoluteObject && m_object && m_folderId)
        m_absoluteObject = ConcatIDLists(m_folderId, m_object);
    return m_absoluteObject;
}

void TPathwright::SetObjectName(const QString& name) {
    if (name.isEmpty()) {
        SetObjectIDList(std::nullopt);
        return;
    }
    QString text = name;
    // One trailing "/" goes ("/" itself stays, as a drive root keeps its separator).
    if (text.size() > 1 && text.endsWith(u'/'))
        text.chop(1);
    if (!text.contains(u'/')) {
        if (const OptIDList parsed =
                m_folderObject ? IDListFromName(m_folderObject.get(), text) : std::nullopt) {
            SetObjectIDList(parsed);
            return;
        }
        m_enumerator.reset();
        bool found = false;
        while (NextObject()) {
            if (DisplayName() == text || GetObjectName() == text) {
                found = true;
                break;
            }
        }
        m_enumerator.reset();
        if (!found) {
            SetObjectIDList(std::nullopt);
            throw EPathwrightError(QStringLiteral("Error! Cannot find Object \"") + text +
                                   QStringLiteral("\" in Folder \"") + m_folder + QStringLiteral("\""));
        }
        return;
    }
    if (IsDriveRoot(text)) {
        SetFolder(WithSlash(text));
        SelectFolderInParent();
        return;
    }
    const qsizetype slash = text.lastIndexOf(u'/');
    SetFolder(text.left(slash + 1));
    SetObjectName(text.mid(slash + 1));
}

QString TPathwright::GetObjectName() const {
    if (!m_folderObject || !m_object)
        return QString();
    const OptIDList& absolute = AbsoluteObjectIDList();
    if (!absolute || absolute->IsDesktop())
        return QString();
    const ItemView last = absolute->LastItem();
    // A file's name is its item's name; only folders can be mount points.
    if (last.kind == ItemKind::File)
        return QFile::decodeName(QByteArray(last.name.data(), qsizetype(last.name.size())));
    const QString path = QFile::decodeName(PathFromIDList(*absolute));
    if (path.isEmpty())
        return NetworkName();
    if (IsDriveRoot(path))
        return WithSlash(path);
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString TPathwright::DisplayName() const {
    if (m_folderObject && m_object) {
        StrRet result = m_folderObject->GetDisplayNameOf(*m_object);
        const QString text = StrRetToString(m_object, result);
        FreeStrRet(result);
        if (!text.isEmpty())
            return text;
    }
    return GetObjectName();
}

void TPathwright::RenameObject(QString& name) {
    BusyCursor busy;
    if (m_folderObject && m_object) {
        QString error;
        if (const OptIDList renamed = m_folderObject->SetNameOf(*m_object, name, &error))
            SetObjectIDList(renamed);
    }
    name = DisplayName();
}

std::uint32_t TPathwright::ObjectAttributes(std::uint32_t mask) const {
    if (!m_folderObject || !m_object)
        return 0;
    return m_folderObject->GetAttributesOf(*m_object, mask);
}

bool TPathwright::IsFolder() const {
    return m_object && (ObjectAttributes(Sfgao::Folder) & Sfgao::Folder) != 0;
}

bool TPathwright::HasSubFolders() const {
    return m_object && (ObjectAttributes(Sfgao::Folder | Sfgao::HasSubfolder) & Sfgao::HasSubfolder) != 0;
}

bool TPathwright::IsHidden() const {
    return (ObjectAttributes(Sfgao::Hidden) & Sfgao::Hidden) != 0;
}

bool TPathwright::IsLink() const {
    return (ObjectAttributes(Sfgao::Link) & Sfgao::Link) != 0;
}

bool TPathwright::CanRename() const {
    return (ObjectAttributes(Sfgao::CanRename) & Sfgao::CanRename) != 0;
}

int TPathwright::GetIconNumber() const {
    const OptIDList& absolute = AbsoluteObjectIDList();
    return absolute ? IconRegistry::Instance().IconIndexFor(*absolute, false) : 0;
}

int TPathwright::GetSelectedIconNumber() const {
    const OptIDList& absolute = AbsoluteObjectIDList();
    return absolute ? IconRegistry::Instance().IconIndexFor(*absolute, true) : 0;
}

QString TPathwright::LinkTargetFolder() const {
    if (!IsLink())
        return QString();
    const QByteArray path = PathFromIDList(*AbsoluteObjectIDList());
    // realpath follows the whole chain and fails on a loop.
    char target[PATH_MAX];
    struct stat st;
    if (!::realpath(path.constData(), target) || ::stat(target, &st) != 0 || !S_ISDIR(st.st_mode))
        return QString();
    return QFile::decodeName(QByteArray(target));
}

QString TPathwright::NetworkName() const {
    return QString();
}

TVelShellFolder TPathwright::ObjectSpecialIndex() const {
    const OptIDList& absolute = AbsoluteObjectIDList();
    return absolute ? SpecialFolderIndex(*absolute) : SF_FILESYSTEMFOLDER;
}

// ---- enumeration and filter ----

bool TPathwright::NextObject() {
    if (!m_folderObject)
        return false;
    if (!m_enumerator) {
        m_enumerator = m_folderObject->EnumObjects();
        if (!m_enumerator)
            return false;
    }
    while (true) {
        OptIDList item = m_enumerator->Next();
        if (!item) {
            m_enumerator.reset();
            return false;
        }
        SetObjectIDList(item);
        if (m_fileSystemOnly && ObjectAttributes(Sfgao::FileSystem | Sfgao::FileSysAncestor) == 0) {
            const TVelShellFolder special = ObjectSpecialIndex();
            const bool passes = GetObjectName().left(7).toUpper() == QLatin1String("RECYCLE") ||
                                special == SF_DRIVES || special == SF_NETWORK ||
                                FolderSpecialIndex() == SF_NETWORK;
            if (!passes)
                continue;
        }
        if (MatchesFilter())
            return true;
    }
}

void TPathwright::SetFilter(const QString& text) {
    m_filter.clear();
    QString all = text.isEmpty() ? QStringLiteral("*;") : text;
    if (!all.endsWith(u';'))
        all.append(u';');
    qsizetype start = 0;
    for (qsizetype semicolon = all.indexOf(u';'); semicolon >= 0; semicolon = all.indexOf(u';', start)) {
        m_filter.append(all.mid(start, semicolon - start));
        start = semicolon + 1;
    }
}

QString TPathwright::GetFilter() const {
    return m_filter.join(u';');
}

bool TPathwright::MatchesFilter() const {
    if (IsFolder())
        return true;
    // "*" matches every name; no need to build one.
    if (m_filter.contains(QStringLiteral("*")))
        return true;
    const QString name = GetObjectName();
    for (const QString& mask : m_filter) {
        if (MatchMask(name, mask))
            return true;
    }
    return false;
}

// ---- desktop ----

int TPathwright::DesktopIconNumber() const {
    return IconRegistry::Instance().IconIndexFor(IDList(), false);
}

QString TPathwright::DesktopName() const {
    return DisplayNameOf(IDList());
}

// ---- watching ----

void TPathwright::SetOnFileChange(std::function<void(QObject*)> handler) {
    if (handler)
        m_onFileChange = std::move(handler);
    else
        m_onFileChange = nullptr;
    StartMonitor();
}

void TPathwright::SetOnFileChangeMethod(const TMethod& method) {
    m_onFileChange.SetMethod(method);
    StartMonitor();
}

void TPathwright::StartMonitor() {
    if (m_monitor) {
        if (m_monitor->Running())
            m_monitor->Stop();
        delete m_monitor;
        m_monitor = nullptr;
    }
    if (!m_onFileChange.Assigned())
        return;
    m_monitor = new TDirMon(this);
    m_monitor->SetNotifyFilter(TDirMon::dmcFileName | TDirMon::dmcDirName);
    m_monitor->OnDirChange = [this](QObject*) { m_onFileChange(this); };
    m_monitor->SetDirectory(m_folder);
    m_monitor->Start();
}

} // namespace wordloom::shell
