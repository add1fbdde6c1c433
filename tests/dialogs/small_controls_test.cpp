// The about box, the hyperlink label and the status bar as the user sees and uses them.
#include "dialogs/about_box.h"
#include "dialogs/adv_status_bar.h"
#include "dialogs/url_label.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace wordloom;

/// Receives what the desktop would be asked to open.
class OpenedUrls : public QObject {
    Q_OBJECT
public:
    OpenedUrls() {
        for (const char* scheme : {"file", "http", "https", "mailto"}) {
            QDesktopServices::setUrlHandler(QString::fromLatin1(scheme), this, "Open");
        }
    }
    ~OpenedUrls() override {
        for (const char* scheme : {"file", "http", "https", "mailto"}) {
            QDesktopServices::unsetUrlHandler(QString::fromLatin1(scheme));
        }
    }
    QList<QUrl> urls;
public slots:
    void Open(const QUrl& url) { urls << url; }
};

class SmallControlsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QApplication::setApplicationName(QStringLiteral("Wordloom")); }

    void urlLabelLooksLikeALink() {
        TUrlLabel label;
        QCOMPARE(label.TextColor(), QColor(0, 0, 255));
        QVERIFY(label.font().underline());
        QCOMPARE(label.cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(label.ActiveColor(), QColor(128, 0, 128));
    }

    void blankUrlOpensTheCaption() {
        OpenedUrls opened;
        TUrlLabel label;
        label.setText(QStringLiteral("https://www.wordloom.example/"));
        label.SetURL(QStringLiteral("   "));
        label.resize(200, 20);
        QTest::mouseClick(&label, Qt::LeftButton);
        QCOMPARE(opened.urls.size(), 1);
        QCOMPARE(opened.urls.first(), QUrl(QStringLiteral("https://www.wordloom.example/")));
    }

    void urlWinsOverTheCaption() {
        OpenedUrls opened;
        TUrlLabel label;
        label.setText(QStringLiteral("write to us"));
        label.SetURL(QStringLiteral("mailto:support@wordloom.example"));
        label.resize(200, 20);
        QTest::mouseClick(&label, Qt::LeftButton);
        QCOMPARE(opened.urls, QList<QUrl>{QUrl(QStringLiteral("mailto:support@wordloom.example"))});
    }

    void blankCaptionAndUrlOpenNothing() {
        OpenedUrls opened;
        TUrlLabel label;
        label.setText(QStringLiteral("  "));
        label.SetURL(QString());
        label.resize(200, 20);
        QTest::mouseClick(&label, Qt::LeftButton);
        QVERIFY(opened.urls.isEmpty());
        QVERIFY(label.Target().isEmpty());
    }

    void leftPressShowsActiveColourUntilRelease() {
        OpenedUrls opened;
        TUrlLabel label;
        label.setText(QStringLiteral("x"));
        label.SetActiveColor(Qt::red);
        label.resize(100, 20);
        QTest::mousePress(&label, Qt::LeftButton);
        QCOMPARE(label.TextColor(), QColor(Qt::red));
        QTest::mouseRelease(&label, Qt::LeftButton);
        QCOMPARE(label.TextColor(), QColor(0, 0, 255));
        QTest::mousePress(&label, Qt::RightButton);
        QCOMPARE(label.TextColor(), QColor(0, 0, 255));
        QTest::mouseRelease(&label, Qt::RightButton);
    }

    void copyMenuPutsTheCaptionOnTheClipboard() {
        TUrlLabel label;
        label.setText(QStringLiteral("support@wordloom.example"));
        QList<QAction*> actions = label.CopyMenu()->actions();
        QCOMPARE(actions.size(), 1);
        QCOMPARE(actions.first()->text(), QStringLiteral("Copy"));
        QGuiApplication::clipboard()->clear();
        actions.first()->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("support@wordloom.example"));
    }

    void aboutBoxShowsTitleVersionAndIconEachTime() {
        QApplication::setWindowIcon(QIcon(QPixmap(32, 32)));
        VersionText() = QStringLiteral("1.0");
        for (int showing = 0; showing < 2; ++showing) {
            TAboutBox box;
            QCOMPARE(box.windowTitle(), QStringLiteral("Info"));
            QCOMPARE(box.size(), QSize(303, 211));
            QCOMPARE(box.ProductName()->text(), QStringLiteral("Wordloom"));
            QCOMPARE(box.Shadow()->text(), QStringLiteral("Wordloom"));
            QCOMPARE(box.Shadow()->pos() - box.ProductName()->pos(), QPoint(1, 2));
            QCOMPARE(box.Version()->text(), QStringLiteral("Version 1.0"));
            QVERIFY(!box.ProgramIcon()->pixmap().isNull());
            QCOMPARE(box.WebLabel()->ActiveColor(), QColor(Qt::red));
            QCOMPARE(box.ComponentsLabel()->text(), QStringLiteral("Pathwright component suite for Delphi"));
            QVERIFY(box.MailLabel()->URL().startsWith(QStringLiteral("mailto:")));
            QVERIFY(box.OKButton()->isDefault());
            QTimer::singleShot(0, &box, [&box] { QTest::mouseClick(box.OKButton(), Qt::LeftButton); });
            QCOMPARE(box.exec(), int(QDialog::Accepted));
        }
    }

    void statusBarHasTwoPanelsAndWritesTheLast() {
        TAdvStatusBar bar;
        bar.AddPanel(100);
        bar.AddPanel(50);
        bar.resize(400, 22);
        bar.show();
        QCOMPARE(bar.PanelCount(), 2);
        QCOMPARE(bar.Panel(0)->width(), 100);
        QVERIFY(bar.Panel(1)->width() >= 50);
        bar.SetLastPanelText(QStringLiteral("Finished"));
        QCOMPARE(bar.PanelText(1), QStringLiteral("Finished"));
        QVERIFY(bar.PanelText(0).isEmpty());
        auto* extra = new QPushButton(QStringLiteral("on the bar"), &bar);
        bar.addPermanentWidget(extra); // it carries other controls too
        QCOMPARE(extra->parentWidget(), &bar);
    }
};

QTEST_MAIN(SmallControlsTest)
#include "small_controls_test.moc"
