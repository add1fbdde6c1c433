// TVelShellLink: ties shell controls together so that they follow one another. Notices travel as
// events sent synchronously to each registered control (QCoreApplication::sendEvent), in
// registration order, never to the control that caused them.
#pragma once

#include "shell/core/id_list.h"
#include "shell/forms/component.h"

#include <QEvent>
#include <QList>
#include <QPointer>

namespace wordloom::shell {

// The link notices by their message numbers; the event type is QEvent::User + the number.
enum class TShellLinkMessage {
    SLM_FOLDERCHANGED = 0x680,
    SLM_SELECTALL = 0x681,
    SLM_REFRESH = 0x682,
    SLM_CONTENTSCHANGED = 0x683,
};

constexpr QEvent::Type ShellLinkEventType(TShellLinkMessage message) {
    return QEvent::Type(QEvent::User + int(message));
}

// A link notice. It holds what it tells: for SLM_FOLDERCHANGED, Folder() is the new folder's absolute
// item identifier list (a notice made without one is ignored); none for the other notices.
class TShellLinkEvent : public QEvent {
public:
    explicit TShellLinkEvent(TShellLinkMessage message, OptIDList folder = std::nullopt)
        : QEvent(ShellLinkEventType(message)), m_message(message), m_folder(std::move(folder)) {}
    TShellLinkMessage Message() const { return m_message; }
    const OptIDList& Folder() const { return m_folder; }
    // The notice carried by `event`, or null when it is no link notice.
    static const TShellLinkEvent* From(const QEvent* event);

private:
    TShellLinkMessage m_message;
    OptIDList m_folder;
};

class TVelShellLink : public TComponent {
    Q_OBJECT
    Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
    Q_PROPERTY(TMethod OnChange READ OnChangeMethod WRITE SetOnChangeMethod)
    Q_PROPERTY(QString Version READ Version WRITE SetVersion STORED false)
    Q_CLASSINFO("Default:Enabled", "True")
public:
    explicit TVelShellLink(QObject* owner = nullptr);

    // Appends a control (it may be registered more than once) and returns its index.
    int AddControl(QObject* control);
    // Removes the first registration of `control`.
    void RemoveControl(QObject* control);
    // The registered controls in order; a control destroyed without RemoveControl reads as null.
    QList<QObject*> Controls() const;

    // SLM_FOLDERCHANGED to every control but `sender`. The link is disabled meanwhile, so a
    // broadcast a receiver starts does nothing; then OnChange. Nothing at all while disabled.
    // The link tells its own copy of `folder`, so the sender may change or drop its list meanwhile.
    void FolderChanged(QObject* sender, IDList folder);
    void SelectAllItems(QObject* sender);
    void RefreshLinked(QObject* sender);
    void ContentsChanged(QObject* sender);

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled) { m_enabled = enabled; }

    QString Version() const { return ComponentVersion(this); }
    void SetVersion(const QString&) {}

    // Called after each folder broadcast.
    TNotifyEvent OnChange;
    TMethod OnChangeMethod() const { return OnChange.Method(); }
    void SetOnChangeMethod(const TMethod& method) { OnChange.SetMethod(method); }

private:
    void Broadcast(QObject* sender, TShellLinkMessage message, const OptIDList& folder = std::nullopt);

    QList<QPointer<QObject>> m_controls;
    bool m_enabled = true;
};

} // namespace wordloom::shell
