#include "app/record_warnings.h"

#include <QStringList>

namespace wordloom {

void RecordWarnings::SetPair(const std::string& lang, const std::string& target) {
    if (lang != m_lang || target != m_target) {
        m_byText.clear();
        m_lang = lang;
        m_target = target;
    }
}

void RecordWarnings::Set(const std::string& text, std::vector<qa::Finding> findings) {
    if (findings.empty()) {
        m_byText.erase(text);
    } else {
        m_byText[text] = std::move(findings);
    }
}

void RecordWarnings::SetAll(const std::vector<qa::Finding>& findings) {
    m_byText.clear();
    for (const qa::Finding& finding : findings) {
        m_byText[finding.text].push_back(finding);
    }
}

const std::vector<qa::Finding>* RecordWarnings::Of(const std::string& text) const {
    const auto found = m_byText.find(text);
    return found == m_byText.end() ? nullptr : &found->second;
}

QString WarningsTooltip(const std::vector<qa::Finding>& findings) {
    QStringList lines;
    for (const qa::Finding& finding : findings) {
        QString line = QString::fromStdString(finding.message);
        if (!finding.hint.empty()) {
            line += QStringLiteral(" \u2013 ") + QString::fromStdString(finding.hint);
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

} // namespace wordloom
