#include "app/context_panel.h"

#include "base/errors.h"
#include "collect/source_lines.h"
#include "dialogs/message_boxes.h"
#include "dialogs/shell_open.h"
#include "strings_db/strings_table.h"

#include <QDir>
#include <QFontDatabase>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSplitter>
#include <QTextBlock>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace wordloom {

namespace {

constexpr int kNeighbours = 3;  // lines shown above and below the place
constexpr int kMaxShown = 1000; // characters of a line; a generated line can be megabytes long

enum PlaceColumn { ProjectColumn, FileColumn, LineColumn, ComponentColumn, PropertyColumn };

} // namespace

QStringList EditorInvocation(const QString& command, const QString& file, int line) {
    QStringList words = QProcess::splitCommand(command);
    if (words.isEmpty()) {
        return {};
    }
    bool fileGiven = false;
    for (QString& word : words) {
        // One pass per word, so a file name holding "%l" is never taken for a placeholder.
        QString expanded;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != QLatin1Char('%') || i + 1 == word.size()) {
                expanded += word[i];
                continue;
            }
            const QChar code = word[++i];
            if (code == QLatin1Char('f')) {
                expanded += file;
                fileGiven = true;
            } else if (code == QLatin1Char('l')) {
                expanded += QString::number(line);
            } else if (code == QLatin1Char('%')) {
                expanded += QLatin1Char('%');
            } else {
                expanded += QLatin1Char('%');
                expanded += code;
            }
        }
        word = expanded;
    }
    if (!fileGiven) {
        words << file;
    }
    return words;
}

ContextPanel::ContextPanel(QWidget* parent)
    : QDockWidget(tr("Where used"), parent), m_splitter(new QSplitter(Qt::Horizontal, this)),
      m_places(new QTreeWidget(m_splitter)), m_lines(new QPlainTextEdit(m_splitter)),
      m_note(new QLabel(this)) {
    setObjectName(QStringLiteral("ContextPanel"));
    m_splitter->setObjectName(QStringLiteral("ContextSplitter"));
    m_places->setObjectName(QStringLiteral("ContextPlaces"));
    m_places->setRootIsDecorated(false);
    m_places->setUniformRowHeights(true);
    m_places->setHeaderLabels({tr("Project"), tr("File"), tr("Line"), tr("Component"), tr("Property")});
    m_places->setToolTip(
        tr("Where the current text was collected; a double-click opens the file at its line"));
    m_lines->setObjectName(QStringLiteral("ContextLines"));
    m_lines->setReadOnly(true);
    m_lines->setLineWrapMode(QPlainTextEdit::NoWrap);
    m_lines->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    m_lines->setToolTip(tr("The source line of the chosen place, with its neighbours"));
    m_splitter->setStretchFactor(0, 2);
    m_splitter->setStretchFactor(1, 3);
    m_note->setObjectName(QStringLiteral("ContextNote"));
    m_note->setWordWrap(true);
    m_note->hide();

    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(2, 2, 2, 2);
    m_warnings = new QLabel(body);
    m_warnings->setObjectName(QStringLiteral("ContextWarnings"));
    m_warnings->setWordWrap(true);
    m_warnings->setTextFormat(Qt::PlainText);
    m_warnings->hide();
    column->addWidget(m_warnings);
    column->addWidget(m_note);
    column->addWidget(m_splitter, 1);
    setWidget(body);

    connect(m_places, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        ShowLines(item == nullptr ? -1 : m_places->indexOfTopLevelItem(item));
    });
    connect(m_places, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { OpenPlace(m_places->indexOfTopLevelItem(item)); });
}

void ContextPanel::ShowWarnings(const QString& text) {
    m_warnings->setText(text);
    m_warnings->setVisible(!text.isEmpty());
}

void ContextPanel::ShowRecord(StringsTable* table, const std::string& lang, const std::string& text,
                              bool reread) {
    if (!reread && table == m_table && lang == m_lang && text == m_text) {
        return;
    }
    m_table = table;
    m_lang = lang;
    m_text = text;
    m_shown.clear();
    m_note->hide();
    if (table != nullptr && !text.empty() && !lang.empty()) {
        try {
            m_shown = table->Side().Occurrences(lang, text);
        } catch (const std::exception& error) {
            m_note->setText(tr("The places cannot be read: %1").arg(QString::fromStdString(error.what())));
            m_note->show();
        }
    }
    const QSignalBlocker quiet(m_places);
    m_places->clear();
    for (const Occurrence& place : m_shown) {
        auto* item = new QTreeWidgetItem(m_places);
        item->setText(ProjectColumn, QString::fromStdString(place.project));
        item->setText(FileColumn, QString::fromStdString(place.file));
        item->setText(LineColumn, QString::number(place.line));
        item->setTextAlignment(LineColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(ComponentColumn, QString::fromStdString(place.path));
        item->setText(PropertyColumn, QString::fromStdString(place.property));
    }
    if (!m_shown.empty()) {
        m_places->setCurrentItem(m_places->topLevelItem(0));
        for (int column = ProjectColumn; column < PropertyColumn; ++column) {
            m_places->resizeColumnToContents(column);
        }
    }
    if (!text.empty() && m_shown.empty() && m_note->isHidden()) {
        m_note->setText(tr("No places are known for this text: it was not collected since places are "
                           "recorded, or no project uses it any more."));
        m_note->show();
    }
    ShowLines(m_shown.empty() ? -1 : 0);
}

QString ContextPanel::PlaceFile(int place) const {
    if (place < 0 || place >= static_cast<int>(m_shown.size()) || !m_lookup) {
        return {};
    }
    const ContextSource source = m_lookup();
    const Occurrence& occurrence = m_shown[static_cast<std::size_t>(place)];
    // Project names are compared as the project filter compares them.
    if (source.folder.empty() ||
        QString::fromStdString(source.projectName)
                .compare(QString::fromStdString(occurrence.project), Qt::CaseInsensitive) != 0) {
        return {};
    }
    return QString::fromStdString(source.folder + occurrence.file);
}

void ContextPanel::ShowLines(int place) {
    m_lines->clear();
    if (place < 0 || place >= static_cast<int>(m_shown.size())) {
        return;
    }
    const Occurrence& occurrence = m_shown[static_cast<std::size_t>(place)];
    const QString file = PlaceFile(place);
    if (file.isEmpty()) {
        m_lines->setPlainText(
            tr("The folder of project %1 is not known: choose its project file above to see "
               "its lines.")
                .arg(QString::fromStdString(occurrence.project)));
        return;
    }
    std::vector<SourceLine> lines;
    try {
        lines = ReadSourceLines(file.toStdString(), CodePage::ForCharset(m_lookup().charset), occurrence.line,
                                kNeighbours);
    } catch (const std::exception& error) {
        m_lines->setPlainText(QString::fromStdString(error.what()));
        return;
    }
    if (lines.empty()) {
        m_lines->setPlainText(tr("%1 has no line %2 any more: it changed since it was collected.")
                                  .arg(QDir::toNativeSeparators(file))
                                  .arg(occurrence.line));
        return;
    }
    const int width = static_cast<int>(QString::number(lines.back().number).size());
    QStringList shown;
    int mark = -1;
    for (const SourceLine& line : lines) {
        QString text = QString::fromStdString(line.text);
        if (text.size() > kMaxShown) {
            text = text.left(kMaxShown) + QStringLiteral(" …");
        }
        if (line.number == occurrence.line) {
            mark = static_cast<int>(shown.size());
        }
        shown << QStringLiteral("%1  %2").arg(line.number, width).arg(text);
    }
    m_lines->setPlainText(shown.join(QLatin1Char('\n')));
    if (mark >= 0) {
        QTextEdit::ExtraSelection selection;
        selection.format.setBackground(palette().color(QPalette::Highlight));
        selection.format.setForeground(palette().color(QPalette::HighlightedText));
        selection.format.setProperty(QTextFormat::FullWidthSelection, true);
        selection.cursor = QTextCursor(m_lines->document()->findBlockByNumber(mark));
        m_lines->setExtraSelections({selection});
        m_lines->setTextCursor(selection.cursor);
    }
}

bool ContextPanel::OpenPlace(int place) {
    if (place < 0 || place >= static_cast<int>(m_shown.size())) {
        return false;
    }
    const QString file = PlaceFile(place);
    if (file.isEmpty()) {
        ShowErrorMessage(this,
                         tr("The folder of project %1 is not known: choose its project file first.")
                             .arg(QString::fromStdString(m_shown[static_cast<std::size_t>(place)].project)));
        return false;
    }
    const QStringList invocation =
        EditorInvocation(m_editorCommand, file, m_shown[static_cast<std::size_t>(place)].line);
    if (invocation.isEmpty()) {
        if (const QString failure = OpenDocument(file); !failure.isEmpty()) {
            ShowErrorMessage(this, failure);
            return false;
        }
        return true;
    }
    if (!QProcess::startDetached(invocation.front(), invocation.mid(1))) {
        ShowErrorMessage(this,
                         tr("The editor could not be started: %1").arg(invocation.join(QLatin1Char(' '))));
        return false;
    }
    emit EditorStarted(invocation);
    return true;
}

} // namespace wordloom
