#include "app/grid_filter.h"

#include "strings_db/find_index.h"
#include "strings_db/side_store.h"
#include "strings_db/strings_table.h"

#include <algorithm>
#include <unordered_map>

namespace wordloom {

void GridFilter::SetSource(StringsTable* table, const std::string& sourceField,
                           const std::string& targetField) {
    if (table == m_table && sourceField == m_fields[0] && targetField == m_fields[1]) {
        return;
    }
    m_table = table;
    m_fields[0] = sourceField;
    m_fields[1] = targetField;
    Invalidate();
}

void GridFilter::SetProject(const std::string& project) {
    if (project != m_project) {
        m_project = project;
        m_unusedRead = false;
        ForgetLastResult();
    }
}

void GridFilter::EnsureStored() {
    if (m_storedRead || m_table == nullptr) {
        return;
    }
    m_stored.clear();
    m_table->Side().ScanReviews(m_fields[0], m_fields[1], [this](const ReviewEntry& entry) {
        m_stored.emplace(entry.text, static_cast<char>(entry.state));
    });
    m_storedRead = true;
}

char GridFilter::StateFrom(const std::string& source, bool translated) const {
    const auto found = m_stored.find(source);
    if (found != m_stored.end() && found->second != static_cast<char>(ReviewState::New)) {
        return found->second;
    }
    // What has no stored state shows as new or translated by its text.
    return static_cast<char>(translated ? ReviewState::Translated : ReviewState::New);
}

void GridFilter::EnsureStates() {
    EnsureIndex();
    if (m_statesRead || m_table == nullptr) {
        return;
    }
    EnsureStored();
    m_states.assign(m_translated.size(), static_cast<char>(ReviewState::New));
    static const std::string kNoText;
    std::vector<std::string> source;
    if (!m_stored.empty()) {
        source = m_table->ColumnOfView(m_fields[0]);
    }
    for (std::size_t recNo = 0; recNo < m_states.size(); ++recNo) {
        m_states[recNo] =
            StateFrom(recNo < source.size() ? source[recNo] : kNoText, m_translated[recNo] != 0);
    }
    m_statesRead = true;
}

char GridFilter::ReadState(int recNo) {
    // The record's own stored state is read again: a mark may have changed with it.
    const std::string text = m_table->FieldAt(recNo, m_fields[0]);
    if (m_storedRead) {
        const std::optional<ReviewEntry> entry = m_table->Side().Review(m_fields[0], text, m_fields[1]);
        if (entry) {
            m_stored[text] = static_cast<char>(entry->state);
        } else {
            m_stored.erase(text);
        }
    }
    EnsureStored();
    return StateFrom(text, !m_table->FieldAt(recNo, m_fields[1]).empty());
}

int GridFilter::StateOf(int recNo) {
    if (m_table == nullptr || recNo < 0) {
        return static_cast<int>(ReviewState::New);
    }
    const auto at = static_cast<std::size_t>(recNo);
    if (m_statesRead) {
        return at < m_states.size() ? m_states[at] : static_cast<int>(ReviewState::New);
    }
    // The marks of the shown rows only: the whole view is read when a filter needs every state.
    EnsureStored();
    if (recNo >= m_table->RecordCount()) {
        return static_cast<int>(ReviewState::New);
    }
    return StateFrom(m_stored.empty() ? std::string() : m_table->FieldAt(recNo, m_fields[0]),
                     !m_table->FieldAt(recNo, m_fields[1]).empty());
}

void GridFilter::EnsureUnused() {
    EnsureIndex();
    if (m_unusedRead || m_table == nullptr) {
        return;
    }
    m_unused.assign(m_translated.size(), 0);
    m_unusedUnknown = m_project.empty() || m_table->Side().OccurrenceFiles(m_project).empty();
    if (!m_unusedUnknown) {
        const std::vector<std::string> unused = m_table->Side().UnusedTexts(m_project, m_fields[0]);
        if (!unused.empty()) {
            const std::vector<std::string> source = m_table->ColumnOfView(m_fields[0]);
            for (std::size_t recNo = 0; recNo < m_unused.size() && recNo < source.size(); ++recNo) {
                m_unused[recNo] = std::binary_search(unused.begin(), unused.end(), source[recNo]) ? 1 : 0;
            }
        }
    }
    m_unusedRead = true;
}

bool GridFilter::UnusedUnknown() {
    EnsureUnused();
    return m_unusedUnknown;
}

void GridFilter::SetCriteria(const FilterCriteria& criteria) {
    m_criteria = criteria;
    m_needle = FoldForFind(criteria.findText.toStdString());
}

bool GridFilter::Narrows() const {
    return m_table != nullptr &&
           (m_criteria.state != RecordStateFilter::All || (m_criteria.narrowToFind && !m_needle.empty()));
}

void GridFilter::Invalidate() {
    m_storedRead = false;
    m_stored.clear();
    DropIndex();
}

void GridFilter::DropIndex() {
    m_indexed = false;
    for (auto& column : m_folded) {
        column.clear();
        column.shrink_to_fit();
    }
    m_translated.clear();
    m_statesRead = false;
    m_states.clear();
    m_unusedRead = false;
    m_unused.clear();
    ForgetLastResult();
}

void GridFilter::ReadRecord(int recNo, std::string& source, std::string& target, bool& translated) const {
    source = FoldForFind(m_table->FieldAt(recNo, m_fields[0]));
    const std::string raw = m_table->FieldAt(recNo, m_fields[1]);
    translated = !raw.empty();
    target = FoldForFind(raw);
}

void GridFilter::EnsureIndex() {
    if (m_indexed || m_table == nullptr) {
        return;
    }
    // Column by column in one pass each: a read per record costs seconds on a large table.
    std::vector<std::string> source = m_table->ColumnOfView(m_fields[0]);
    std::vector<std::string> target = m_table->ColumnOfView(m_fields[1]);
    const std::size_t count = std::min(source.size(), target.size());
    for (auto& column : m_folded) {
        column.assign(count, std::string());
    }
    m_translated.assign(count, 0);
    for (std::size_t recNo = 0; recNo < count; ++recNo) {
        m_folded[0][recNo] = FoldForFind(source[recNo]);
        m_translated[recNo] = target[recNo].empty() ? 0 : 1;
        m_folded[1][recNo] = FoldForFind(target[recNo]);
    }
    m_indexed = true;
}

void GridFilter::RecordChanged(int recNo) {
    const auto at = static_cast<std::size_t>(recNo);
    // Keeps the stored states true for the marks of the shown rows too.
    const char state =
        m_table != nullptr && recNo >= 0 && recNo < m_table->RecordCount() ? ReadState(recNo) : 0;
    if (!m_indexed || recNo < 0 || at >= m_translated.size()) {
        DropIndex();
        return;
    }
    bool translated = false;
    ReadRecord(recNo, m_folded[0][at], m_folded[1][at], translated);
    m_translated[at] = translated ? 1 : 0;
    if (m_statesRead) {
        m_states[at] = state;
    }
    m_unusedRead = false; // its text may have become one the project uses, or stopped being one
    ForgetLastResult();
}

void GridFilter::RecordRemoved(int recNo) {
    const auto at = static_cast<std::size_t>(recNo);
    if (!m_indexed || recNo < 0 || at >= m_translated.size()) {
        DropIndex();
        return;
    }
    for (auto& column : m_folded) {
        column.erase(column.begin() + recNo);
    }
    m_translated.erase(m_translated.begin() + recNo);
    if (m_statesRead) {
        m_states.erase(m_states.begin() + recNo);
    }
    m_unusedRead = false;
    ForgetLastResult();
}

void GridFilter::RecordInserted(int recNo) {
    const auto at = static_cast<std::size_t>(recNo);
    if (!m_indexed || recNo < 0 || at > m_translated.size()) {
        DropIndex();
        return;
    }
    bool translated = false;
    std::string folded[2];
    ReadRecord(recNo, folded[0], folded[1], translated);
    for (int column = 0; column < 2; ++column) {
        m_folded[column].insert(m_folded[column].begin() + recNo, std::move(folded[column]));
    }
    m_translated.insert(m_translated.begin() + recNo, translated ? 1 : 0);
    if (m_statesRead) {
        m_states.insert(m_states.begin() + recNo, ReadState(recNo));
    }
    m_unusedRead = false;
    ForgetLastResult();
}

bool GridFilter::PassesState(std::size_t recNo) const {
    switch (m_criteria.state) {
    case RecordStateFilter::All:
        return true;
    case RecordStateFilter::Untranslated:
        return m_translated[recNo] == 0;
    case RecordStateFilter::Translated:
        return m_translated[recNo] != 0;
    case RecordStateFilter::Suggested:
        return m_states[recNo] == static_cast<char>(ReviewState::Suggested);
    case RecordStateFilter::DontTranslate:
        return m_states[recNo] == static_cast<char>(ReviewState::DontTranslate);
    case RecordStateFilter::Unused:
        return m_unused[recNo] != 0;
    case RecordStateFilter::WithWarnings:
        return m_warned && m_warned(static_cast<int>(recNo));
    }
    return true;
}

bool GridFilter::HoldsFind(std::size_t recNo, const std::string& needle) const {
    for (int column = 0; column < 2; ++column) {
        if ((m_criteria.findColumn < 0 || m_criteria.findColumn == column) &&
            m_folded[column][recNo].find(needle) != std::string::npos) {
            return true;
        }
    }
    return false;
}

bool GridFilter::MatchesFind(int recNo) {
    if (m_needle.empty() || m_table == nullptr) {
        return false;
    }
    EnsureIndex();
    const auto at = static_cast<std::size_t>(recNo);
    return recNo >= 0 && at < m_translated.size() && HoldsFind(at, m_needle);
}

std::vector<int> GridFilter::Passing() {
    EnsureIndex();
    if (m_criteria.state == RecordStateFilter::Suggested ||
        m_criteria.state == RecordStateFilter::DontTranslate) {
        EnsureStates();
    } else if (m_criteria.state == RecordStateFilter::Unused) {
        EnsureUnused();
    }
    const bool byFind = m_criteria.narrowToFind && !m_needle.empty();
    // Typing on narrows what the last keystroke found: only its records need a look.
    FilterCriteria widerOf = m_criteria;
    widerOf.findText = m_lastCriteria.findText;
    const bool refine =
        m_lastValid && byFind && widerOf == m_lastCriteria && m_lastCriteria.narrowToFind &&
        m_needle.find(FoldForFind(m_lastCriteria.findText.toStdString())) != std::string::npos;
    std::vector<int> passing;
    const auto keep = [&](int recNo) {
        const auto at = static_cast<std::size_t>(recNo);
        if (PassesState(at) && (!byFind || HoldsFind(at, m_needle))) {
            passing.push_back(recNo);
        }
    };
    if (refine) {
        for (const int recNo : m_lastPassing) {
            keep(recNo);
        }
    } else {
        passing.reserve(m_translated.size() / 4);
        for (std::size_t recNo = 0; recNo < m_translated.size(); ++recNo) {
            keep(static_cast<int>(recNo));
        }
    }
    m_lastValid = true;
    m_lastCriteria = m_criteria;
    m_lastPassing = passing;
    return passing;
}

} // namespace wordloom
