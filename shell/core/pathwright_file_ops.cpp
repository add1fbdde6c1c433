// The commands of TPathwright: open, delete to the trash, cut, copy, paste, rename and properties, on
// the current object or the MultiObjects.
#include "shell/core/pathwright.h"

#include "shell/core/busy_cursor.h"
#include "shell/core/file_clipboard.h"
#include "shell/core/properties_dialog.h"
#include "shell/core/trash.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

namespace wordloom::shell {

bool VerbIs(const QString& verb, const char* name) {
    return verb.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

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

} // namespace wordloom::shell
