// TPathwright: one position in the shell namespace — an open folder and a current object inside it —
// through which the shell controls open folders, walk objects, read names, attributes, icons and detail
// columns, rename, run commands and show the context menu. It draws nothing itself.
#pragma once

#include "shell/core/id_list.h"
#include "shell/core/shell_namespace.h"
#include "shell/forms/component.h"

#include <QDateTime>
#include <QPoint>
#include <QStringList>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace wordloom::shell {

class TDirMon;

// The component's own failures ("Cannot Find Folder: ...", "Error! Cannot find Object ...").
class EPathwrightError : public ShellError {
public:
    using ShellError::ShellError;
};

// The object's column alignment in the detail view.
enum class TColumnAlignment { taLeftJustify, taRightJustify, taCenter };

/// Whether a command verb is the named one; verbs compare without regard to letter case.
bool VerbIs(const QString& verb, const char* name);

class TPathwright : public TComponent {
    Q_OBJECT
    Q_PROPERTY(QString Filter READ GetFilter WRITE SetFilter)
    Q_PROPERTY(QString Folder READ Folder WRITE SetFolder)
    Q_PROPERTY(QString ObjectName READ GetObjectName WRITE SetObjectName)
    Q_PROPERTY(int IconNumber READ GetIconNumber STORED false)
    Q_PROPERTY(int SelectedIconNumber READ GetSelectedIconNumber STORED false)
    Q_PROPERTY(bool FileSystemOnly READ FileSystemOnly WRITE SetFileSystemOnly)
    Q_PROPERTY(QStringList MultiObjects READ GetMultiObjects WRITE SetMultiObjects)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)
    Q_PROPERTY(TMethod OnRename READ OnRenameMethod WRITE SetOnRenameMethod)
    Q_PROPERTY(TMethod OnFileChange READ OnFileChangeMethod WRITE SetOnFileChangeMethod)
    Q_PROPERTY(TMethod OnContextMenuSelect READ OnContextMenuSelectMethod WRITE SetOnContextMenuSelectMethod)

public:
    // Filter "*", no current object, MultiObjects empty, no monitor; the folder is Computer.
    explicit TPathwright(QObject* owner = nullptr);
    ~TPathwright() override;

    void Loaded() override;
    // The owner when it is a widget and the component was loaded, else the application's active window;
    // dialogs and menus are parented to it.
    QWidget* OwnerWindow() const;

    // ---- folder ----
    // The open folder's path, always ending in "/"; empty for folders without one (Computer, Trash).
    QString Folder() const { return m_folder; }
    // Opens a folder by path; "" opens Computer. The same text as Folder does nothing. Throws
    // EPathwrightError("Cannot Find Folder: " + path) and changes nothing when the path names no folder.
    void SetFolder(const QString& path);
    // Opens a folder by absolute list; none only forgets the folder's list. Throws
    // EPathwrightError("Pathwright.SetFolderIDList: Desktop.BindToObject: Could not get Folder") and
    // changes nothing when the list names no folder.
    void SetFolderIDList(const OptIDList& idList);
    // False (nothing changed) when Linux has no such place.
    bool SetSpecialFolder(TVelShellFolder kind);
    // Opens the parent and makes the old folder its current object; at the desktop the current object
    // becomes the empty list. False without a folder.
    bool SelectFolderInParent();
    // Opens the current object when it is a folder.
    bool EnterObject();
    OptIDList GetFolderIDList() const { return m_folderId; }
    TVelShellFolder FolderSpecialIndex() const;

    // ---- current object ----
    // "" clears it; a plain name is parsed in the folder, else searched by display name and name
    // (throws "Error! Cannot find Object ..."); a mount point opens Computer with that volume current;
    // any other path opens its directory and takes the last part.
    void SetObjectName(const QString& name);
    // The file name; a volume's mount point with its "/"; empty for virtual objects and without one.
    QString GetObjectName() const;
    // Takes a copy of a relative list as the current object; none clears it.
    void SetObjectIDList(const OptIDList& idList);
    OptIDList GetObjectIDList() const { return m_object; }
    // Folder joined with the current object; cached, valid until the current object changes.
    const OptIDList& AbsoluteObjectIDList() const;
    QString DisplayName() const;
    // Renames the current object; `name` comes back as the object's display name afterwards.
    void RenameObject(QString& name);
    std::uint32_t ObjectAttributes(std::uint32_t mask) const;
    bool IsFolder() const;
    bool HasSubFolders() const;
    bool IsHidden() const;
    bool IsLink() const;
    bool CanRename() const;
    int GetIconNumber() const;
    int GetSelectedIconNumber() const;
    // The directory a symbolic link leads to; empty unless the object is a link to a directory.
    QString LinkTargetFolder() const;
    // The remote name of a network server or domain; the network folder lists none, so empty.
    QString NetworkName() const;
    TVelShellFolder ObjectSpecialIndex() const;

    // ---- enumeration and filter ----
    // The next object passing FileSystemOnly and the filter becomes current; false at the end.
    bool NextObject();
    void SetFilter(const QString& text);
    QString GetFilter() const;
    bool MatchesFilter() const;
    bool FileSystemOnly() const { return m_fileSystemOnly; }
    void SetFileSystemOnly(bool value) { m_fileSystemOnly = value; }

    // ---- desktop ----
    int DesktopIconNumber() const;
    QString DesktopName() const;

    // ---- commands and context menu ----
    QStringList& MultiObjects() { return m_multiObjects; }
    QStringList GetMultiObjects() const { return m_multiObjects; }
    void SetMultiObjects(const QStringList& names) { m_multiObjects = names; }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool value) { m_readOnly = value; }
    // One relative list per MultiObjects name, in order; the current object is kept.
    void MultiObjectIDLists(std::vector<IDList>& lists);
    // Runs a verb ("" = "default", "open", "delete", "cut", "copy", "paste", "rename", "properties") on
    // the current object or the MultiObjects (which it empties).
    bool InvokeCommand(const QString& verb);
    // Shows the context menu at a screen point with the extra menu's items after ours; `verb` reports
    // the command carried out ("rename" when OnRename took over) or is empty.
    void ShowContextMenu(const QPoint& screenPoint, QMenu* extraMenu, QString& verb);
    // The copy of an extra-menu item: named after it with "2", the same texts and states, and
    // triggering the original.
    static QAction* CloneMenuItem(QAction* item, QObject* parent);

    // ---- detail columns ----
    bool HasDetails();
    QString DetailText(int index, bool header);
    TColumnAlignment ColumnInfo(int index, int& width);
    // A text as wide as the column's values usually get (a size of 9,999,999 KB, a change time late in
    // December), so that a view can make the column wide enough in its font; empty for other columns.
    QString ColumnSampleText(int index) const;
    // Local short date and time; empty for a time that is not set.
    static QString FileTimeText(const QDateTime& time);

    QString Version() const { return ComponentVersion(this); }
    void SetVersion(const QString&) {}

    // ---- events ----
    TNotifyEvent OnRename;
    TEvent<const QString&, bool&> OnContextMenuSelect;
    // Replacing the handler stops and frees the monitor; a handler starts a new one on Folder.
    void SetOnFileChange(std::function<void(QObject*)> handler);
    bool OnFileChangeAssigned() const { return m_onFileChange.Assigned(); }
    TDirMon* Monitor() const { return m_monitor; }

    TMethod OnRenameMethod() const { return OnRename.Method(); }
    void SetOnRenameMethod(const TMethod& method) { OnRename.SetMethod(method); }
    TMethod OnFileChangeMethod() const { return m_onFileChange.Method(); }
    void SetOnFileChangeMethod(const TMethod& method);
    TMethod OnContextMenuSelectMethod() const { return OnContextMenuSelect.Method(); }
    void SetOnContextMenuSelectMethod(const TMethod& method) { OnContextMenuSelect.SetMethod(method); }

    // What the commands ask of the user and the desktop; tests replace them.
    struct UiHooks {
        // A question with OK and Cancel; true for OK.
        std::function<bool(QWidget* parent, const QString& caption, const QString& text)> Confirm;
        // Tells of a command that failed (a file that could not go to the trash).
        std::function<void(QWidget* parent, const QString& caption, const QString& text)> ShowError;
        // Opens a document with its application.
        std::function<bool(const QUrl& url)> OpenUrl;
        // Runs the menu at the point as QMenu::exec does: the chosen action, already triggered, or null
        // when cancelled.
        std::function<QAction*(QMenu& menu, const QPoint& point)> ExecMenu;
    };
    UiHooks& Hooks() { return m_hooks; }

private:
    struct FindData {
        bool valid = false;
        bool isDir = false;
        qint64 size = 0;
        QDateTime changed;
        QString fileName;
        QByteArray path;
    };
    struct Targets {
        std::vector<IDList> items;     // relative lists
        std::vector<QByteArray> paths; // their file-system paths (empty for virtual objects)
    };

    void StartMonitor();
    void DropCurrentObjectCaches();
    Targets CollectTargets();
    bool RunVerb(const QString& verb, const Targets& targets);
    bool DeleteToTrash(const Targets& targets);
    bool PutOnClipboard(const Targets& targets, bool cut);
    bool Paste(const Targets& targets);
    void ShowProperties(const Targets& targets);
    const FindData& FetchFindData();

    QString m_folder;
    OptIDList m_folderId;
    std::shared_ptr<ShellFolder> m_folderObject;
    OptIDList m_object;
    mutable OptIDList m_absoluteObject;
    std::unique_ptr<FolderEnumerator> m_enumerator;
    QStringList m_filter;
    bool m_fileSystemOnly = false;
    bool m_readOnly = false;
    bool m_loaded = false;
    bool m_detailsLooked = false;
    QStringList m_multiObjects;
    FindData m_findData;
    TNotifyEvent m_onFileChange;
    TDirMon* m_monitor = nullptr;
    UiHooks m_hooks;
};

} // namespace wordloom::shell
