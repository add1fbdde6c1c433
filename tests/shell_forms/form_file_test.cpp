#include "forms/form_stream.h"
#include "shell/core/dir_mon.h"
#include "shell/core/pathwright.h"
#include "shell/core/shell_link.h"
#include "shell/forms/form_reader.h"
#include "support/qt_files.h"

#include <QDir>
#include <QTest>
#include <QWidget>

#include <memory>

using namespace wordloom::shell;

namespace {

// A component with one property of each kind the reader handles; records what it saw while loading.
class TLinkUser : public TComponent {
    Q_OBJECT
public:
    enum TMode { tmFirst, tmSecond };
    Q_ENUM(TMode)

private:
    Q_PROPERTY(TVelShellLink* ShellLink READ ShellLink WRITE SetShellLink)
    Q_PROPERTY(QStringList Names MEMBER m_names)
    Q_PROPERTY(int Count MEMBER m_count)
    Q_PROPERTY(TMode Mode MEMBER m_mode)
    Q_PROPERTY(QString Caption MEMBER m_caption)
    Q_PROPERTY(QByteArray Data MEMBER m_data)
    Q_CLASSINFO("Default:Mode", "tmFirst")

public:
    Q_INVOKABLE explicit TLinkUser(QObject* owner = nullptr) : TComponent(owner) {}
    TVelShellLink* ShellLink() const { return m_link; }
    void SetShellLink(TVelShellLink* link) {
        if (m_link)
            RemoveFreeNotification(m_link);
        m_link = link;
        if (link)
            FreeNotification(link);
        setWhileLoading = IsLoading();
    }
    void Notification(TComponentState* component, TOperation operation) override {
        if (operation == TOperation::opRemove && component == m_link)
            m_link = nullptr;
    }
    void Loaded() override {
        TComponent::Loaded();
        loadedWithLink = m_link != nullptr;
        if (m_caption == QStringLiteral("fail when loaded"))
            throw ShellError(QStringLiteral("cannot finish"));
    }
    bool setWhileLoading = false;
    bool loadedWithLink = false;
    QStringList m_names;
    int m_count = 0;
    TMode m_mode = tmFirst;
    QString m_caption;
    QByteArray m_data;

private:
    TVelShellLink* m_link = nullptr;
};

class TTestPanel : public QWidget, public TComponentState {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER m_caption)
public:
    explicit TTestPanel(QWidget* parent = nullptr) : QWidget(parent), TComponentState(this) {}
    QString m_caption;
};

// The form: handlers for the events of its components.
class TTestForm : public QWidget, public TComponentState {
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER m_caption)
public:
    TTestForm() : TComponentState(this) {}
    Q_INVOKABLE void DirMon1DirChange(QObject* sender) { dirChanges.append(sender); }
    Q_INVOKABLE void ShellLink1Change(QObject* sender) { linkChanges.append(sender); }
    Q_INVOKABLE void Pathwright1Rename(QObject* sender) { renames.append(sender); }
    Q_INVOKABLE void Pathwright1FileChange(QObject* sender) { fileChanges.append(sender); }
    Q_INVOKABLE void Pathwright1ContextMenuSelect(const QString& command, bool& execute) {
        execute = command != QStringLiteral("delete");
    }
    QList<QObject*> renames;
    QList<QObject*> fileChanges;
    QList<QObject*> dirChanges;
    QList<QObject*> linkChanges;
    QString m_caption;
};

std::string Crlf(const QString& text) {
    QString result = text;
    result.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    return result.toStdString();
}

} // namespace

class FormFileTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() {
        TComponentRegistry::Register<TLinkUser>();
        TComponentRegistry::Register<TTestPanel>();
    }

    void init() { m_dir = std::make_unique<wordloom::QtTempDir>(); }

    void readsEveryKindOfValue() {
        TTestForm form;
        ReadForm(&form, Crlf(SampleText()));
        QCOMPARE(form.objectName(), QStringLiteral("Form1"));
        QCOMPARE(form.m_caption, QStringLiteral("Gr\u00f6\u00dfe"));

        auto* user = form.findChild<TLinkUser*>(QStringLiteral("User1"));
        auto* link = form.findChild<TVelShellLink*>(QStringLiteral("ShellLink1"));
        auto* monitor = form.findChild<TDirMon*>(QStringLiteral("DirMon1"));
        auto* panel = form.findChild<TTestPanel*>(QStringLiteral("Panel1"));
        QVERIFY(user && link && monitor && panel);
        // The reference stood before the link it names: resolved after all were made.
        QCOMPARE(user->ShellLink(), link);
        QVERIFY(user->setWhileLoading);
        QVERIFY(user->loadedWithLink);
        QCOMPARE(user->m_names, (QStringList{QStringLiteral("a"), QStringLiteral("it's")}));
        QCOMPARE(user->m_count, 40000);
        QCOMPARE(user->m_mode, TLinkUser::tmSecond);
        QCOMPARE(user->m_data, QByteArray::fromHex("00ff10"));
        QCOMPARE(panel->m_caption, QStringLiteral("Panel"));
        QCOMPARE(panel->parentWidget(), &form);

        QVERIFY(!link->Enabled());
        link->SetEnabled(true);
        link->FolderChanged(nullptr, IDList());
        QCOMPARE(form.linkChanges, QList<QObject*>{link});

        // Directory came before NotifyFilter: the monitor starts only once loaded.
        QCOMPARE(monitor->Directory(), m_dir->path());
        QCOMPARE(monitor->FilterBits(), 0x101u);
        QVERIFY(monitor->Nested());
        QVERIFY(monitor->Running());
        QVERIFY(!monitor->IsLoading());
        QFile file(m_dir->filePath(QStringLiteral("new")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QTRY_COMPARE_WITH_TIMEOUT(form.dirChanges.value(0), static_cast<QObject*>(monitor), 5000);
    }

    void writesPublishedStoredNonDefaultProperties() {
        TTestForm form;
        ReadForm(&form, Crlf(SampleText()));
        // The text form is 8-bit: the wide caption's characters stand between quotes as bytes.
        const std::string text = WriteFormText(&form);
        QCOMPARE(QString::fromLatin1(text.data(), qsizetype(text.size())),
                 ExpectedText().replace(QStringLiteral("\n"), QStringLiteral("\r\n")));
    }

    void textRoundTrip() {
        TTestForm first;
        ReadForm(&first, Crlf(SampleText()));
        const std::string written = WriteFormText(&first);
        TTestForm second;
        ReadForm(&second, written);
        QCOMPARE(WriteFormText(&second), written);
    }

    void binaryRoundTrip() {
        TTestForm first;
        ReadForm(&first, wordloom::TextToBinaryForm(Crlf(SampleText())));
        const std::string binary = WriteFormBinary(&first);
        QCOMPARE(static_cast<unsigned char>(binary[0]), 0xFFu);
        TTestForm second;
        ReadForm(&second, binary);
        QCOMPARE(WriteFormBinary(&second), binary);
        QCOMPARE(second.findChild<TLinkUser*>()->m_count, 40000);
    }

    void fileRoundTrip() {
        TTestForm first;
        ReadForm(&first, Crlf(SampleText()));
        const QString path = m_dir->filePath(QStringLiteral("Form1.dfm"));
        WriteFormFile(&first, path, false);
        TTestForm second;
        ReadFormFile(&second, path);
        QCOMPARE(WriteFormText(&second), WriteFormText(&first));
    }

    void versionAndDefaultsAreNotWritten() {
        TTestForm form;
        form.setObjectName(QStringLiteral("Form1"));
        auto* link = new TVelShellLink(&form);
        link->setObjectName(QStringLiteral("ShellLink1"));
        auto* monitor = new TDirMon(&form);
        monitor->setObjectName(QStringLiteral("DirMon1"));
        new TDirMon(monitor); // unnamed: a component's own helper, never written
        const QString text = QString::fromStdString(WriteFormText(&form));
        QCOMPARE(text, QString::fromStdString(Crlf(QStringLiteral("object Form1: TTestForm\n"
                                                                  "  object ShellLink1: TVelShellLink\n"
                                                                  "  end\n"
                                                                  "  object DirMon1: TDirMon\n"
                                                                  "    NotifyFilter = [dmcFileName]\n"
                                                                  "    Nested = False\n"
                                                                  "  end\n"
                                                                  "end\n"))));
    }

    void failures_data() {
        QTest::addColumn<QString>("form");
        QTest::addColumn<QString>("message");
        QTest::newRow("class") << QStringLiteral("object F: TTestForm\n object X: TNope\n end\nend\n")
                               << QStringLiteral("Class TNope not found");
        QTest::newRow("property") << QStringLiteral(
                                         "object F: TTestForm\n object D: TDirMon\n Foo = 1\n end\nend\n")
                                  << QStringLiteral("Error reading D.Foo: Property Foo does not exist");
        QTest::newRow("qt property")
            << QStringLiteral("object F: TTestForm\n object D: TDirMon\n objectName = 'x'\n end\nend\n")
            << QStringLiteral("Error reading D.objectName: Property objectName does not exist");
        QTest::newRow("set element")
            << QStringLiteral(
                   "object F: TTestForm\n object D: TDirMon\n NotifyFilter = [dmcNope]\n end\nend\n")
            << QStringLiteral("Error reading D.NotifyFilter: Invalid property value");
        QTest::newRow("kind") << QStringLiteral(
                                     "object F: TTestForm\n object D: TDirMon\n Nested = 'yes'\n end\nend\n")
                              << QStringLiteral("Error reading D.Nested: Invalid property value");
        QTest::newRow("range")
            << QStringLiteral("object F: TTestForm\n object U: TLinkUser\n Count = 4000000000\n end\nend\n")
            << QStringLiteral("Error reading U.Count: Invalid property value");
        QTest::newRow("handler")
            << QStringLiteral("object F: TTestForm\n object D: TDirMon\n OnStop = Nowhere\n end\nend\n")
            << QStringLiteral("Error reading D.OnStop: Method Nowhere not found");
        QTest::newRow("reference")
            << QStringLiteral("object F: TTestForm\n object U: TLinkUser\n ShellLink = DirMon9\n end\nend\n")
            << QStringLiteral("Error reading U.ShellLink: Invalid property value");
        QTest::newRow("reference type")
            << QStringLiteral("object F: TTestForm\n object U: TLinkUser\n ShellLink = D\n end\n object D: "
                              "TDirMon\n end\nend\n")
            << QStringLiteral("Error reading U.ShellLink: Invalid property value");
        QTest::newRow("duplicate")
            << QStringLiteral(
                   "object F: TTestForm\n object D: TDirMon\n end\n object D: TDirMon\n end\nend\n")
            << QStringLiteral("A component named D already exists");
        QTest::newRow("parent window")
            << QStringLiteral(
                   "object F: TTestForm\n object D: TDirMon\n object P: TTestPanel\n end\n end\nend\n")
            << QStringLiteral("Control 'P' has no parent window");
        QTest::newRow("ancestor") << QStringLiteral("object F: TTestForm\n inherited D: TDirMon\n end\nend\n")
                                  << QStringLiteral("Ancestor for 'D' not found");
        QTest::newRow("syntax") << QStringLiteral(
                                       "object F: TTestForm\n object D: TDirMon\n Nested True\n end\nend\n")
                                << QStringLiteral("expected on line 3");
    }
    void failures() {
        QFETCH(QString, form);
        QFETCH(QString, message);
        TTestForm root;
        try {
            ReadForm(&root, form.toStdString());
            QFAIL("the form should not load");
        } catch (const EReadError& e) {
            QVERIFY2(e.Message() == message ||
                         (message.startsWith(QStringLiteral("expected")) && e.Message().endsWith(message)),
                     qPrintable(e.Message()));
        }
        // Nothing of a failed form remains.
        QCOMPARE(root.findChildren<QObject*>(QString(), Qt::FindDirectChildrenOnly).size(), 0);
        QVERIFY(!root.IsLoading());
    }

    void failingLoadedLetsTheOthersFinish() {
        TTestForm form;
        try {
            ReadForm(&form, Crlf(QStringLiteral("object F: TTestForm\n"
                                                "  object U: TLinkUser\n"
                                                "    Caption = 'fail when loaded'\n"
                                                "  end\n"
                                                "  object D: TDirMon\n"
                                                "    Directory = '%1'\n"
                                                "  end\n"
                                                "end\n")
                                     .arg(m_dir->path())));
            QFAIL("the failure of Loaded should come through");
        } catch (const ShellError& e) {
            QCOMPARE(e.Message(), QStringLiteral("cannot finish"));
        }
        auto* monitor = form.findChild<TDirMon*>();
        QVERIFY(monitor);
        QVERIFY(!monitor->IsLoading());
        QVERIFY(monitor->Running());
    }

    void corruptBinaryLoadsOrFailsWithAMessage() {
        TTestForm first;
        ReadForm(&first, Crlf(SampleText()));
        const std::string binary = WriteFormBinary(&first);
        int failures = 0;
        for (std::size_t at = 0; at < binary.size(); ++at) {
            for (unsigned char byte : {0x00, 0x01, 0x07, 0x7F, 0xF1, 0xFF}) {
                std::string corrupt = binary;
                corrupt[at] = char(byte);
                TTestForm root;
                try {
                    ReadForm(&root, corrupt);
                } catch (const EReadError& e) {
                    QVERIFY(!e.Message().isEmpty());
                    ++failures;
                }
            }
        }
        QVERIFY(failures > 0);
    }

    void truncatedBinaryFails() {
        TTestForm first;
        ReadForm(&first, Crlf(SampleText()));
        const std::string binary = WriteFormBinary(&first);
        for (std::size_t length = 0; length < binary.size(); ++length) {
            TTestForm root;
            try {
                ReadForm(&root, std::string_view(binary).substr(0, length));
                QFAIL(qPrintable(QStringLiteral("a prefix of %1 bytes loaded").arg(length)));
            } catch (const EReadError& e) {
                QVERIFY2(e.Message() == QStringLiteral("Invalid stream format") ||
                             e.Message() == QStringLiteral("Invalid property value"),
                         qPrintable(e.Message()));
            }
            QCOMPARE(root.children().size(), 0);
        }
    }

    void inheritedComponentGetsItsProperties() {
        TTestForm root;
        auto* monitor = new TDirMon(&root);
        monitor->setObjectName(QStringLiteral("Existing"));
        ReadForm(&root, Crlf(QStringLiteral("object F: TTestForm\n"
                                            "  inherited Existing: TDirMon\n"
                                            "    NotifyFilter = [dmcSize]\n"
                                            "    Directory = '%1'\n"
                                            "  end\n"
                                            "end\n")
                                 .arg(m_dir->path())));
        QCOMPARE(monitor->FilterBits(), 0x8u);
        QVERIFY(monitor->Running());
        // A running monitor refuses a new filter, and the message says where.
        TTestForm again;
        auto* running = new TDirMon(&again);
        running->setObjectName(QStringLiteral("Existing"));
        running->SetDirectory(m_dir->path());
        try {
            ReadForm(
                &again,
                "object F: TTestForm\n inherited Existing: TDirMon\n NotifyFilter = [dmcSize]\n end\nend\n");
            QFAIL("should fail");
        } catch (const EReadError& e) {
            QCOMPARE(e.Message(), QStringLiteral("Error reading Existing.NotifyFilter: Unable to change "
                                                 "NotifyFilter when DirMon is running"));
        }
        QVERIFY(running->Running());
    }

    void pathwrightRoundTrip() {
        QFile file(m_dir->filePath(QStringLiteral("a.txt")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QString sample = QStringLiteral("object Form1: TTestForm\n"
                                              "  object Pathwright1: TPathwright\n"
                                              "    Filter = '*.txt;*.pas'\n"
                                              "    Folder = '%1/'\n"
                                              "    ObjectName = 'a.txt'\n"
                                              "    FileSystemOnly = True\n"
                                              "    MultiObjects.Strings = (\n"
                                              "      'a.txt'\n"
                                              "      'b.txt')\n"
                                              "    OnRename = Pathwright1Rename\n"
                                              "    OnFileChange = Pathwright1FileChange\n"
                                              "    OnContextMenuSelect = Pathwright1ContextMenuSelect\n"
                                              "  end\n"
                                              "  object Images1: TVelSystemImageList\n"
                                              "    ShareImages = True\n"
                                              "    Size = si_large\n"
                                              "  end\n"
                                              "end\n")
                                   .arg(m_dir->path());
        TTestForm form;
        ReadForm(&form, Crlf(sample));
        auto* pathwright = form.findChild<TPathwright*>(QStringLiteral("Pathwright1"));
        QVERIFY(pathwright);
        QCOMPARE(pathwright->Folder(), m_dir->path() + QLatin1Char('/'));
        QCOMPARE(pathwright->GetObjectName(), QStringLiteral("a.txt"));
        QCOMPARE(pathwright->GetFilter(), QStringLiteral("*.txt;*.pas"));
        QVERIFY(pathwright->FileSystemOnly());
        QCOMPARE(pathwright->GetMultiObjects(),
                 (QStringList{QStringLiteral("a.txt"), QStringLiteral("b.txt")}));
        bool execute = true;
        pathwright->OnContextMenuSelect(QStringLiteral("delete"), execute);
        QVERIFY(!execute);

        // Everything stored comes back as it was read; nothing unstored, no default, no helper.
        const std::string text = WriteFormText(&form);
        QCOMPARE(QString::fromStdString(text), QString::fromStdString(Crlf(sample)));
        TTestForm second;
        ReadForm(&second, WriteFormBinary(&form));
        QCOMPARE(WriteFormText(&second), text);

        // The handler bound by name hears of the folder's changes.
        QFile other(m_dir->filePath(QStringLiteral("b.txt")));
        QVERIFY(other.open(QIODevice::WriteOnly));
        QTRY_VERIFY_WITH_TIMEOUT(form.fileChanges.contains(pathwright), 5000);
    }

    void referenceToAComponentTheFormMadeItself() {
        TTestForm form;
        auto* link = new TVelShellLink(&form);
        link->setObjectName(QStringLiteral("OwnLink"));
        ReadForm(&form, "object F: TTestForm\n object U: TLinkUser\n ShellLink = OwnLink\n end\nend\n");
        QCOMPARE(form.findChild<TLinkUser*>()->ShellLink(), link);
    }

    void textOutsideAsciiSurvivesBothForms() {
        const QString folder = m_dir->filePath(QStringLiteral("caf\u00e9 \u0434\u043e\u043c \u20ac"));
        TTestForm form;
        form.setObjectName(QStringLiteral("F"));
        auto* monitor = new TDirMon(&form);
        monitor->setObjectName(QStringLiteral("D"));
        monitor->SetDirectory(folder);
        for (bool text : {true, false}) {
            TTestForm copy;
            ReadForm(&copy, text ? WriteFormText(&form) : WriteFormBinary(&form));
            QCOMPARE(copy.findChild<TDirMon*>()->Directory(), folder);
        }
    }

    void removedReferenceIsCleared() {
        TTestForm form;
        ReadForm(&form, Crlf(SampleText()));
        auto* user = form.findChild<TLinkUser*>();
        delete form.findChild<TVelShellLink*>();
        QCOMPARE(user->ShellLink(), nullptr);
        QVERIFY(!QString::fromStdString(WriteFormText(&form)).contains(QStringLiteral("ShellLink =")));
    }

    void narrowStringsAreReadInTheCodePage() {
        // Bytes in a code page: Windows-1252 unless the reader is told another.
        const std::string text = "object F: TTestForm\r\n  Caption = #128#196#238#236\r\nend\r\n";
        for (const std::string& form : {text, wordloom::TextToBinaryForm(text)}) {
            TTestForm western;
            ReadForm(&western, form);
            QCOMPARE(western.m_caption, QStringLiteral("\u20ac\u00c4\u00ee\u00ec"));
            TTestForm cyrillic;
            ReadForm(&cyrillic, form, wordloom::CodePage::ForCharset(204));
            QCOMPARE(cyrillic.m_caption, QStringLiteral("\u0402\u0414\u043e\u043c"));
        }
    }

    void treeStepsOverWhatNoComponentTakes() {
        // Floats and collections (with lists inside) are recognised, and what follows is read.
        const std::string binary = wordloom::TextToBinaryForm("object F: TTestForm\r\n"
                                                              "  Ratio = 1.5\r\n"
                                                              "  Cols = <\r\n"
                                                              "    item\r\n"
                                                              "      L = (\r\n"
                                                              "        1)\r\n"
                                                              "    end>\r\n"
                                                              "  Names = (\r\n"
                                                              "    'a'\r\n"
                                                              "    <>\r\n"
                                                              "    (\r\n"
                                                              "      2))\r\n"
                                                              "  Tail = 'x'\r\n"
                                                              "end\r\n");
        // A bare component stream reads as well as the resource.
        for (std::string_view data :
             {std::string_view(binary), std::string_view(binary).substr(binary.find("TPF0"))}) {
            const TFormObject tree = ParseBinaryForm(data);
            QCOMPARE(tree.name, QStringLiteral("F"));
            QCOMPARE(tree.properties.size(), 4);
            QCOMPARE(tree.properties[0].value.kind, TFormValue::Float);
            QCOMPARE(tree.properties[1].value.kind, TFormValue::Collection);
            const TFormValue& names = tree.properties[2].value;
            QCOMPARE(names.items.size(), 3);
            QCOMPARE(names.items[0].text, QStringLiteral("a"));
            QCOMPARE(names.items[1].kind, TFormValue::Collection);
            QCOMPARE(names.items[2].items.value(0).integer, 2);
            QCOMPARE(tree.properties[3].name, QByteArray("Tail"));
            QCOMPARE(tree.properties[3].value.text, QStringLiteral("x"));
        }
    }

private:
    QString SampleText() const {
        return QStringLiteral("object Form1: TTestForm\n"
                              "  Caption = 'Gr'#246#223'e'\n"
                              "  object User1: TLinkUser\n"
                              "    ShellLink = ShellLink1\n"
                              "    Names.Strings = (\n"
                              "      'a'\n"
                              "      'it''s')\n"
                              "    Count = 40000\n"
                              "    Mode = tmSecond\n"
                              "    Data = {00FF10}\n"
                              "  end\n"
                              "  object ShellLink1: TVelShellLink\n"
                              "    Enabled = False\n"
                              "    OnChange = ShellLink1Change\n"
                              "    Version = 'ignored'\n"
                              "  end\n"
                              "  object DirMon1: TDirMon\n"
                              "    Directory = '%1/'\n"
                              "    NotifyFilter = [dmcFileName, dmcSecurity]\n"
                              "    Nested = True\n"
                              "    OnDirChange = DirMon1DirChange\n"
                              "  end\n"
                              "  object Panel1: TTestPanel\n"
                              "    Caption = 'Panel'\n"
                              "  end\n"
                              "end\n")
            .arg(m_dir->path());
    }
    // What the writer makes of the sample: the wide caption as 8-bit characters, apostrophes as
    // #39, no Version, the directory as stored.
    QString ExpectedText() const {
        QString text = SampleText();
        text.replace(QStringLiteral("'Gr'#246#223'e'"), QStringLiteral("'Gr\u00f6\u00dfe'"));
        text.replace(QStringLiteral("'it''s'"), QStringLiteral("'it'#39's'"));
        text.replace(QStringLiteral("    Version = 'ignored'\n"), QString());
        text.replace(m_dir->path() + QStringLiteral("/'"), m_dir->path() + QStringLiteral("'"));
        return text;
    }

    std::unique_ptr<wordloom::QtTempDir> m_dir;
};

QTEST_MAIN(FormFileTest)
#include "form_file_test.moc"
