// Item identifier lists: byte layout and the classic routines, string results, MatchMask.
#include "shell/core/id_list.h"

#include <QTest>

using namespace wordloom::shell;

namespace {

QByteArray Le16(int value) {
    return QByteArray(1, char(value & 0xFF)) + QByteArray(1, char(value >> 8));
}

// An item of `size` bytes in total: size, kind, then filler name bytes.
QByteArray RawItem(int size, ItemKind kind) {
    return Le16(size) + char(kind) + QByteArray(size - 3, 'n');
}

} // namespace

class IdListTest : public QObject {
    Q_OBJECT
private slots:
    void desktopIsTheTerminatorAlone() {
        const IDList desktop;
        QCOMPARE(desktop.Bytes(), QByteArray(2, '\0'));
        QVERIFY(desktop.IsDesktop());
        QCOMPARE(desktop.ItemCount(), 0);
        QCOMPARE(IDListSize(desktop), 2);
        QCOMPARE(IDListSize(std::nullopt), 0);
    }

    void itemsAreLaidOutWithLittleEndianSizes() {
        const IDList list = IDList::Item(ItemKind::Dir, "abc").Appended(ItemKind::File, "x.txt");
        const QByteArray expected = Le16(6) + char(ItemKind::Dir) + QByteArray("abc") + Le16(8) +
                                    char(ItemKind::File) + QByteArray("x.txt") + QByteArray(2, '\0');
        QCOMPARE(list.Bytes(), expected);
        QCOMPARE(list.ItemCount(), 2);
        const std::vector<ItemView> items = list.Items();
        QCOMPARE(items[0].kind, ItemKind::Dir);
        QCOMPARE(QByteArray(items[1].name.data(), qsizetype(items[1].name.size())), QByteArray("x.txt"));
    }

    void sizeCountsItemsAndTerminator() {
        const QByteArray bytes =
            RawItem(14, ItemKind::Dir) + RawItem(20, ItemKind::File) + QByteArray(2, '\0');
        const OptIDList list = IDList::FromBytes(bytes);
        QVERIFY(list);
        QCOMPARE(IDListSize(list), 36);
    }

    void malformedBytesAreRefused() {
        QVERIFY(!IDList::FromBytes(QByteArray()));
        QVERIFY(!IDList::FromBytes(QByteArray(1, '\0')));
        QVERIFY(!IDList::FromBytes(Le16(9) + "ab"));                // overruns the data
        QVERIFY(!IDList::FromBytes(Le16(2) + QByteArray(2, '\0'))); // no room for a kind
        QVERIFY(!IDList::FromBytes(RawItem(5, ItemKind::File)));    // no terminator
        QVERIFY(!IDList::FromBytes(QByteArray(2, '\0') + "x"));     // bytes after the end
        QVERIFY(IDList::FromBytes(RawItem(5, ItemKind::File) + QByteArray(2, '\0')));
    }

    void allocGivesZeroFilledBlocks() {
        const std::optional<QByteArray> block = AllocIDList(10);
        QVERIFY(block);
        QCOMPARE(*block, QByteArray(10, '\0'));
        QVERIFY(!AllocIDList(1));
        QVERIFY(!AllocIDList(-5));
        QVERIFY(!AllocIDList(64 * 1024 * 1024));
    }

    void copyIsIndependentAndNoneStaysNone() {
        OptIDList original = IDList::Item(ItemKind::File, "a");
        OptIDList copy = CopyIDList(original);
        QVERIFY(copy);
        QCOMPARE(copy->Bytes(), original->Bytes());
        FreeIDList(original);
        QVERIFY(!original);
        QCOMPARE(copy->ItemCount(), 1);
        QVERIFY(!CopyIDList(std::nullopt));
    }

    void concatJoinsItems() {
        const IDList folder = IDList::Item(ItemKind::Computer, {}).Appended(ItemKind::Volume, "/");
        const IDList item = IDList::Item(ItemKind::File, "f");
        const OptIDList joined = ConcatIDLists(folder, item);
        QVERIFY(joined);
        QCOMPARE(IDListSize(joined), IDListSize(folder) - 2 + IDListSize(item));
        QCOMPARE(joined->ItemCount(), 3);
        QCOMPARE(joined->Parent(), folder);
        QCOMPARE(joined->LastItemList(), item);
        // The desktop's empty list before an item gives a copy of the item.
        QCOMPARE(ConcatIDLists(IDList(), item), OptIDList(item));
        // No first list: a copy of the second; no second list counts as the desktop.
        QCOMPARE(ConcatIDLists(std::nullopt, item), OptIDList(item));
        QCOMPARE(ConcatIDLists(folder, std::nullopt), OptIDList(folder));
    }

    void parentOfOneItemIsTheDesktop() {
        const IDList one = IDList::Item(ItemKind::Home, {});
        QVERIFY(one.Parent().IsDesktop());
        QVERIFY(IDList().Parent().IsDesktop());
        QVERIFY(IDList().LastItemList().IsDesktop());
    }

    void strRetTypes() {
        StrRet wide;
        wide.type = StrRet::Type::Wide;
        wide.wide = QStringLiteral("Grüße");
        QCOMPARE(StrRetToString(std::nullopt, wide), QStringLiteral("Grüße"));
        FreeStrRet(wide);
        QVERIFY(!wide.wide);
        QCOMPARE(StrRetToString(std::nullopt, wide), QString());

        const IDList item = IDList::Item(ItemKind::File, "n\xc3\xa4me");
        StrRet offset;
        offset.type = StrRet::Type::Offset;
        offset.offset = 3;
        QCOMPARE(StrRetToString(item, offset), QStringLiteral("näme"));
        QCOMPARE(StrRetToString(std::nullopt, offset), QString());
        offset.offset = 400;
        QCOMPARE(StrRetToString(item, offset), QString());

        StrRet cstr;
        cstr.type = StrRet::Type::CStr;
        cstr.cStr = QByteArray("abc\0def", 7);
        QCOMPARE(StrRetToString(std::nullopt, cstr), QStringLiteral("abc"));
        FreeStrRet(cstr);
        QCOMPARE(cstr.cStr, QByteArray("abc\0def", 7));

        StrRet other;
        other.type = StrRet::Type(7);
        other.wide = QStringLiteral("x");
        QCOMPARE(StrRetToString(std::nullopt, other), QString());
    }

    void matchMask_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<bool>("matches");
        QTest::newRow("star matches empty") << ""
                                            << "*" << true;
        QTest::newRow("star matches any") << "readme.txt"
                                          << "*" << true;
        QTest::newRow("two stars not empty") << ""
                                             << "**" << false;
        QTest::newRow("two stars a name") << "a"
                                          << "**" << true;
        QTest::newRow("extension any case") << "NOTES.TXT"
                                            << "*.txt" << true;
        QTest::newRow("mask upper name lower") << "notes.txt"
                                               << "*.TXT" << true;
        QTest::newRow("other extension") << "notes.txt2"
                                         << "*.txt" << false;
        QTest::newRow("question one char") << "ab"
                                           << "a?" << true;
        QTest::newRow("question never empty") << "a"
                                              << "a?" << false;
        QTest::newRow("question alone on empty") << ""
                                                 << "?" << false;
        QTest::newRow("mask used up first") << "abc"
                                            << "ab" << false;
        QTest::newRow("name used up first") << "ab"
                                            << "abc" << false;
        QTest::newRow("trailing star after all") << "ab"
                                                 << "ab*" << true;
        QTest::newRow("star in the middle") << "a-long-name.pas"
                                            << "a*name.p?s" << true;
        QTest::newRow("empty mask empty name") << ""
                                               << "" << true;
        QTest::newRow("empty mask a name") << "x"
                                           << "" << false;
        QTest::newRow("umlauts ignore case") << "ÄRGER.DOC"
                                             << "är*" << true;
        QTest::newRow("many stars fail fast")
            << QString(200, u'a') << QStringLiteral("*a*a*a*a*a*a*a*a*a*a*a*a*a*b") << false;
    }

    void matchMask() {
        QFETCH(QString, name);
        QFETCH(QString, mask);
        QFETCH(bool, matches);
        QCOMPARE(MatchMask(name, mask), matches);
    }
};

QTEST_GUILESS_MAIN(IdListTest)
#include "id_list_test.moc"
