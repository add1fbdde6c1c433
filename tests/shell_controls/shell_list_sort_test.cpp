// The list's row order on real folders: folders first, then the sort column, then the names in the
// namespace's natural order, and names that order takes as equal ("readme", "README") by their bytes;
// descending is the exact reverse.
#include "shell/controls/shell_list.h"

#include "shell_core/shell_test_home.h"

#include <QLocale>
#include <QRandomGenerator>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <memory>

using namespace wordloom::shell;
using namespace Qt::StringLiterals;

namespace {

QStringList Captions(TVelShellList& list) {
    QStringList captions;
    for (int i = 0; i < list.ItemCount(); ++i)
        captions.append(list.ItemCaption(i));
    return captions;
}

QStringList Reversed(QStringList list) {
    std::reverse(list.begin(), list.end());
    return list;
}

} // namespace

class ShellListSortTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void init() {
        m_home = std::make_unique<ShellTestHome>();
        m_dir = m_home->MakeDir(QStringLiteral("work")) + u'/';
    }
    void cleanup() { m_home.reset(); }

    void namesEqualButForCaseFollowTheirBytes() {
        for (const char* name : {"readme", "README", "Readme", "a10", "a9", "A9", "\xc3\x84rger", "zeta"})
            m_home->MakeFile(QStringLiteral("work/") + QString::fromUtf8(name));
        m_home->MakeDir(QStringLiteral("work/docs"));
        m_home->MakeDir(QStringLiteral("work/Docs"));
        TVelShellList list;
        list.SetPath(m_dir);
        const QStringList ascending{u"Docs"_s,  u"docs"_s,   u"A9"_s,     u"a9"_s,     u"a10"_s,
                                    u"Ärger"_s, u"README"_s, u"Readme"_s, u"readme"_s, u"zeta"_s};
        QCOMPARE(Captions(list), ascending);
        list.SortByColumn(0); // the same column again: descending
        QVERIFY(list.SortDescending());
        QCOMPARE(Captions(list), Reversed(ascending));
        // The control's own comparison gives the same answers as its sorting.
        for (int i = 0; i + 1 < list.ItemCount(); ++i) {
            QVERIFY(list.CompareIDs(0, *list.ItemRecord(i).id, *list.ItemRecord(i + 1).id) > 0);
            QCOMPARE(list.CompareIDs(0, *list.ItemRecord(i).id, *list.ItemRecord(i).id), 0);
        }
    }

    void equalSizesFallBackToTheNames() {
        m_home->MakeFile(QStringLiteral("work/f10"), "12345");
        m_home->MakeFile(QStringLiteral("work/f9"), "12345");
        m_home->MakeFile(QStringLiteral("work/F9"), "12345");
        m_home->MakeFile(QStringLiteral("work/g"), "1");
        m_home->MakeFile(QStringLiteral("work/e"), "1234567");
        m_home->MakeDir(QStringLiteral("work/sub"));
        TVelShellList list;
        list.SetPath(m_dir);
        list.SortByColumn(1);
        QVERIFY(!list.SortDescending());
        const QStringList bySize{u"sub"_s, u"g"_s, u"F9"_s, u"f9"_s, u"f10"_s, u"e"_s};
        QCOMPARE(Captions(list), bySize);
        QVERIFY(list.CompareIDs(1, *list.ItemRecord(1).id, *list.ItemRecord(2).id) < 0);
        list.SortByColumn(1);
        QCOMPARE(Captions(list), Reversed(bySize));
    }

    void byTypeThenByName() {
        for (const char* name : {"b.txt", "a10.txt", "a9.txt", "B.pas", "a.pas", "notes.html", "c.txt"})
            m_home->MakeFile(QStringLiteral("work/") + QString::fromLatin1(name), "x");
        m_home->MakeDir(QStringLiteral("work/sub"));
        TVelShellList list;
        list.SetPath(m_dir);
        list.SortByColumn(2);
        QCOMPARE(list.ItemCaption(0), u"sub"_s);
        int runs = 1;
        for (int i = 1; i + 1 < list.ItemCount(); ++i) {
            const IDList& a = *list.ItemRecord(i).id;
            const IDList& b = *list.ItemRecord(i + 1).id;
            const int byType = list.ItemText(i, 2).compare(list.ItemText(i + 1, 2), Qt::CaseInsensitive);
            QVERIFY2(byType <= 0, qPrintable(list.ItemText(i, 2) + u" / "_s + list.ItemText(i + 1, 2)));
            if (byType == 0)
                QVERIFY2(CompareIDs(a, b) < 0,
                         qPrintable(list.ItemCaption(i) + u" / "_s + list.ItemCaption(i + 1)));
            else
                ++runs;
            QVERIFY(list.CompareIDs(2, a, b) < 0);
        }
        QVERIFY2(runs >= 3, "the files have three types"); // else the column would not have been read
        const QStringList ascending = Captions(list);
        list.SortByColumn(2);
        QCOMPARE(Captions(list), Reversed(ascending));
    }

    void manyNamesInTheNamespaceOrder() {
        // Digit runs of several lengths, leading zeros, case and accents, in an order of their own.
        const QString pieces[] = {u"a"_s,  u"A"_s,   u"\u00e4"_s, u"b"_s, u"0"_s, u"7"_s,
                                  u"12"_s, u"007"_s, u"_"_s,      u"."_s, u"z"_s, u" "_s};
        QRandomGenerator random(12);
        QSet<QString> names;
        while (names.size() < 400) {
            QString name;
            const int length = 1 + int(random.bounded(5));
            for (int i = 0; i < length; ++i)
                name += pieces[random.bounded(int(std::size(pieces)))];
            if (name != u"."_s && !name.startsWith(u' ') && !name.endsWith(u' '))
                names.insert(name);
        }
        for (const QString& name : names)
            m_home->MakeFile(QStringLiteral("work/") + name);
        TVelShellList list;
        list.SetPath(m_dir);
        QCOMPARE(list.ItemCount(), int(names.size()));
        for (int i = 0; i + 1 < list.ItemCount(); ++i)
            QVERIFY2(CompareIDs(*list.ItemRecord(i).id, *list.ItemRecord(i + 1).id) < 0,
                     qPrintable(list.ItemCaption(i) + u" / "_s + list.ItemCaption(i + 1)));
        const QStringList ascending = Captions(list);
        list.SortByColumn(0);
        QCOMPARE(Captions(list), Reversed(ascending));
    }

private:
    std::unique_ptr<ShellTestHome> m_home;
    QString m_dir;
};

QTEST_MAIN(ShellListSortTest)
#include "shell_list_sort_test.moc"
