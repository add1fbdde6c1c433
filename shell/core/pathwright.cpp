#include "shell/core/pathwright.h"

#include "shell/core/busy_cursor.h"
#include "shell/core/dir_mon.h"
#include "shell/core/file_clipboard.h"
#include "shell/core/properties_dialog.h"
#include "shell/core/system_image_list.h"
#include "shell/core/trash.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QMenu>
#include <QMessageBox>
#include <QMimeDatabase>
#include <algorithm>

#include <sys/stat.h>

namespace wordloom::shell {

namespace {

QString WithSlash(QString path) {
    if (!path.isEmpty() && !path.endsWith(u'/'))
        path.append(u'/');
    return path;
}

} // namespace

bool VerbIs(const QString& verb, const char* name) {
    return verb.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

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

// ---- commands and context menu ----

void TPathwright::MultiObjectIDLists(std::vector<IDList>& lists) {
    lists.clear();
    const OptIDList saved = m_object;
    // The current object is the one before the call, also when a name is not found.
    struct Restore {
        TPathwright* self;
        const OptIDList& object;
        ~Restore() { self->SetObjectIDList(object); }
    } restore{this, saved};
    for (const QString& name : std::as_const(m_multiObjects)) {
        if (OptIDList parsed = m_folderObject ? IDListFromName(m_folderObject.get(), name) : std::nullopt) {
            lists.push_back(*parsed);
            continue;
        }
        SetObjectName(name);
        if (m_object)
            lists.push_back(*m_object);
    }
}

TPathwright::Targets TPathwright::CollectTargets() {
    Targets targets;
    if (m_multiObjects.isEmpty()) {
        if (m_object)
            targets.items.push_back(*m_object);
    } else {
        MultiObjectIDLists(targets.items);
        m_multiObjects.clear();
    }
    for (const IDList& item : targets.items)
        targets.paths.push_back(m_folderId ? PathFromIDList(ConcatIDLists(m_folderId, item).value())
                                           : QByteArray());
    return targets;
}

bool TPathwright::InvokeCommand(const QString& verbText) {
    if (!m_folderObject || (!m_object && m_multiObjects.isEmpty()))
        return false;
    const QString verb = verbText.isEmpty() ? QStringLiteral("default") : verbText;
    if (VerbIs(verb, "delete") && m_multiObjects.isEmpty() &&
        !(ObjectAttributes(Sfgao::CanDelete) & Sfgao::CanDelete))
        return false;
    BusyCursor busy;
    const Targets targets = CollectTargets();
    if (targets.items.empty())
        return false;
    bool result = RunVerb(verb, targets);
    if (VerbIs(verb, "delete") && ObjectExists(QFile::decodeName(targets.paths.front())))
        result = false;
    return result;
}

bool TPathwright::RunVerb(const QString& verb, const Targets& targets) {
    if (VerbIs(verb, "default") || VerbIs(verb, "open")) {
        // Folders are entered by the controls; documents go to their application.
        bool ok = true;
        for (std::size_t i = 0; i < targets.items.size(); ++i) {
            const std::uint32_t attributes = m_folderObject->GetAttributesOf(targets.items[i], Sfgao::Folder);
            if (!(attributes & Sfgao::Folder) && !targets.paths[i].isEmpty())
                ok = m_hooks.OpenUrl(QUrl::fromLocalFile(QFile::decodeName(targets.paths[i]))) && ok;
        }
        return ok;
    }
    if (VerbIs(verb, "delete"))
        return DeleteToTrash(targets);
    if (VerbIs(verb, "cut") || VerbIs(verb, "copy"))
        return PutOnClipboard(targets, VerbIs(verb, "cut"));
    if (VerbIs(verb, "paste"))
        return Paste(targets);
    if (VerbIs(verb, "rename")) {
        if (!OnRename)
            return false;
        OnRename(this);
        return true;
    }
    if (VerbIs(verb, "properties")) {
        ShowProperties(targets);
        return true;
    }
    return false;
}

bool TPathwright::DeleteToTrash(const Targets& targets) {
    for (const QByteArray& path : targets.paths) {
        if (path.isEmpty())
            return false; // virtual objects cannot go to the trash
    }
    // What already lies in the trash is deleted for good, with its record: trashing it again would
    // leave its old record behind.
    const bool inTrash =
        m_folderId && m_folderId->ItemCount() == 1 && m_folderId->LastItem().kind == ItemKind::Trash;
    const QString name = QFileInfo(QFile::decodeName(targets.paths.front())).fileName();
    const QString count = QString::number(targets.paths.size());
    const QString question =
        inTrash ? (targets.paths.size() == 1
                       ? QCoreApplication::translate("Pathwright",
                                                     "Are you sure you want to permanently delete \"%1\"?")
                             .arg(name)
                       : QCoreApplication::translate(
                             "Pathwright", "Are you sure you want to permanently delete these %1 items?")
                             .arg(count))
                : (targets.paths.size() == 1
                       ? QCoreApplication::translate("Pathwright",
                                                     "Are you sure you want to move \"%1\" to the Trash?")
                             .arg(name)
                       : QCoreApplication::translate(
                             "Pathwright", "Are you sure you want to move these %1 items to the Trash?")
                             .arg(count));
    if (!m_hooks.Confirm(OwnerWindow(), QCoreApplication::translate("Pathwright", "Confirm Delete"),
                         question))
        return false;
    bool ok = true;
    QStringList failures;
    for (const QByteArray& path : targets.paths) {
        const QString file = QFile::decodeName(path);
        if (!inTrash) {
            QString error;
            if (!MoveToTrash(path, &error)) {
                failures.append(QStringLiteral("Cannot move \"%1\" to the Trash: %2")
                                    .arg(QFileInfo(file).fileName(), error));
                ok = false;
            }
            continue;
        }
        const QFileInfo info(file);
        const bool removed =
            info.isDir() && !info.isSymLink() ? QDir(file).removeRecursively() : QFile::remove(file);
        if (removed) {
            QFile::remove(QFileInfo(info.absolutePath()).absolutePath() + QStringLiteral("/info/") +
                          info.fileName() + QStringLiteral(".trashinfo"));
        }
        ok = removed && ok;
    }
    if (!failures.isEmpty())
        m_hooks.ShowError(OwnerWindow(), QCoreApplication::translate("Pathwright", "Error Deleting File"),
                          failures.join(u'\n'));
    return ok;
}

bool TPathwright::PutOnClipboard(const Targets& targets, bool cut) {
    QList<QUrl> urls;
    for (const QByteArray& path : targets.paths) {
        if (path.isEmpty())
            return false;
        urls.append(QUrl::fromLocalFile(QFile::decodeName(path)));
    }
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    QGuiApplication::clipboard()->setMimeData(MakeFileListMimeData(urls, cut));
    return true;
}

bool TPathwright::Paste(const Targets& targets) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    // Into the object when it is a single folder, else into the open folder.
    QString targetDir = QFile::decodeName(PathFromIDList(*m_folderId));
    if (targets.items.size() == 1 && !targets.paths.front().isEmpty() &&
        (m_folderObject->GetAttributesOf(targets.items.front(), Sfgao::Folder) & Sfgao::Folder))
        targetDir = QFile::decodeName(targets.paths.front());
    if (targetDir.isEmpty())
        return false;
    bool cut = false;
    const QList<QUrl> urls = FileListFromMimeData(QGuiApplication::clipboard()->mimeData(), &cut);
    if (urls.isEmpty())
        return false;
    QString error;
    const bool ok = TransferFiles(urls, targetDir, cut, &error);
    if (cut && ok)
        QGuiApplication::clipboard()->clear(); // the files have left their old place
    return ok;
}

void TPathwright::ShowProperties(const Targets& targets) {
    QStringList paths;
    QStringList names;
    for (std::size_t i = 0; i < targets.items.size(); ++i) {
        paths.append(QFile::decodeName(targets.paths[i]));
        StrRet result = m_folderObject->GetDisplayNameOf(targets.items[i]);
        names.append(StrRetToString(targets.items[i], result));
        FreeStrRet(result);
    }
    auto* dialog = new TVelPropertiesDialog(names, paths, OwnerWindow());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->show();
}

QAction* TPathwright::CloneMenuItem(QAction* item, QObject* parent) {
    auto* clone = new QAction(parent);
    clone->setObjectName(item->objectName() + QStringLiteral("2"));
    clone->setText(item->text());
    clone->setShortcut(item->shortcut());
    clone->setSeparator(item->isSeparator());
    clone->setCheckable(item->isCheckable());
    clone->setChecked(item->isChecked());
    clone->setEnabled(item->isEnabled());
    clone->setVisible(item->isVisible());
    clone->setIcon(item->icon());
    clone->setIconVisibleInMenu(item->isIconVisibleInMenu());
    clone->setData(item->data());
    clone->setToolTip(item->toolTip());
    clone->setWhatsThis(item->whatsThis());
    clone->setStatusTip(item->statusTip());
    QObject::connect(clone, &QAction::triggered, item, [item] { item->trigger(); });
    return clone;
}

void TPathwright::ShowContextMenu(const QPoint& screenPoint, QMenu* extraMenu, QString& verb) {
    verb.clear();
    bool execute = true;
    QMenu popup(OwnerWindow());
    const Targets targets = CollectTargets();
    if (!m_folderObject || targets.items.empty())
        return;

    bool allHavePaths = true;
    for (const QByteArray& path : targets.paths)
        allHavePaths = allHavePaths && !path.isEmpty();
    std::uint32_t common = Sfgao::CanDelete | Sfgao::CanRename | Sfgao::Folder;
    for (const IDList& item : targets.items)
        common &= m_folderObject->GetAttributesOf(item, common);
    auto addVerb = [&popup](const QString& text, const char* verbName, bool enabled) {
        QAction* action = popup.addAction(text);
        action->setData(QString::fromLatin1(verbName));
        action->setEnabled(enabled);
        return action;
    };
    popup.setDefaultAction(addVerb(QCoreApplication::translate("Pathwright", "&Open"), "open", true));
    popup.addSeparator();
    bool canPaste = false;
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        bool cut = false;
        canPaste = !FileListFromMimeData(QGuiApplication::clipboard()->mimeData(), &cut).isEmpty();
    }
    addVerb(QStringLiteral("Cu&t"), "cut", allHavePaths && (common & Sfgao::CanDelete));
    addVerb(QCoreApplication::translate("Pathwright", "&Copy"), "copy", allHavePaths);
    addVerb(QCoreApplication::translate("Pathwright", "&Paste"), "paste", canPaste);
    popup.addSeparator();
    addVerb(QCoreApplication::translate("Pathwright", "&Delete"), "delete",
            allHavePaths && (common & Sfgao::CanDelete));
    if (OnRename)
        addVerb(QCoreApplication::translate("Pathwright", "Rena&me"), "rename",
                targets.items.size() == 1 && (common & Sfgao::CanRename));
    popup.addSeparator();
    addVerb(QCoreApplication::translate("Pathwright", "P&roperties"), "properties", true);

    // The caller's items after ours, set apart by a separator, with their direct sub-items.
    std::vector<QAction*> clones;
    if (extraMenu) {
        // The menu shows no separator twice in a row nor one at its end.
        if (!extraMenu->actions().isEmpty())
            popup.addSeparator();
        for (QAction* item : extraMenu->actions()) {
            QAction* clone = CloneMenuItem(item, &popup);
            clones.push_back(clone);
            if (QMenu* sub = item->menu()) {
                auto* subCopy = new QMenu(item->text(), &popup);
                for (QAction* subItem : sub->actions()) {
                    QAction* subClone = CloneMenuItem(subItem, subCopy);
                    subCopy->addAction(subClone);
                    clones.push_back(subClone);
                }
                clone->setMenu(subCopy);
            }
            popup.addAction(clone);
        }
    }

    QAction* chosen = m_hooks.ExecMenu(popup, screenPoint);
    if (!chosen)
        return;
    // A copied item has run its own handler when the menu triggered it.
    if (std::find(clones.begin(), clones.end(), chosen) != clones.end())
        return;
    verb = chosen->data().toString();
    if (verb.isEmpty())
        return;
    if (VerbIs(verb, "rename") && OnRename) {
        OnRename(this);
        return;
    }
    if (OnContextMenuSelect)
        OnContextMenuSelect(verb, execute);
    else if (m_readOnly)
        execute = !(VerbIs(verb, "delete") || VerbIs(verb, "cut") || VerbIs(verb, "paste"));
    if (!execute || !RunVerb(verb, targets)) {
        verb.clear();
        return;
    }
    if (VerbIs(verb, "delete") && ObjectExists(QFile::decodeName(targets.paths.front())))
        verb.clear();
}

// ---- detail columns ----

bool TPathwright::HasDetails() {
    // No folder of this namespace offers columns of its own; the built-in four serve every folder.
    m_detailsLooked = true;
    return false;
}

const TPathwright::FindData& TPathwright::FetchFindData() {
    if (m_findData.valid || !m_object)
        return m_findData;
    const OptIDList& absolute = AbsoluteObjectIDList();
    if (!absolute || absolute->IsDesktop())
        return m_findData;
    const QByteArray path = PathFromIDList(*absolute);
    struct stat st;
    if (path.isEmpty() || ::stat(path.constData(), &st) != 0) {
        // A dangling link still has find data of its own.
        if (path.isEmpty() || ::lstat(path.constData(), &st) != 0)
            return m_findData;
    }
    m_findData.valid = true;
    m_findData.isDir = S_ISDIR(st.st_mode);
    m_findData.size = st.st_size;
    m_findData.changed = QDateTime::fromSecsSinceEpoch(st.st_mtim.tv_sec);
    m_findData.fileName = QFile::decodeName(path.mid(path.lastIndexOf('/') + 1));
    m_findData.path = path;
    return m_findData;
}

QString TPathwright::DetailText(int index, bool header) {
    static const char* const headers[] = {
        QT_TRANSLATE_NOOP("Pathwright", "Name"), QT_TRANSLATE_NOOP("Pathwright", "Size"),
        QT_TRANSLATE_NOOP("Pathwright", "Type"), QT_TRANSLATE_NOOP("Pathwright", "Changed")};
    if (header)
        return index >= 0 && index < 4 ? QCoreApplication::translate("Pathwright", headers[index])
                                       : QString();
    if (index == 0)
        return DisplayName();
    if (index < 1 || index > 3)
        return QString();
    FindData& data = const_cast<FindData&>(FetchFindData());
    if (!data.valid)
        return QString();
    switch (index) {
    case 1: {
        if (data.isDir)
            return QString();
        if (data.size > 0 && data.size < 1024)
            data.size = 1024;
        // Whole kilobytes, halves rounded up, with the locale's thousands separator.
        const qint64 kilobytes = (data.size + 512) / 1024;
        return QLocale().toString(kilobytes) + QStringLiteral(" KB");
    }
    case 2: {
        static const QMimeDatabase database;
        const QMimeType type = data.isDir ? database.mimeTypeForName(QStringLiteral("inode/directory"))
                                          : FileMimeType(data.path);
        return type.comment().left(80);
    }
    default:
        return FileTimeText(data.changed);
    }
}

TColumnAlignment TPathwright::ColumnInfo(int index, int& width) {
    width = 120;
    switch (index) {
    case 0:
        width = 150;
        return TColumnAlignment::taLeftJustify;
    case 1:
        width = 60;
        return TColumnAlignment::taRightJustify;
    case 2:
        width = 120;
        return TColumnAlignment::taLeftJustify;
    case 3:
        width = 100;
        return TColumnAlignment::taLeftJustify;
    default:
        return TColumnAlignment::taLeftJustify;
    }
}

QString TPathwright::ColumnSampleText(int index) const {
    switch (index) {
    case 1:
        return QLocale().toString(qint64(9999999)) + QStringLiteral(" KB");
    case 3:
        return FileTimeText(QDateTime(QDate(2000, 12, 28), QTime(22, 58, 58)));
    default:
        return QString();
    }
}

QString TPathwright::FileTimeText(const QDateTime& time) {
    if (!time.isValid() || time.toMSecsSinceEpoch() == 0)
        return QString();
    QDateTime local = time.toLocalTime();
    // Two-second steps, as file times were always shown.
    local = local.addSecs(-(local.time().second() % 2));
    const QLocale locale;
    return locale.toString(local.date(), QLocale::ShortFormat) + u' ' +
           locale.toString(local.time(), QLocale::ShortFormat);
}

} // namespace wordloom::shell
