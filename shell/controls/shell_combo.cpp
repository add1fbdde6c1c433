#include "shell/controls/shell_combo.h"

#include "shell/controls/shell_list.h"
#include "shell/core/busy_cursor.h"
#include "shell/core/system_image_list.h"

#include <QAbstractItemView>
#include <QContextMenuEvent>
#include <QFile>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyleOptionComboBox>
#include <QStylePainter>
#include <QStyledItemDelegate>

namespace wordloom::shell {

// Linking this control in makes the controls known to form files (see RegisterShellControls).
[[maybe_unused]] static const bool kControlsRegistered = (RegisterShellControls(), true);

namespace {

constexpr int RecordRole = Qt::UserRole + 1;

// The drop-down's rows, drawn by the combo box itself.
class EntryDelegate : public QStyledItemDelegate {
public:
    explicit EntryDelegate(TVelShellCombo* combo) : QStyledItemDelegate(combo), m_combo(combo) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        m_combo->DrawEntry(*painter, option.rect, index.row(), option.state & QStyle::State_Selected, true);
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
        return QSize(QStyledItemDelegate::sizeHint(option, index).width(),
                     std::max(m_combo->ItemHeight(), 16));
    }

private:
    TVelShellCombo* m_combo;
};

bool IsDriveName(const QString& name) {
    return !name.isEmpty() && name.startsWith(u'/') && IsDriveRoot(name);
}

} // namespace

TVelShellCombo::TVelShellCombo(QWidget* owner) : QComboBox(owner), TVelShellControl(this) {
    m_browser = new TPathwright(this);
    m_browser->SetFileSystemOnly(false);
    m_images = new TVelSystemImageList(this);
    setEditable(false);
    setItemDelegate(new EntryDelegate(this));
    setIconSize(QSize(16, 16));
    connect(this, qOverload<int>(&QComboBox::activated), this, &TVelShellCombo::EntryPicked);
    connect(this, qOverload<int>(&QComboBox::currentIndexChanged), this, [this](int) { OnChange(this); });
}

TVelShellCombo::~TVelShellCombo() = default;

// ---- placement ----

void TVelShellCombo::SetAlign(TAlign align) {
    m_align = align;
    RequestAlign(this);
}

void TVelShellCombo::SetWidth(int value) {
    resize(value, height());
    RequestAlign(this);
}

void TVelShellCombo::SetHeight(int value) {
    resize(width(), value);
    RequestAlign(this);
}

void TVelShellCombo::SetItemHeight(int value) {
    m_itemHeight = value;
    update();
}

void TVelShellCombo::SetFileSystemOnly(bool value) {
    m_browser->SetFileSystemOnly(value);
    update();
}

// ---- entries ----

std::optional<TVelComboItem> TVelShellCombo::Entry(int index) const {
    if (index < 0 || index >= count())
        return std::nullopt;
    const QVariant record = itemData(index, RecordRole);
    if (!record.isValid())
        return std::nullopt;
    return record.value<TVelComboItem>();
}

void TVelShellCombo::SetEntry(int index, const TVelComboItem& item) {
    setItemData(index, QVariant::fromValue(item), RecordRole);
}

void TVelShellCombo::AddComboEntry(int index, const QString& name, bool permanent, const OptIDList& idList,
                                   int level, int iconIndex, const QString& displayName) {
    TVelComboItem item;
    item.name = name.isEmpty() ? displayName : name;
    if (item.name.isEmpty())
        return;
    item.displayName = displayName;
    item.level = level;
    item.iconIndex = iconIndex;
    item.permanent = permanent;
    item.idList = idList;
    item.isDrive = IsDriveName(item.name);
    if (index > count() || index < 0)
        index = count();
    insertItem(index, item.name);
    SetEntry(index, item);
}

void TVelShellCombo::AddChildEntries(int position, int level) {
    int drivePosition = position;
    while (m_browser->NextObject()) {
        if (m_browser->ObjectAttributes(0xB0000000) == 0)
            continue;
        const QString name = m_browser->GetObjectName();
        bool known = false;
        for (int i = 0; i < count() && !known; ++i)
            known = !name.isEmpty() && itemText(i).compare(name, Qt::CaseInsensitive) == 0;
        if (known)
            continue;
        const OptIDList id =
            ConcatIDLists(CopyIDList(m_browser->GetFolderIDList()), CopyIDList(m_browser->GetObjectIDList()));
        if (IsDriveName(name)) {
            AddComboEntry(drivePosition, name, true, id, level, m_browser->GetIconNumber(),
                          m_browser->DisplayName());
            ++drivePosition;
            ++position;
        } else {
            AddComboEntry(position, name, true, id, level, m_browser->GetIconNumber(),
                          m_browser->DisplayName());
            ++position;
        }
    }
}

void TVelShellCombo::BuildSkeleton() {
    BusyCursor busy;
    const QSignalBlocker blocker(this);
    clear();
    m_browser->Loaded();
    m_browser->SetFolderIDList(IDList());
    AddComboEntry(0, m_browser->DesktopName(), true, IDList(), 0, m_browser->DesktopIconNumber(),
                  m_browser->DesktopName());
    m_browser->SetSpecialFolder(SF_DESKTOP);
    AddChildEntries(1, 1);
    if (m_browser->SetSpecialFolder(SF_DRIVES))
        AddChildEntries(2, 2);
    if (currentIndex() < 0 || currentIndex() != 1) {
        setCurrentIndex(std::min(1, count() - 1));
    }
}

void TVelShellCombo::TrimEntries(int index) {
    for (int i = count() - 1; i > index && i >= 0; --i) {
        const std::optional<TVelComboItem> item = Entry(i);
        if (item && !item->permanent)
            removeItem(i);
    }
}

int TVelShellCombo::IndexOfName(const QString& name, int& level) const {
    for (int i = 0; i < count(); ++i) {
        if (itemText(i) == name) {
            const std::optional<TVelComboItem> item = Entry(i);
            level = item ? item->level : 0;
            return i;
        }
    }
    level = 0;
    return -1;
}

void TVelShellCombo::SelectQuietly(int index) {
    const QSignalBlocker blocker(this);
    setCurrentIndex(index);
    OnChange(this);
    update();
}

void TVelShellCombo::SelectPath(const QString& path) {
    TrimEntries(-1);
    QString full = path;
    if (!full.endsWith(u'/'))
        full.append(u'/');
    // The volume that holds the path: the drive entry with the longest mount point it begins with.
    int drive = -1;
    qsizetype driveLength = -1;
    for (int i = 0; i < count(); ++i) {
        const std::optional<TVelComboItem> item = Entry(i);
        if (!item || !item->isDrive)
            continue;
        QString point = item->name;
        if (!point.endsWith(u'/'))
            point.append(u'/');
        if (full.startsWith(point) && point.size() > driveLength) {
            drive = i;
            driveLength = point.size();
        }
    }
    if (drive < 0)
        return;
    int level = 0;
    const int driveIndex = IndexOfName(itemText(drive), level);
    if (driveIndex < 0 || !Entry(driveIndex) || !Entry(driveIndex)->idList)
        return;
    m_browser->SetFolderIDList(Entry(driveIndex)->idList);
    const QString rest = full.mid(driveLength).left(260);
    int position = driveIndex;
    for (const QString& component : rest.split(u'/', Qt::SkipEmptyParts)) {
        m_browser->SetObjectName(component);
        const int icon = m_browser->GetIconNumber();
        if (!m_browser->EnterObject())
            throw EPathwrightError(QStringLiteral("Error! Cannot find Object \"") + component +
                                   QStringLiteral("\" in Folder \"") + m_browser->Folder() +
                                   QStringLiteral("\""));
        const int above = Entry(position) ? Entry(position)->level : 0;
        AddComboEntry(position + 1, component, false, CopyIDList(m_browser->GetFolderIDList()), above + 1,
                      icon, component);
        ++position;
    }
    SelectQuietly(position);
    if (position != driveIndex) {
        m_browser->SelectFolderInParent();
        if (std::optional<TVelComboItem> item = Entry(position)) {
            item->iconIndex = m_browser->GetSelectedIconNumber();
            SetEntry(position, *item);
        }
    }
}

void TVelShellCombo::SelectIDList(const OptIDList& idList) {
    TrimEntries(-1);
    if (!idList || count() == 0)
        return;
    const std::vector<ItemView> items = idList->Items();
    int best = 0;
    std::size_t matched = 0;
    IDList prefix;
    for (std::size_t n = 0; n < items.size(); ++n) {
        prefix = prefix.Appended(items[n].kind, items[n].name);
        for (int i = 0; i < count(); ++i) {
            const std::optional<TVelComboItem> item = Entry(i);
            if (item && item->idList && shell::CompareIDs(*item->idList, prefix) == 0) {
                best = i;
                matched = n + 1;
                break;
            }
        }
    }
    const std::optional<TVelComboItem> bestItem = Entry(best);
    if (!bestItem || !bestItem->idList)
        return;
    try {
        m_browser->SetFolderIDList(bestItem->idList);
    } catch (const EPathwrightError&) {
        return;
    }
    int position = best;
    for (std::size_t n = matched; n < items.size(); ++n) {
        m_browser->SetObjectIDList(IDList::Item(items[n].kind, items[n].name));
        const int above = Entry(position) ? Entry(position)->level : 0;
        const QString name = m_browser->DisplayName();
        AddComboEntry(position + 1, name, false, CopyIDList(m_browser->AbsoluteObjectIDList()), above + 1,
                      m_browser->GetIconNumber(), name);
        ++position;
        bool entered = false;
        try {
            entered = m_browser->EnterObject();
        } catch (const EPathwrightError&) {
            // An object that is no folder (any more) ends the chain.
        }
        if (!entered)
            break;
    }
    SelectQuietly(position);
}

void TVelShellCombo::SetItemIndex(int value) {
    if (value == currentIndex())
        return;
    setCurrentIndex(value);
    if (!m_shellLink || IsLoading() || value < 0)
        return;
    if (const std::optional<TVelComboItem> item = Entry(value); item && item->idList)
        m_shellLink->FolderChanged(this, *item->idList);
}

void TVelShellCombo::EntryPicked(int index) {
    if (index < 0)
        return;
    TrimEntries(index);
    const std::optional<TVelComboItem> item = Entry(index);
    if (m_shellLink && item && item->idList)
        m_shellLink->FolderChanged(this, *item->idList);
}

// ---- link ----

void TVelShellCombo::FolderChangedNotice(const IDList& idList) {
    const QString path = QFile::decodeName(PathFromIDList(idList)).left(260);
    if (!path.isEmpty() && !idList.IsDesktop() && !path.startsWith(QStringLiteral("//"))) {
        try {
            SelectPath(path);
        } catch (const EPathwrightError&) {
            // A folder gone between the notice and the walk: what was inserted stays.
        }
        return;
    }
    TrimEntries(-1);
    for (int i = 0; i < count(); ++i) {
        const std::optional<TVelComboItem> item = Entry(i);
        if (item && item->idList && shell::CompareIDs(*item->idList, idList) == 0) {
            SetItemIndex(i);
            return;
        }
    }
    try {
        SelectIDList(idList);
    } catch (const EPathwrightError&) {
        // A notice is no command: a folder that cannot be walked leaves the entries as they are.
    }
}

bool TVelShellCombo::event(QEvent* event) {
    if (const TShellLinkEvent* notice = TShellLinkEvent::From(event)) {
        if (notice->Message() == TShellLinkMessage::SLM_FOLDERCHANGED && notice->Folder())
            FolderChangedNotice(*notice->Folder());
        return true;
    }
    return QComboBox::event(event);
}

void TVelShellCombo::Loaded() {
    TVelShellControl::Loaded();
    if (IsDesigning()) {
        clear();
        return;
    }
    BuildSkeleton();
    OnChange(this);
}

void TVelShellCombo::showEvent(QShowEvent* event) {
    QComboBox::showEvent(event);
    if (FirstWindowSetup() && count() == 0 && !IsDesigning() && !IsLoading())
        BuildSkeleton();
}

// ---- drawing ----

void TVelShellCombo::ConvertPlainEntries() {
    if (m_converting)
        return;
    const QScopedValueRollback<bool> converting(m_converting, true);
    const QSignalBlocker blocker(this);
    const int current = currentIndex();
    for (int i = 0; i < count(); ++i) {
        if (itemData(i, RecordRole).isValid())
            continue;
        const QString path = itemText(i);
        const OptIDList id = IDListFromName(nullptr, path);
        const QString display = id ? DisplayNameOf(*id) : path;
        const int icon = id ? IconRegistry::Instance().IconIndexFor(*id, false) : 0;
        removeItem(i);
        AddComboEntry(i, path, true, std::nullopt, 0, icon, display);
    }
    setCurrentIndex(current);
}

void TVelShellCombo::DrawEntry(QPainter& painter, const QRect& rect, int index, bool selected, bool indent) {
    const std::optional<TVelComboItem> item = Entry(index);
    painter.save();
    painter.fillRect(rect, palette().brush(selected ? QPalette::Highlight : QPalette::Base));
    if (item) {
        const int offset = indent ? item->level * IndentStep : 0;
        const QPixmap icon = m_images->Pixmap(item->iconIndex);
        const int iconWidth = m_images->IconSize();
        painter.drawPixmap(rect.left() + 2 + offset, rect.top() + (rect.height() - iconWidth) / 2, iconWidth,
                           iconWidth, icon);
        const QString text = item->isDrive ? item->displayName : item->name;
        painter.setPen(palette().color(selected ? QPalette::HighlightedText : QPalette::Text));
        const QRect textRect(rect.left() + offset + iconWidth + 6, rect.top(),
                             std::max(0, rect.right() - (rect.left() + offset + iconWidth + 6)),
                             rect.height());
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter, text);
    }
    painter.restore();
}

void TVelShellCombo::paintEvent(QPaintEvent*) {
    ConvertPlainEntries();
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText.clear();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    if (currentIndex() < 0)
        return;
    QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    DrawEntry(painter, field, currentIndex(), hasFocus(), false);
}

void TVelShellCombo::showPopup() {
    ConvertPlainEntries();
    QComboBox::showPopup();
}

void TVelShellCombo::contextMenuEvent(QContextMenuEvent* event) {
    event->accept();
    if (m_popupMenu) {
        m_hooks.ExecMenu(*m_popupMenu, event->globalPos());
        return;
    }
    const std::optional<TVelComboItem> item = Entry(currentIndex());
    if (!item || !item->idList)
        return;
    try {
        m_browser->SetFolderIDList(item->idList);
    } catch (const EPathwrightError&) {
        return;
    }
    m_browser->SelectFolderInParent();
    QString verb;
    m_browser->ShowContextMenu(event->globalPos(), nullptr, verb);
    unsetCursor();
}

} // namespace wordloom::shell
