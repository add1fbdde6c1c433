#include "shell/forms/component.h"

namespace wordloom::shell {

TComponentState::TComponentState(QObject* self) : m_self(self) {
    if (TComponentState* owner = Owner(); owner && owner->IsDesigning())
        m_state |= TComponentStateValue::csDesigning;
}

TComponentState::~TComponentState() {
    m_state |= TComponentStateValue::csDestroying;
    // Take the list first: a Notification handler may call RemoveFreeNotification on us.
    const QList<TComponentState*> partners = std::exchange(m_freeNotifies, {});
    for (TComponentState* partner : partners)
        partner->m_freeNotifies.removeAll(this);
    for (TComponentState* partner : partners)
        if (!partner->m_state.testFlag(TComponentStateValue::csDestroying))
            partner->Notification(this, TOperation::opRemove);
    // The owner and its other components learn of the removal too, so that a reference between
    // siblings never dangles.
    TComponentState* owner = m_self->parent() ? AsComponent(m_self->parent()) : nullptr;
    if (!owner || owner->m_state.testFlag(TComponentStateValue::csDestroying))
        return;
    owner->Notification(this, TOperation::opRemove);
    for (QObject* child : owner->m_self->children()) {
        if (child == m_self) // being destroyed: no dynamic_cast on it any more
            continue;
        TComponentState* sibling = AsComponent(child);
        if (sibling && !partners.contains(sibling) &&
            !sibling->m_state.testFlag(TComponentStateValue::csDestroying))
            sibling->Notification(this, TOperation::opRemove);
    }
}

TComponentState* AsComponent(QObject* object) {
    return dynamic_cast<TComponentState*>(object);
}

TComponentState* TComponentState::Owner() const {
    return m_self->parent() ? AsComponent(m_self->parent()) : nullptr;
}

QList<TComponentState*> TComponentState::Components() const {
    QList<TComponentState*> result;
    for (QObject* child : m_self->children())
        if (TComponentState* component = AsComponent(child))
            result.append(component);
    return result;
}

TComponentState* TComponentState::FindComponent(const QString& name) const {
    if (name.isEmpty())
        return nullptr;
    for (TComponentState* component : Components())
        if (component->Name().compare(name, Qt::CaseInsensitive) == 0)
            return component;
    return nullptr;
}

void TComponentState::SetDesigning(bool designing) {
    m_state.setFlag(TComponentStateValue::csDesigning, designing);
    for (TComponentState* component : Components())
        component->SetDesigning(designing);
}

void TComponentState::BeginLoading() {
    m_state |= TComponentStateValue::csLoading | TComponentStateValue::csReading;
}

void TComponentState::Loaded() {
    m_state &= ~TComponentStates(TComponentStateValue::csLoading | TComponentStateValue::csReading);
}

void TComponentState::SetWriting(bool writing) {
    m_state.setFlag(TComponentStateValue::csWriting, writing);
}

void TComponentState::FreeNotification(TComponentState* other) {
    if (!other || other == this)
        return;
    if (!m_freeNotifies.contains(other))
        m_freeNotifies.append(other);
    if (!other->m_freeNotifies.contains(this))
        other->m_freeNotifies.append(this);
}

void TComponentState::RemoveFreeNotification(TComponentState* other) {
    if (!other)
        return;
    m_freeNotifies.removeAll(other);
    other->m_freeNotifies.removeAll(this);
}

void TComponentState::Notification(TComponentState*, TOperation) {}

TComponent::TComponent(QObject* owner) : QObject(owner), TComponentState(this) {}

TComponent::~TComponent() = default;

QMetaMethod FindHandler(const QObject* receiver, const QByteArray& name, int argc) {
    if (!receiver)
        return {};
    const QMetaObject* meta = receiver->metaObject();
    for (int i = meta->methodCount() - 1; i >= 0; --i) {
        QMetaMethod method = meta->method(i);
        if (method.name() == name && method.parameterCount() == argc &&
            (method.methodType() == QMetaMethod::Method || method.methodType() == QMetaMethod::Slot))
            return method;
    }
    return {};
}

QString ComponentVersion(const QObject* component) {
    return ComponentClassName(component->metaObject()) + QStringLiteral(" V2.3");
}

QString ComponentClassName(const QMetaObject* meta) {
    const QByteArrayView qualified(meta->className());
    const qsizetype scope = qualified.lastIndexOf(QByteArrayView("::"));
    return QString::fromLatin1(scope < 0 ? qualified : qualified.sliced(scope + 2));
}

} // namespace wordloom::shell
