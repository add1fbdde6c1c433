#include "shell/core/shell_link.h"

#include <QTest>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

using namespace wordloom::shell;

namespace {

// A stand-in control: writes each notice it receives into a shared log.
class Control : public QObject {
public:
    Control(QString name, QStringList& log) : m_name(std::move(name)), m_log(log) {}
    std::function<void(const TShellLinkEvent&)> react;

protected:
    bool event(QEvent* event) override {
        const TShellLinkEvent* notice = TShellLinkEvent::From(event);
        if (!notice)
            return QObject::event(event);
        QString entry = m_name + QLatin1Char(':') + QString::number(int(notice->Message()), 16);
        if (notice->Folder())
            entry += QLatin1Char(':') + QString::fromLatin1(notice->Folder()->Bytes().toHex());
        m_log.append(entry);
        if (react)
            react(*notice);
        return true;
    }

private:
    QString m_name;
    QStringList& m_log;
};

} // namespace

class ShellLinkTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_log.clear();
        m_controls.clear();
        m_link = std::make_unique<TVelShellLink>();
        for (const char* name : {"a", "b", "c"}) {
            m_controls.push_back(std::make_unique<Control>(QString::fromLatin1(name), m_log));
            m_link->AddControl(m_controls.back().get());
        }
    }

    void folderChangeReachesTheOthersInOrder() {
        int changes = 0;
        m_link->OnChange = [&](QObject* sender) {
            QCOMPARE(sender, m_link.get());
            QVERIFY(m_link->Enabled()); // already switched on again
            ++changes;
        };
        const OptIDList idList = IDList::FromBytes(QByteArray::fromHex("05004161620000"));
        QVERIFY(idList);
        m_link->FolderChanged(m_controls[1].get(), *idList);
        QCOMPARE(m_log, (QStringList{QStringLiteral("a:680:05004161620000"),
                                     QStringLiteral("c:680:05004161620000")}));
        QCOMPARE(changes, 1);
    }

    void folderChangeCarriesTheIdentifierList() {
        const IDList folder = IDList().Appended(ItemKind::Home, "").Appended(ItemKind::Dir, "docs");
        std::optional<IDList> received;
        m_controls[0]->react = [&](const TShellLinkEvent& notice) { received = notice.Folder(); };
        m_link->FolderChanged(m_controls[1].get(), folder);
        QVERIFY(received.has_value());
        QVERIFY(*received == folder);
    }

    // Every notice holds its own copy: a receiver changing the sender's list changes nothing for the
    // next one, and a notice handled later still has its folder.
    void noticesOwnTheFolderTheyCarry() {
        const IDList docs = IDList().Appended(ItemKind::Home, "").Appended(ItemKind::Dir, "docs");
        IDList sendersList = docs;
        QList<IDList> received;
        m_controls[0]->react = [&](const TShellLinkEvent& notice) {
            received.append(*notice.Folder());
            sendersList = IDList();
        };
        m_controls[2]->react = [&](const TShellLinkEvent& notice) { received.append(*notice.Folder()); };
        m_link->FolderChanged(m_controls[1].get(), sendersList);
        QCOMPARE(received.size(), 2);
        QVERIFY(received[0] == docs);
        QVERIFY(received[1] == docs);

        m_log.clear();
        auto later = std::make_unique<IDList>(docs);
        QCoreApplication::postEvent(m_controls[0].get(),
                                    new TShellLinkEvent(TShellLinkMessage::SLM_FOLDERCHANGED, *later));
        later.reset();
        QCoreApplication::sendPostedEvents(m_controls[0].get());
        QCOMPARE(m_log, QStringList{QStringLiteral("a:680:") + QString::fromLatin1(docs.Bytes().toHex())});
    }

    void otherNoticesCarryNoListAndFireNoOnChange() {
        int changes = 0;
        m_link->OnChange = [&](QObject*) { ++changes; };
        m_link->SelectAllItems(m_controls[0].get());
        m_link->RefreshLinked(m_controls[2].get());
        m_link->ContentsChanged(nullptr);
        QCOMPARE(m_log,
                 (QStringList{QStringLiteral("b:681"), QStringLiteral("c:681"), QStringLiteral("a:682"),
                              QStringLiteral("b:682"), QStringLiteral("a:683"), QStringLiteral("b:683"),
                              QStringLiteral("c:683")}));
        QCOMPARE(changes, 0);
    }

    void folderChangeDuringABroadcastDoesNothing() {
        int changes = 0;
        m_link->OnChange = [&](QObject*) { ++changes; };
        m_controls[0]->react = [&](const TShellLinkEvent&) {
            QVERIFY(!m_link->Enabled());
            m_link->FolderChanged(m_controls[0].get(), IDList());
        };
        m_link->FolderChanged(m_controls[2].get(), IDList());
        QCOMPARE(m_log, (QStringList{QStringLiteral("a:680:0000"), QStringLiteral("b:680:0000")}));
        QCOMPARE(changes, 1);
        QVERIFY(m_link->Enabled());
    }

    void otherBroadcastsDuringAFolderBroadcastDoNothing() {
        m_controls[0]->react = [&](const TShellLinkEvent&) { m_link->RefreshLinked(m_controls[0].get()); };
        m_link->FolderChanged(nullptr, IDList());
        QCOMPARE(m_log.size(), 3);
        for (const QString& entry : m_log)
            QVERIFY2(entry.contains(QStringLiteral(":680")), qPrintable(entry));
    }

    void disabledLinkPassesNothingOn() {
        int changes = 0;
        m_link->OnChange = [&](QObject*) { ++changes; };
        m_link->SetEnabled(false);
        m_link->FolderChanged(nullptr, IDList());
        m_link->SelectAllItems(nullptr);
        m_link->RefreshLinked(nullptr);
        m_link->ContentsChanged(nullptr);
        QVERIFY(m_log.isEmpty());
        QCOMPARE(changes, 0);
        QVERIFY(!m_link->Enabled());
    }

    void registrationRules() {
        QCOMPARE(m_link->AddControl(m_controls[0].get()), 3); // twice: told twice
        m_link->RefreshLinked(m_controls[1].get());
        QCOMPARE(m_log,
                 (QStringList{QStringLiteral("a:682"), QStringLiteral("c:682"), QStringLiteral("a:682")}));
        m_log.clear();
        m_link->RemoveControl(m_controls[0].get()); // the first registration only
        QCOMPARE(m_link->Controls(),
                 (QList<QObject*>{m_controls[1].get(), m_controls[2].get(), m_controls[0].get()}));
        m_link->SelectAllItems(nullptr);
        QCOMPARE(m_log,
                 (QStringList{QStringLiteral("b:681"), QStringLiteral("c:681"), QStringLiteral("a:681")}));
    }

    void destroyedControlIsPassedOver() {
        m_controls[1].reset();
        m_link->RefreshLinked(nullptr);
        QCOMPARE(m_log, (QStringList{QStringLiteral("a:682"), QStringLiteral("c:682")}));
    }

    void throwingReceiverLeavesTheLinkEnabled() {
        m_controls[0]->react = [](const TShellLinkEvent&) { throw ShellError(QStringLiteral("boom")); };
        QVERIFY_THROWS_EXCEPTION(ShellError, m_link->FolderChanged(nullptr, IDList()));
        QVERIFY(m_link->Enabled());
    }

    void version() {
        QCOMPARE(m_link->property("Version").toString(), QStringLiteral("TVelShellLink V2.3"));
        QVERIFY(m_link->setProperty("Version", QStringLiteral("x")));
        QCOMPARE(m_link->Version(), QStringLiteral("TVelShellLink V2.3"));
        const QMetaObject* meta = m_link->metaObject();
        QVERIFY(!meta->property(meta->indexOfProperty("Version")).isStored());
    }

private:
    QStringList m_log;
    std::vector<std::unique_ptr<Control>> m_controls;
    std::unique_ptr<TVelShellLink> m_link;
};

QTEST_GUILESS_MAIN(ShellLinkTest)
#include "shell_link_test.moc"
