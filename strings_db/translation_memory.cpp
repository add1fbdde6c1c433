#include "strings_db/translation_memory.h"

#include "strings_db/side_store.h"

#include <unicode/utf8.h>

#include <algorithm>
#include <numeric>

namespace wordloom {

namespace {

// How many candidates, by shared trigrams, get their edit distance computed.
constexpr std::size_t kCandidates = 64;

std::u32string CodePoints(std::string_view utf8) {
    std::u32string points;
    points.reserve(utf8.size());
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    const auto length = static_cast<int32_t>(utf8.size());
    int32_t i = 0;
    while (i < length) {
        UChar32 c;
        U8_NEXT(bytes, i, length, c);
        points.push_back(static_cast<char32_t>(c < 0 ? 0xFFFD : c));
    }
    return points;
}

char32_t Lower(char32_t c) {
    return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
}

// The distinct trigrams of a text padded with a blank at both ends (so "OK" has some), letter case
// of ASCII ignored.
std::vector<std::uint64_t> Trigrams(const std::u32string& points) {
    std::u32string padded;
    padded.reserve(points.size() + 2);
    padded += U' ';
    for (char32_t c : points) {
        padded += Lower(c);
    }
    padded += U' ';
    std::vector<std::uint64_t> grams;
    for (std::size_t i = 0; i + 3 <= padded.size(); ++i) {
        grams.push_back((std::uint64_t(padded[i] & 0x1FFFFF) << 42) |
                        (std::uint64_t(padded[i + 1] & 0x1FFFFF) << 21) |
                        std::uint64_t(padded[i + 2] & 0x1FFFFF));
    }
    std::sort(grams.begin(), grams.end());
    grams.erase(std::unique(grams.begin(), grams.end()), grams.end());
    return grams;
}

std::size_t EditDistance(const std::u32string& a, const std::u32string& b) {
    std::vector<std::size_t> row(b.size() + 1);
    std::iota(row.begin(), row.end(), std::size_t{0});
    for (std::size_t i = 1; i <= a.size(); ++i) {
        std::size_t diagonal = row[0];
        row[0] = i;
        for (std::size_t j = 1; j <= b.size(); ++j) {
            const std::size_t above = row[j];
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

int Percent(std::size_t distance, std::size_t longer) {
    if (longer == 0) {
        return 100;
    }
    const int percent = static_cast<int>((longer - distance) * 100 / longer);
    // Only the same text is 100%.
    return distance > 0 ? std::min(percent, 99) : percent;
}

} // namespace

int Similarity(std::string_view a, std::string_view b) {
    const std::u32string pa = CodePoints(a);
    const std::u32string pb = CodePoints(b);
    return Percent(EditDistance(pa, pb), std::max(pa.size(), pb.size()));
}

TranslationMemory TranslationMemory::Load(StringsTable& table, const std::string& source,
                                          const std::string& target, const std::atomic<bool>* stop) {
    TranslationMemory memory;
    const bool whole = ScanRecordsUntil(
        table.Side(), {source, target},
        [&memory](const std::vector<std::string_view>& values) {
            if (!values[0].empty() && !values[1].empty()) {
                memory.Add(values[0], values[1]);
            }
        },
        stop);
    return whole ? std::move(memory) : TranslationMemory();
}

void TranslationMemory::Add(std::string_view source, std::string_view translation) {
    if (m_exact.contains(source)) {
        return;
    }
    const auto entry = static_cast<std::uint32_t>(m_sources.size());
    // Strings move with the vector unless held apart: the exact map points into them.
    m_sources.push_back(std::make_unique<std::string>(source));
    m_translations.emplace_back(translation);
    const std::u32string points = CodePoints(source);
    m_lengths.push_back(static_cast<std::uint32_t>(points.size()));
    const std::vector<std::uint64_t> grams = Trigrams(points);
    m_gramCounts.push_back(static_cast<std::uint16_t>(std::min<std::size_t>(grams.size(), 0xFFFF)));
    for (std::uint64_t gram : grams) {
        m_postings[gram].push_back(entry);
    }
    m_exact.emplace(*m_sources.back(), entry);
}

std::vector<Suggestion> TranslationMemory::Suggest(std::string_view text, std::size_t limit,
                                                   int minPercent) const {
    std::vector<Suggestion> found;
    if (limit == 0) {
        return found;
    }
    const auto exact = m_exact.find(text);
    if (exact != m_exact.end()) {
        found.push_back({*m_sources[exact->second], m_translations[exact->second], 100});
    }
    const std::u32string points = CodePoints(text);
    const std::vector<std::uint64_t> grams = Trigrams(points);
    m_counts.resize(m_sources.size());
    std::vector<std::uint32_t> touched;
    for (std::uint64_t gram : grams) {
        const auto posting = m_postings.find(gram);
        if (posting == m_postings.end()) {
            continue;
        }
        for (std::uint32_t entry : posting->second) {
            if (m_counts[entry]++ == 0) {
                touched.push_back(entry);
            }
        }
    }
    // Rank by the share of trigrams in common (Dice), then measure the best few exactly.
    struct Candidate {
        std::uint32_t entry;
        double score;
    };
    std::vector<Candidate> candidates;
    candidates.reserve(touched.size());
    const std::size_t length = points.size();
    for (std::uint32_t entry : touched) {
        const std::size_t other = m_lengths[entry];
        const std::size_t longer = std::max(length, other);
        const std::size_t shorter = std::min(length, other);
        // The edit distance is at least the difference in length.
        if (entry != (exact != m_exact.end() ? exact->second : UINT32_MAX) &&
            Percent(longer - shorter, longer) >= minPercent) {
            candidates.push_back({entry, 2.0 * m_counts[entry] / double(grams.size() + m_gramCounts[entry])});
        }
        m_counts[entry] = 0;
    }
    const std::size_t keep = std::min(candidates.size(), kCandidates);
    std::partial_sort(candidates.begin(), candidates.begin() + static_cast<std::ptrdiff_t>(keep),
                      candidates.end(),
                      [](const Candidate& a, const Candidate& b) { return a.score > b.score; });
    candidates.resize(keep);
    for (const Candidate& candidate : candidates) {
        const std::string& source = *m_sources[candidate.entry];
        const std::u32string other = CodePoints(source);
        const int percent = Percent(EditDistance(points, other), std::max(points.size(), other.size()));
        if (percent >= minPercent) {
            found.push_back({source, m_translations[candidate.entry], percent});
        }
    }
    std::sort(found.begin(), found.end(), [](const Suggestion& a, const Suggestion& b) {
        return a.percent != b.percent ? a.percent > b.percent : a.source < b.source;
    });
    if (found.size() > limit) {
        found.resize(limit);
    }
    return found;
}

PreTranslateSummary PreTranslate(StringsTable& table, const std::string& project, const std::string& source,
                                 const std::string& target, int minPercent, CommandHost* host) {
    const TranslationMemory memory = TranslationMemory::Load(table, source, target);
    SideStore& side = table.Side();
    std::unordered_map<std::string, ReviewState> states;
    side.ScanReviews(source, target,
                     [&states](const ReviewEntry& entry) { states[entry.text] = entry.state; });
    std::vector<std::string> empty;
    side.ScanRecords({"Project", source, target}, [&](const std::vector<std::string_view>& values) {
        if (values[1].empty() || !values[2].empty() ||
            (!project.empty() && !ListsProject(values[0], project))) {
            return;
        }
        const auto state = states.find(std::string(values[1]));
        if (state != states.end() && state->second == ReviewState::DontTranslate) {
            return;
        }
        empty.emplace_back(values[1]);
    });
    struct Fill {
        std::string text;
        Suggestion best;
    };
    std::vector<Fill> fills;
    PreTranslateSummary summary;
    // Told every so many texts: a window lets its events through at each.
    constexpr std::size_t kProgressStep = 64;
    const auto total = static_cast<long long>(empty.size());
    for (std::size_t i = 0; i < empty.size(); ++i) {
        if (host != nullptr && i % kProgressStep == 0) {
            if (host->CancelRequested()) {
                summary.cancelled = true;
                return summary;
            }
            host->Progress(static_cast<long long>(i), total, empty[i]);
        }
        std::vector<Suggestion> best = memory.Suggest(empty[i], 1, minPercent);
        if (!best.empty()) {
            fills.push_back({std::move(empty[i]), std::move(best.front())});
        }
    }
    if (host != nullptr) {
        if (host->CancelRequested()) {
            summary.cancelled = true;
            return summary;
        }
        host->Progress(total, total, {}); // filling goes to its end
    }
    StringsTable::Transaction transaction(table);
    for (const Fill& fill : fills) {
        side.SetFieldByKey(source, fill.text, target, fill.best.translation);
        side.SetReview({source, fill.text, target, ReviewState::Suggested,
                        "memory:" + std::to_string(fill.best.percent), 0});
        ++(fill.best.percent == 100 ? summary.exact : summary.fuzzy);
        summary.filled.push_back(fill.text);
    }
    transaction.Commit();
    return summary;
}

} // namespace wordloom
