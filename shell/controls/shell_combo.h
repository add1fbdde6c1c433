// TVelShellCombo: a drop-down list that shows where the linked controls are in the shell namespace: a
// skeleton of the desktop, its containers and the volumes of Computer, plus the chain of folders that
// leads to the current folder, each entry with its icon and indented by its depth. Picking an entry
// sends that folder to the linked controls; a folder change elsewhere selects or inserts its entry.
#pragma once

#include "shell/controls/control_layout.h"
#include "shell/controls/shell_control_common.h"
#include "shell/core/pathwright.h"
#include "shell/core/shell_link.h"

#include <QComboBox>
#include <QMenu>
#include <QMetaType>
#include <QPointer>

namespace wordloom::shell {

class TVelSystemImageList;

// The record of an entry.
struct TVelComboItem {
    QString name;           // the entry's string: a folder name, a volume's mount point ("/", "/media/usb/")
    QString displayName;    // the shell's display name
    int level = 0;          // depth: level x IndentStep pixels of indentation
    int iconIndex = 0;      // into the small system image list
    bool isDrive = false;   // the name is a volume's mount point
    bool permanent = false; // part of the skeleton; TrimEntries never removes it
    OptIDList idList;       // the entry's absolute list; none for an entry made from a plain string
};

class TVelShellCombo : public QComboBox, public TVelShellControl {
    Q_OBJECT
    Q_PROPERTY(wordloom::shell::ControlLayout::TAlign Align READ Align WRITE SetAlign)
    Q_PROPERTY(int Left READ x WRITE SetLeft)
    Q_PROPERTY(int Top READ y WRITE SetTop)
    Q_PROPERTY(int Width READ width WRITE SetWidth)
    Q_PROPERTY(int Height READ height WRITE SetHeight)
    Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
    Q_PROPERTY(int ItemHeight READ ItemHeight WRITE SetItemHeight)
    Q_PROPERTY(TVelShellLink* ShellLink READ ShellLink WRITE SetShellLink)
    Q_PROPERTY(int ItemIndex READ currentIndex WRITE SetItemIndex)
    Q_PROPERTY(bool FileSystemOnly READ FileSystemOnly WRITE SetFileSystemOnly)
    Q_CLASSINFO("Default:FileSystemOnly", "False")
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)
    Q_PROPERTY(QMenu* PopupMenu READ PopupMenu WRITE SetPopupMenu)
    Q_PROPERTY(TMethod OnChange READ OnChangeMethod WRITE SetOnChangeMethod)

public:
    explicit TVelShellCombo(QWidget* owner = nullptr);
    ~TVelShellCombo() override;

    // ---- placement ----
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);
    void SetLeft(int value) { move(value, y()); }
    void SetTop(int value) { move(x(), value); }
    void SetWidth(int value);
    void SetHeight(int value);
    int TabOrder() const { return m_tabOrder; }
    void SetTabOrder(int value) { m_tabOrder = value; }
    int ItemHeight() const { return m_itemHeight; }
    void SetItemHeight(int value);

    // ---- published ----
    void SetShellLink(TVelShellLink* link) { TVelShellControl::SetShellLink(link); }
    // Selects an entry and tells the link (not while loading; -1 tells nothing).
    void SetItemIndex(int value);
    bool FileSystemOnly() const { return m_browser->FileSystemOnly(); }
    // Takes effect at the next build of the skeleton.
    void SetFileSystemOnly(bool value);
    QString Version() const { return ComponentVersion(this); }
    void SetVersion(const QString&) {}
    QMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(QMenu* menu) { m_popupMenu = menu; }

    TNotifyEvent OnChange;
    TMethod OnChangeMethod() const { return OnChange.Method(); }
    void SetOnChangeMethod(const TMethod& m) { OnChange.SetMethod(m); }

    // ---- operations ----
    // Inserts an entry; an empty name takes the display name, and with both empty nothing is inserted.
    // An index beyond the end appends, and so does a negative one.
    void AddComboEntry(int index, const QString& name, bool permanent, const OptIDList& idList, int level,
                       int iconIndex, const QString& displayName);
    // Inserts the containers of the browser's folder from `position` on: volumes first, then the others.
    void AddChildEntries(int position, int level);
    // Clears the entries and builds the skeleton: the desktop, its containers, the volumes and other
    // containers of Computer directly after entry 1; selects entry 1 when nothing is selected.
    void BuildSkeleton();
    // Selects a file-system path through the volume that holds it, inserting its folders; a path on no
    // listed volume changes nothing. A folder that is not there throws the browser's error.
    void SelectPath(const QString& path);
    // Selects an absolute list, inserting what the entries lack below the deepest one that matches.
    void SelectIDList(const OptIDList& idList);
    // Removes the entries after `index` that are not permanent.
    void TrimEntries(int index);
    // The entry whose name is exactly `name`, or -1; its level in `level`.
    int IndexOfName(const QString& name, int& level) const;

    // ---- entries ----
    int EntryCount() const { return count(); }
    // The record of an entry; none for a plain string not yet drawn.
    std::optional<TVelComboItem> Entry(int index) const;
    // Draws an entry as the drop-down shows it (indented) or as the selection field does (not).
    void DrawEntry(QPainter& painter, const QRect& rect, int index, bool selected, bool indent);
    TPathwright* Browser() const { return m_browser; }
    TVelSystemImageList* Images() const { return m_images; }
    // Pixels of indentation per level.
    int IndentStep = 10;

    void Loaded() override;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

public:
    void showPopup() override;

private:
    void EntryPicked(int index);
    void ConvertPlainEntries();
    void SetEntry(int index, const TVelComboItem& item);
    void FolderChangedNotice(const IDList& idList);
    void SelectQuietly(int index);

    TPathwright* m_browser;
    TVelSystemImageList* m_images;
    QPointer<QMenu> m_popupMenu;
    TAlign m_align = TAlign::alNone;
    int m_tabOrder = -1;
    int m_itemHeight = 16;
    bool m_converting = false;
};

} // namespace wordloom::shell

Q_DECLARE_METATYPE(wordloom::shell::TVelComboItem)
