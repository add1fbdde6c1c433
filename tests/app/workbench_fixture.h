// What the workbench tests share: a folder holding a fresh copy of the shipped strings.db as the
// current directory, settings kept in a temporary folder, and message boxes answered as a user would.
#pragma once

#include "app/main_form.h"
#include "dialogs/options_dlg.h"
#include "strings_db/strings_table.h"
#include "support/qt_files.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QSettings>
#include <QTimer>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>

namespace wordloom::testing {

/// The shipped, empty strings table the build puts beside the program.
inline QString ShippedTable() {
    return QStringLiteral(WORDLOOM_BINARY_DIR "/strings.db");
}

/// The texts of one grid column, top to bottom.
inline QStringList GridColumn(const QAbstractItemModel* model, int column) {
    QStringList texts;
    for (int row = 0; row < model->rowCount(); ++row) {
        texts << model->index(row, column).data().toString();
    }
    return texts;
}

/// A message box as the user saw it.
struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon;
    QMessageBox::StandardButtons buttons;
};

/// Answers every modal message box that comes up while it lives: with the queued answers in turn,
/// then with OK. Records what each box showed.
class BoxAnswerer : public QObject {
    Q_OBJECT
public:
    explicit BoxAnswerer(std::deque<QMessageBox::StandardButton> answers = {})
        : m_answers(std::move(answers)) {
        connect(&m_timer, &QTimer::timeout, this, &BoxAnswerer::Poll);
        m_timer.start(5);
    }

    QList<SeenBox> seen;
    /// Runs while each box is up, before it is answered: what else the user sees at that moment.
    std::function<void()> onBox;

    QStringList Texts() const {
        QStringList texts;
        for (const SeenBox& box : seen) {
            texts << box.text;
        }
        return texts;
    }

private:
    void Poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) {
            return;
        }
        seen.append({box->windowTitle(), box->text(), box->icon(), box->standardButtons()});
        if (onBox) {
            onBox();
        }
        QMessageBox::StandardButton answer = QMessageBox::Ok;
        if (!m_answers.empty()) {
            answer = m_answers.front();
            m_answers.pop_front();
        }
        if (QAbstractButton* button = box->button(answer)) {
            button->click();
        } else {
            box->reject();
        }
    }

    QTimer m_timer;
    std::deque<QMessageBox::StandardButton> m_answers;
};

/// Runs `handle` on the first modal dialog of type Dialog that comes up (polled, as a user would
/// wait for it to appear).
template <typename Dialog>
void WhenModal(std::function<void(Dialog*)> handle) {
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, handle] {
        if (auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            handle(dialog);
        }
    });
    timer->start(5);
}

/// A working folder with strings.db, the settings in a temporary place, and the current directory
/// moved there for the life of the fixture.
class WorkFolder {
public:
    explicit WorkFolder(bool withTable = true) {
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope,
                           m_dir.filePath(QStringLiteral("config")));
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                           m_dir.filePath(QStringLiteral("config")));
        if (withTable) {
            QFile::copy(ShippedTable(), m_dir.filePath(QStringLiteral("strings.db")));
            QFile(m_dir.filePath(QStringLiteral("strings.db")))
                .setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        }
        m_previous = QDir::currentPath();
        QDir::setCurrent(m_dir.path());
    }
    ~WorkFolder() { QDir::setCurrent(m_previous); }
    WorkFolder(const WorkFolder&) = delete;
    WorkFolder& operator=(const WorkFolder&) = delete;

    QString Path(const QString& name = QString()) const {
        return name.isEmpty() ? m_dir.path() : m_dir.filePath(name);
    }
    /// The settings file the window reads and writes.
    QString SettingsFile() const {
        return m_dir.filePath(QStringLiteral("config/VEL Software/Wordloom.conf"));
    }

private:
    QtTempDir m_dir;
    QString m_previous;
};

/// The program's windows as the start creates them: main window, then the options dialog.
struct Workbench {
    Workbench() : options(new TOptionsDlg(&form)) { form.SetOptionsDlg(options); }
    /// Shows the window (the start-up runs) and waits until it is exposed.
    void Show() {
        form.show();
        QCoreApplication::processEvents();
    }
    TMainForm form;
    TOptionsDlg* options;
};

/// A record of a test table: its English and German texts and its project list.
struct TextRecord {
    const char* english;
    const char* german;
    const char* project = "Demo";
};

/// Stores the records, then lists the table in English order as the window does.
inline void AddRecords(StringsTable& t, std::initializer_list<TextRecord> records) {
    for (const TextRecord& record : records) {
        t.Insert();
        t.SetField("English", record.english);
        t.SetField("German", record.german);
        t.SetField("Project", record.project);
        t.SetFieldInt("SpFront", 0);
        t.SetFieldInt("SpEnd", 0);
        t.Post();
    }
    t.SetIndexName("English2");
}

/// UTF-8 literals as the grid shows them.
inline QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromUtf8(text);
    }
    return list;
}

} // namespace wordloom::testing
