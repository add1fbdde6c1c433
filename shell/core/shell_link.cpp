#include "shell/core/shell_link.h"

#include "shell/core/core_components.h"

#include <QCoreApplication>
#include <QScopedValueRollback>

namespace wordloom::shell {

// Linking this class in makes the core's classes known to form files (see core_components.h).
[[maybe_unused]] static const bool kCoreComponentsRegistered = (RegisterShellCoreComponents(), true);

const TShellLinkEvent* TShellLinkEvent::From(const QEvent* event) {
    const int type = int(event->type());
    if (type < int(ShellLinkEventType(TShellLinkMessage::SLM_FOLDERCHANGED)) ||
        type > int(ShellLinkEventType(TShellLinkMessage::SLM_CONTENTSCHANGED)))
        return nullptr;
    return dynamic_cast<const TShellLinkEvent*>(event);
}

TVelShellLink::TVelShellLink(QObject* owner) : TComponent(owner) {}

int TVelShellLink::AddControl(QObject* control) {
    m_controls.append(control);
    return int(m_controls.size()) - 1;
}

void TVelShellLink::RemoveControl(QObject* control) {
    for (qsizetype i = 0; i < m_controls.size(); ++i)
        if (m_controls[i] == control) {
            m_controls.removeAt(i);
            return;
        }
}

QList<QObject*> TVelShellLink::Controls() const {
    QList<QObject*> result;
    for (const QPointer<QObject>& control : m_controls)
        result.append(control.data());
    return result;
}

void TVelShellLink::FolderChanged(QObject* sender, IDList folder) {
    if (!m_enabled)
        return;
    {
        // Rolled back also when a receiver throws: the link must not stay switched off for good.
        const QScopedValueRollback<bool> disabled(m_enabled, false);
        Broadcast(sender, TShellLinkMessage::SLM_FOLDERCHANGED, folder);
    }
    OnChange(this);
}

void TVelShellLink::SelectAllItems(QObject* sender) {
    if (m_enabled)
        Broadcast(sender, TShellLinkMessage::SLM_SELECTALL);
}

void TVelShellLink::RefreshLinked(QObject* sender) {
    if (m_enabled)
        Broadcast(sender, TShellLinkMessage::SLM_REFRESH);
}

void TVelShellLink::ContentsChanged(QObject* sender) {
    if (m_enabled)
        Broadcast(sender, TShellLinkMessage::SLM_CONTENTSCHANGED);
}

void TVelShellLink::Broadcast(QObject* sender, TShellLinkMessage message, const OptIDList& folder) {
    // Receivers may register or leave while they are told; the list as it stood is walked, and a
    // control destroyed meanwhile (or without leaving) is passed over.
    const QList<QPointer<QObject>> controls = m_controls;
    for (const QPointer<QObject>& control : controls) {
        if (!control || control == sender)
            continue;
        // Each receiver gets a notice of its own: what one does with it cannot reach the next.
        TShellLinkEvent event(message, folder);
        QCoreApplication::sendEvent(control.data(), &event);
    }
}

} // namespace wordloom::shell
