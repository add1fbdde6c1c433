// The component layer every shell class builds on: owner = Qt parent, a loading state while a form
// file is read, a designing flag, Loaded, free notification, and events that form files can bind by
// handler name. Published properties are Q_PROPERTYs (STORED false where never written to a form).
#pragma once

#include <QByteArray>
#include <QFlags>
#include <QList>
#include <QMetaMethod>
#include <QMetaType>
#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <stdexcept>
#include <tuple>
#include <type_traits>
#include <utility>

namespace wordloom::shell {

// The general failure of components; the message is the program's own text.
class ShellError : public std::runtime_error {
public:
    explicit ShellError(const QString& message) : std::runtime_error(message.toStdString()) {}
    QString Message() const { return QString::fromUtf8(what()); }
};

enum class TComponentStateValue {
    csLoading = 0x1,
    csReading = 0x2,
    csWriting = 0x4,
    csDestroying = 0x8,
    csDesigning = 0x10,
};
Q_DECLARE_FLAGS(TComponentStates, TComponentStateValue)
Q_DECLARE_OPERATORS_FOR_FLAGS(TComponentStates)

enum class TOperation { opInsert, opRemove };

// Component state for any QObject: non-visual components derive from TComponent, controls from a
// QWidget class and this mixin. The form reader and writer find it with dynamic_cast (AsComponent).
// Free-notification links are two-way and dropped when either side is destroyed; the one destroyed
// calls Notification(itself, opRemove) on the other. A receiver must only compare that pointer: the
// component is already being destroyed.
class TComponentState {
public:
    explicit TComponentState(QObject* self);
    virtual ~TComponentState();
    TComponentState(const TComponentState&) = delete;
    TComponentState& operator=(const TComponentState&) = delete;

    QObject* Object() const { return m_self; }
    QString Name() const { return m_self->objectName(); }
    // The owner is the Qt parent when that is a component too.
    TComponentState* Owner() const;
    // Owned components (direct Qt children that are components), in creation order.
    QList<TComponentState*> Components() const;
    TComponentState* FindComponent(const QString& name) const;

    TComponentStates ComponentState() const { return m_state; }
    bool IsLoading() const { return m_state.testFlag(TComponentStateValue::csLoading); }
    bool IsDesigning() const { return m_state.testFlag(TComponentStateValue::csDesigning); }
    // Sets or clears csDesigning here and on every owned component.
    void SetDesigning(bool designing);

    // The form reader brackets its work with these: csLoading (and csReading) on while properties are
    // set, then Loaded. Loaded clears csLoading; overrides call the base first.
    void BeginLoading();
    virtual void Loaded();
    void SetWriting(bool writing);

    // When `other` is destroyed this component's Notification(other, opRemove) runs, and the reverse.
    void FreeNotification(TComponentState* other);
    void RemoveFreeNotification(TComponentState* other);
    virtual void Notification(TComponentState* component, TOperation operation);

private:
    QObject* m_self;
    TComponentStates m_state;
    QList<TComponentState*> m_freeNotifies;
};

TComponentState* AsComponent(QObject* object);

// A non-visual component.
class TComponent : public QObject, public TComponentState {
    Q_OBJECT
public:
    explicit TComponent(QObject* owner = nullptr);
    ~TComponent() override;
};

// A method pointer as a form file stores it: a handler named `Name` on `Receiver` (the form).
struct TMethod {
    QPointer<QObject> Receiver;
    QByteArray Name;
    bool IsNull() const { return Receiver.isNull() || Name.isEmpty(); }
    friend bool operator==(const TMethod& a, const TMethod& b) {
        return a.Receiver == b.Receiver && a.Name == b.Name;
    }
};

// Finds an invokable method (or slot) of `receiver` named `name` taking `argc` parameters; an
// invalid QMetaMethod when there is none.
QMetaMethod FindHandler(const QObject* receiver, const QByteArray& name, int argc);

// An event property (OnX). Code assigns any callable; the form reader binds a TMethod, which the
// writer can stream back. Handlers bound by name are invoked directly with the event's arguments, so
// a var parameter is written as a reference in the handler (`bool& execute`).
template <class... Args>
class TEvent {
public:
    TEvent() = default;
    template <class F>
    requires std::is_invocable_v<F&, Args...> TEvent& operator=(F&& handler) {
        m_handler = std::forward<F>(handler);
        m_method = {};
        return *this;
    }
    TEvent& operator=(std::nullptr_t) {
        m_handler = nullptr;
        m_method = {};
        return *this;
    }
    explicit operator bool() const { return static_cast<bool>(m_handler); }
    bool Assigned() const { return static_cast<bool>(m_handler); }
    void operator()(Args... args) const {
        if (m_handler)
            m_handler(std::forward<Args>(args)...);
    }

    TMethod Method() const { return m_method; }
    // Binds a handler by name; false (and nothing changed) when the receiver has no invokable method
    // of that name taking this event's parameters. A null method clears the event.
    bool SetMethod(const TMethod& method) {
        if (method.IsNull()) {
            *this = nullptr;
            return true;
        }
        QMetaMethod handler = FindHandler(method.Receiver, method.Name, int(sizeof...(Args)));
        if (!handler.isValid() || !ParametersMatch(handler, std::index_sequence_for<Args...>{}))
            return false;
        QPointer<QObject> receiver = method.Receiver;
        m_handler = Binder(receiver, handler, std::index_sequence_for<Args...>{});
        m_method = method;
        return true;
    }

private:
    template <std::size_t... I>
    static bool ParametersMatch(const QMetaMethod& handler, std::index_sequence<I...>) {
        return (ParameterMatches<std::remove_cvref_t<Args>>(handler, int(I)) && ...);
    }
    template <class T>
    static bool ParameterMatches(const QMetaMethod& handler, int index) {
        QMetaType type = handler.parameterMetaType(index);
        // Reference parameters may have no registered type; their count already matched.
        return !type.isValid() || type == QMetaType::fromType<T>();
    }
    template <std::size_t... I>
    static std::function<void(Args...)> Binder(QPointer<QObject> receiver, QMetaMethod handler,
                                               std::index_sequence<I...>) {
        return [receiver, handler](Args... args) {
            if (!receiver)
                return;
            auto names = std::make_tuple(handler.parameterTypeName(int(I))...);
            handler.invoke(receiver.data(), Qt::DirectConnection,
                           QGenericArgument(std::get<I>(names).constData(),
                                            static_cast<const void*>(std::addressof(args)))...);
        };
    }

    std::function<void(Args...)> m_handler;
    TMethod m_method;
};

// A notify event: the sender only.
using TNotifyEvent = TEvent<QObject*>;

// " V2.3" after the class name: every shell component's Version text.
QString ComponentVersion(const QObject* component);
// The class name form files use: the C++ class name without its namespaces. (Enum-typed
// Q_PROPERTYs spell their type fully qualified for the same reason: Qt finds the enumerator by the
// scope written there, compared with qualified class names.)
QString ComponentClassName(const QMetaObject* meta);

} // namespace wordloom::shell

Q_DECLARE_METATYPE(wordloom::shell::TMethod)
