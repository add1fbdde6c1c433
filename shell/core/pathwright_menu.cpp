// The context menu of TPathwright: the shell's verbs for the current object or the MultiObjects,
// followed by copies of the caller's items.
#include "shell/core/pathwright.h"

#include "shell/core/file_clipboard.h"

#include <QAction>
#include <QClipboard>
#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>

#include <algorithm>

namespace wordloom::shell {

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

} // namespace wordloom::shell
