#include "app/suggestions_panel.h"

#include "strings_db/strings_table.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <atomic>

namespace wordloom {

namespace {

enum SuggestionColumn { KeyColumn, PercentColumn, SourceColumn, TranslationColumn };

QString OneLine(const std::string& text) {
    QString shown = QString::fromStdString(text);
    return shown.replace(QStringLiteral("\r\n"), QStringLiteral(" \u21B5 "));
}

} // namespace

SuggestionsPanel::SuggestionsPanel(QWidget* parent)
    : QDockWidget(tr("Suggestions"), parent), m_list(new QTreeWidget(this)), m_note(new QLabel(this)) {
    setObjectName(QStringLiteral("SuggestionsPanel"));
    m_list->setObjectName(QStringLiteral("SuggestionList"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({tr("Key"), tr("Match"), tr("Similar text"), tr("Its translation")});
    m_list->header()->setSectionResizeMode(KeyColumn, QHeaderView::ResizeToContents);
    m_list->header()->setSectionResizeMode(PercentColumn, QHeaderView::ResizeToContents);
    m_list->setToolTip(tr("Translations of similar texts; a click or Ctrl+1 to Ctrl+5 takes one into the "
                          "translation, marked suggested"));
    m_note->setObjectName(QStringLiteral("SuggestionNote"));
    m_note->setWordWrap(true);
    auto* body = new QWidget(this);
    auto* column = new QVBoxLayout(body);
    column->setContentsMargins(2, 2, 2, 2);
    column->addWidget(m_list, 1);
    column->addWidget(m_note);
    setWidget(body);
    connect(m_list, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { emit Take(m_list->indexOfTopLevelItem(item)); });
    for (int place = 0; place < kShown; ++place) {
        auto* action = new QAction(tr("Take suggestion %1").arg(place + 1), this);
        action->setObjectName(QStringLiteral("TakeSuggestion%1").arg(place + 1));
        action->setShortcut(QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + place)));
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, [this, place] {
            if (place < static_cast<int>(m_shown.size())) {
                emit Take(place);
            }
        });
        m_takeActions << action;
    }
    Present();
}

SuggestionsPanel::~SuggestionsPanel() = default;

void SuggestionsPanel::Rebuild(const QString& tablePath, const std::string& source,
                               const std::string& target) {
    if (source != m_source || target != m_target) {
        m_learned.clear();
    }
    m_source = source;
    m_target = target;
    m_memory.reset();
    m_failure.clear();
    m_textShown = false;
    if (source.empty() || target.empty() || source == target || tablePath.isEmpty()) {
        m_read.Stop(); // what an earlier build brings is of no use any more
        Present();
        return;
    }
    auto memory = std::make_shared<TranslationMemory>();
    m_read.Start(
        tablePath.toStdString(),
        [memory, source, target](StringsTable& table, const std::atomic<bool>& stop) {
            *memory = TranslationMemory::Load(table, source, target, &stop);
        },
        [this, memory](const std::string& failure) { Adopt(failure.empty() ? memory : nullptr, failure); });
    Present();
}

void SuggestionsPanel::Adopt(std::shared_ptr<TranslationMemory> memory, const std::string& failure) {
    m_memory = std::move(memory);
    m_failure = failure;
    if (m_memory) {
        for (const auto& [source, translation] : m_learned) {
            if (!translation.empty()) {
                m_memory->Add(source, translation);
            }
        }
    }
    m_textShown = false;
    Present();
    emit MemoryBuilt();
}

void SuggestionsPanel::Learn(const std::string& source, const std::string& translation) {
    if (source.empty()) {
        return;
    }
    m_learned[source] = translation;
    if (m_memory && !translation.empty()) {
        m_memory->Add(source, translation);
    }
    m_textShown = false;
    Present();
}

void SuggestionsPanel::ShowText(const std::string& text) {
    if (m_textShown && text == m_text) {
        return;
    }
    m_text = text;
    m_textShown = false;
    Present();
}

void SuggestionsPanel::Present() {
    if (m_textShown) {
        return;
    }
    m_shown.clear();
    if (m_memory && !m_text.empty()) {
        // The record's own text is no suggestion; learned changes may drop some of those read.
        const std::size_t extra = 1 + std::min<std::size_t>(m_learned.size(), kShown);
        for (Suggestion& suggestion : m_memory->Suggest(m_text, kShown + extra)) {
            if (suggestion.source == m_text) {
                continue;
            }
            if (const auto learned = m_learned.find(suggestion.source); learned != m_learned.end()) {
                if (learned->second.empty()) {
                    continue;
                }
                suggestion.translation = learned->second;
            }
            if (m_shown.size() < static_cast<std::size_t>(kShown)) {
                m_shown.push_back(std::move(suggestion));
            }
        }
    }
    m_textShown = m_memory != nullptr;
    m_list->clear();
    for (std::size_t i = 0; i < m_shown.size(); ++i) {
        auto* item = new QTreeWidgetItem(m_list);
        item->setText(KeyColumn,
                      QKeySequence(Qt::CTRL | static_cast<Qt::Key>(Qt::Key_1 + static_cast<int>(i)))
                          .toString(QKeySequence::NativeText));
        item->setText(PercentColumn, QStringLiteral("%1%").arg(m_shown[i].percent));
        item->setTextAlignment(PercentColumn, Qt::AlignRight | Qt::AlignVCenter);
        item->setText(SourceColumn, OneLine(m_shown[i].source));
        item->setText(TranslationColumn, OneLine(m_shown[i].translation));
        item->setToolTip(SourceColumn, QString::fromStdString(m_shown[i].source));
        item->setToolTip(TranslationColumn, QString::fromStdString(m_shown[i].translation));
    }
    if (m_read.Busy()) {
        m_note->setText(tr("Reading the translations made so far ..."));
    } else if (!m_failure.empty()) {
        m_note->setText(tr("The translations cannot be read: %1").arg(QString::fromStdString(m_failure)));
    } else if (!m_memory) {
        m_note->setText(tr("Choose two different languages to see suggestions."));
    } else if (m_text.empty()) {
        m_note->clear();
    } else if (m_shown.empty()) {
        m_note->setText(tr("No similar text has a translation yet."));
    } else {
        m_note->clear();
    }
    m_note->setVisible(!m_note->text().isEmpty());
}

} // namespace wordloom
