// The key table the shell list and tree share, and where the two controls treat a key differently.
#include "shell/controls/shell_keys.h"
#include "shell/controls/shell_list.h"
#include "shell/controls/shell_tree.h"

#include "shell_core/shell_test_home.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>

using namespace wordloom::shell;

namespace {

// A window that records the keys its children pass on (the modifier keys' own presses aside).
class KeyWitness : public QWidget {
public:
    QList<QKeyCombination> keys;

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() != Qt::Key_Control && event->key() != Qt::Key_Shift)
            keys.append(event->keyCombination());
    }
};

} // namespace

Q_DECLARE_METATYPE(TShellKeyCommand)

class ShellKeysTest : public QObject {
    Q_OBJECT
private slots:
    void cleanup() { QGuiApplication::clipboard()->clear(); }

    void tableGivesEachKeyItsCommand_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<Qt::KeyboardModifiers>("modifiers");
        QTest::addColumn<TShellKeyCommand>("command");
        using enum TShellKeyCommand;
        const Qt::KeyboardModifiers none = Qt::NoModifier;
        QTest::newRow("Ctrl+A") << int(Qt::Key_A) << Qt::KeyboardModifiers(Qt::ControlModifier) << SelectAll;
        QTest::newRow("Ctrl+C") << int(Qt::Key_C) << Qt::KeyboardModifiers(Qt::ControlModifier) << Copy;
        QTest::newRow("Ctrl+V") << int(Qt::Key_V) << Qt::KeyboardModifiers(Qt::ControlModifier) << Paste;
        QTest::newRow("Ctrl+X") << int(Qt::Key_X) << Qt::KeyboardModifiers(Qt::ControlModifier) << Cut;
        QTest::newRow("Shift+F10") << int(Qt::Key_F10) << Qt::KeyboardModifiers(Qt::ShiftModifier)
                                   << ContextMenu;
        QTest::newRow("Delete") << int(Qt::Key_Delete) << none << Delete;
        QTest::newRow("F2") << int(Qt::Key_F2) << none << Rename;
        QTest::newRow("F5") << int(Qt::Key_F5) << none << Refresh;
        QTest::newRow("Backspace") << int(Qt::Key_Backspace) << none << OpenParent;
        QTest::newRow("Return") << int(Qt::Key_Return) << none << Open;
        QTest::newRow("keypad Enter")
            << int(Qt::Key_Enter) << Qt::KeyboardModifiers(Qt::KeypadModifier) << Open;
        QTest::newRow("Ctrl+Meta+C") << int(Qt::Key_C) << (Qt::ControlModifier | Qt::MetaModifier) << Copy;
        // Any other modifier makes another key.
        QTest::newRow("Ctrl+Shift+A") << int(Qt::Key_A) << (Qt::ControlModifier | Qt::ShiftModifier) << None;
        QTest::newRow("Shift+Delete")
            << int(Qt::Key_Delete) << Qt::KeyboardModifiers(Qt::ShiftModifier) << None;
        QTest::newRow("Alt+F2") << int(Qt::Key_F2) << Qt::KeyboardModifiers(Qt::AltModifier) << None;
        QTest::newRow("F10") << int(Qt::Key_F10) << none << None;
        QTest::newRow("A") << int(Qt::Key_A) << none << None;
    }
    void tableGivesEachKeyItsCommand() {
        QFETCH(int, key);
        QFETCH(Qt::KeyboardModifiers, modifiers);
        QFETCH(TShellKeyCommand, command);
        const QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCOMPARE(ShellKeyCommandOf(event), command);
    }

    void contentChangingCommandsAndTheirVerbs() {
        using enum TShellKeyCommand;
        for (TShellKeyCommand command : {Paste, Cut, Delete})
            QVERIFY(ChangesContents(command));
        for (TShellKeyCommand command :
             {None, SelectAll, Copy, Rename, Refresh, ContextMenu, OpenParent, Open})
            QVERIFY(!ChangesContents(command));
        QCOMPARE(VerbOf(Copy), QStringLiteral("copy"));
        QCOMPARE(VerbOf(Paste), QStringLiteral("paste"));
        QCOMPARE(VerbOf(Cut), QStringLiteral("cut"));
        QCOMPARE(VerbOf(Delete), QStringLiteral("delete"));
        QCOMPARE(VerbOf(Open), QStringLiteral("default"));
        QVERIFY(VerbOf(Rename).isEmpty());
    }

    // Both cut with Ctrl+X; the list keeps the key, the tree passes it on to the window. Read-only, neither
    // cuts, and each still keeps or passes the key as before.
    void cutKeyIsKeptByTheListAndPassedOnByTheTree() {
        ShellTestHome home;
        const QString root = home.MakeDir(QStringLiteral("root"));
        home.MakeDir(QStringLiteral("root/alpha"));
        home.MakeDir(QStringLiteral("root/bravo"));
        home.MakeFile(QStringLiteral("root/file.txt"), "x");
        const QKeyCombination cut(Qt::ControlModifier, Qt::Key_X);

        KeyWitness window;
        auto* list = new TVelShellList(&window);
        list->SetPath(root + u'/');
        auto* tree = new TVelShellTree(&window);
        tree->SetRootedAtFileSystemFolder(root);
        window.show();

        int item = -1;
        for (int i = 0; i < list->ItemCount(); ++i)
            if (list->ItemCaption(i) == QStringLiteral("file.txt"))
                item = i;
        QVERIFY(item >= 0);
        list->SetSelected(item, true);
        QTest::keyClick(list->View(), Qt::Key_X, Qt::ControlModifier);
        QVERIFY(list->ItemCut(item));
        QVERIFY(window.keys.isEmpty());

        TVelShellTreeNode* alpha = TVelShellTree::ChildByText(tree->RootNode(), QStringLiteral("alpha"));
        QVERIFY(alpha);
        tree->Select(alpha);
        QTest::keyClick(tree, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(alpha->cut);
        QCOMPARE(window.keys, QList<QKeyCombination>{cut});

        window.keys.clear();
        list->SetReadOnly(true);
        tree->SetReadOnly(true);
        for (int i = 0; i < list->ItemCount(); ++i)
            list->SetSelected(i, i != item);
        QTest::keyClick(list->View(), Qt::Key_X, Qt::ControlModifier);
        for (int i = 0; i < list->ItemCount(); ++i)
            QCOMPARE(list->ItemCut(i), i == item);
        QVERIFY(window.keys.isEmpty());
        TVelShellTreeNode* bravo = TVelShellTree::ChildByText(tree->RootNode(), QStringLiteral("bravo"));
        QVERIFY(bravo);
        tree->Select(bravo);
        QTest::keyClick(tree, Qt::Key_X, Qt::ControlModifier);
        QVERIFY(!bravo->cut);
        QCOMPARE(window.keys, QList<QKeyCombination>{cut});
    }
};

QTEST_MAIN(ShellKeysTest)
#include "shell_keys_test.moc"
