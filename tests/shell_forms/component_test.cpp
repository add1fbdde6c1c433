#include "shell/forms/component.h"

#include <QTest>
#include <QWidget>

#include <memory>

using namespace wordloom::shell;

namespace {

// Records every removal it is told about.
class Watcher : public TComponent {
    Q_OBJECT
public:
    using TComponent::TComponent;
    QList<TComponentState*> removed;
    int loadedCalls = 0;
    void Notification(TComponentState* component, TOperation operation) override {
        if (operation == TOperation::opRemove)
            removed.append(component);
    }
    void Loaded() override {
        TComponent::Loaded();
        ++loadedCalls;
    }
};

class WidgetComponent : public QWidget, public TComponentState {
    Q_OBJECT
public:
    explicit WidgetComponent(QWidget* parent = nullptr) : QWidget(parent), TComponentState(this) {}
};

// A form with handlers that events bind to by name.
class HandlerForm : public TComponent {
    Q_OBJECT
public:
    enum TOperationKind { okCopy, okMove };
    Q_ENUM(TOperationKind)
    using TComponent::TComponent;
    QString lastReport;
    Q_INVOKABLE void ListOperation(QObject*, HandlerForm::TOperationKind kind, const QStringList& files,
                                   const QString& destination) {
        lastReport =
            QString::number(int(kind)) + files.join(QLatin1Char(',')) + QLatin1Char('>') + destination;
    }
    QObject* lastSender = nullptr;
    QString lastCommand;
    Q_INVOKABLE void SomethingHappened(QObject* sender) { lastSender = sender; }
    Q_INVOKABLE void MenuSelect(const QString& command, bool& execute) {
        lastCommand = command;
        execute = false;
    }
};

} // namespace

class ComponentTest : public QObject {
    Q_OBJECT
private slots:
    void ownerIsTheQtParent() {
        Watcher owner;
        auto* child = new Watcher(&owner);
        child->setObjectName(QStringLiteral("Child1"));
        auto* widget = new WidgetComponent;
        widget->setParent(nullptr);
        std::unique_ptr<WidgetComponent> widgetOwner(widget);
        QCOMPARE(child->Owner(), static_cast<TComponentState*>(&owner));
        QCOMPARE(owner.Components().size(), 1);
        QCOMPARE(owner.FindComponent(QStringLiteral("child1")), static_cast<TComponentState*>(child));
        QCOMPARE(AsComponent(widget), static_cast<TComponentState*>(widget));
        QCOMPARE(AsComponent(new QObject(&owner)), nullptr);
    }

    void freeNotificationWorksBothWays() {
        auto a = std::make_unique<Watcher>();
        auto b = std::make_unique<Watcher>();
        auto c = std::make_unique<Watcher>();
        a->FreeNotification(b.get());
        a->FreeNotification(c.get());
        TComponentState* bState = b.get();
        b.reset();
        QCOMPARE(a->removed, QList<TComponentState*>{bState});
        TComponentState* aState = a.get();
        a.reset();
        QCOMPARE(c->removed, QList<TComponentState*>{aState});
    }

    void removedLinkIsNotNotified() {
        auto a = std::make_unique<Watcher>();
        auto b = std::make_unique<Watcher>();
        a->FreeNotification(b.get());
        a->RemoveFreeNotification(b.get());
        b.reset();
        QVERIFY(a->removed.isEmpty());
    }

    void ownerAndSiblingsLearnOfARemoval() {
        Watcher owner;
        auto* first = new Watcher(&owner);
        auto* second = new Watcher(&owner);
        delete second;
        QCOMPARE(owner.removed.size(), 1);
        QCOMPARE(first->removed.size(), 1);
        // Destroying the owner notifies nobody that is going away with it.
        auto* third = new Watcher(&owner);
        third->FreeNotification(first);
        QVERIFY(third->removed.isEmpty());
    }

    void designingReachesOwnedComponents() {
        Watcher owner;
        auto* child = new Watcher(&owner);
        owner.SetDesigning(true);
        QVERIFY(child->IsDesigning());
        auto* later = new Watcher(&owner);
        QVERIFY(later->IsDesigning());
        owner.SetDesigning(false);
        QVERIFY(!child->IsDesigning());
    }

    void loadedClearsTheLoadingState() {
        Watcher component;
        component.BeginLoading();
        QVERIFY(component.IsLoading());
        component.Loaded();
        QVERIFY(!component.IsLoading());
        QCOMPARE(component.loadedCalls, 1);
    }

    void eventsBindToHandlersByName() {
        HandlerForm form;
        TNotifyEvent event;
        QVERIFY(!event.Assigned());
        QVERIFY(event.SetMethod({&form, "SomethingHappened"}));
        QVERIFY(event.Assigned());
        event(&form);
        QCOMPARE(form.lastSender, &form);
        QCOMPARE(event.Method().Name, QByteArray("SomethingHappened"));
        QVERIFY(!event.SetMethod({&form, "NoSuchHandler"}));
        QVERIFY(!event.SetMethod({&form, "MenuSelect"})); // wrong parameters
        QCOMPARE(event.Method().Name, QByteArray("SomethingHappened"));

        TEvent<const QString&, bool&> select;
        QVERIFY(select.SetMethod({&form, "MenuSelect"}));
        bool execute = true;
        select(QStringLiteral("delete"), execute);
        QCOMPARE(form.lastCommand, QStringLiteral("delete"));
        QVERIFY(!execute);

        int calls = 0;
        event = [&calls](QObject*) { ++calls; };
        QVERIFY(event.Method().IsNull());
        event(nullptr);
        QCOMPARE(calls, 1);
    }

    void eventWithEnumAndListParameters() {
        HandlerForm form;
        TEvent<QObject*, HandlerForm::TOperationKind, const QStringList&, const QString&> operation;
        QVERIFY(operation.SetMethod({&form, "ListOperation"}));
        operation(&form, HandlerForm::okMove, QStringList{QStringLiteral("a"), QStringLiteral("b")},
                  QStringLiteral("/tmp"));
        QCOMPARE(form.lastReport, QStringLiteral("1a,b>/tmp"));
        TEvent<QObject*, int, const QStringList&, const QString&> wrongKind;
        QVERIFY(!wrongKind.SetMethod({&form, "ListOperation"}));
    }

    void boundHandlerOutlivedByItsEventDoesNothing() {
        TNotifyEvent event;
        {
            HandlerForm form;
            QVERIFY(event.SetMethod({&form, "SomethingHappened"}));
        }
        event(nullptr); // must not touch the destroyed form
        QVERIFY(event.Assigned());
    }

    void versionIsClassNameAndRelease() {
        Watcher component;
        QCOMPARE(ComponentVersion(&component), QStringLiteral("Watcher V2.3"));
    }
};

QTEST_MAIN(ComponentTest)
#include "component_test.moc"
