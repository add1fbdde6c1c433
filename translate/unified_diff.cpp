#include "translate/unified_diff.h"

#include <algorithm>
#include <vector>

namespace wordloom {
namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find('\n', start);
        const std::size_t stop = end == std::string_view::npos ? text.size() : end + 1;
        lines.push_back(text.substr(start, stop - start));
        start = stop;
    }
    return lines;
}

enum class Op { Same, Remove, Add };

/// The shortest edit script between a and b (the O(ND) greedy algorithm): one Op per line taken.
std::vector<Op> EditScript(const std::vector<std::string_view>& a, const std::vector<std::string_view>& b) {
    const int n = static_cast<int>(a.size());
    const int m = static_cast<int>(b.size());
    const int max = n + m;
    const int offset = max + 1;
    std::vector<int> v(2 * max + 3, 0);
    std::vector<std::vector<int>> trace;
    int found = -1;
    for (int d = 0; d <= max && found < 0; ++d) {
        // Only the diagonals this step reads are kept: memory grows with the edits, not the lines.
        trace.emplace_back(v.begin() + offset - d - 1, v.begin() + offset + d + 2);
        for (int k = -d; k <= d; k += 2) {
            int x = (k == -d || (k != d && v[offset + k - 1] < v[offset + k + 1])) ? v[offset + k + 1]
                                                                                   : v[offset + k - 1] + 1;
            int y = x - k;
            while (x < n && y < m && a[x] == b[y]) {
                ++x;
                ++y;
            }
            v[offset + k] = x;
            if (x >= n && y >= m) {
                found = d;
                break;
            }
        }
    }
    std::vector<Op> script;
    int x = n;
    int y = m;
    for (int d = found; d > 0; --d) {
        const std::vector<int>& before = trace[d];
        const int k = x - y;
        const int base = d + 1;
        const bool down = k == -d || (k != d && before[base + k - 1] < before[base + k + 1]);
        const int previousK = down ? k + 1 : k - 1;
        const int previousX = before[base + previousK];
        const int previousY = previousX - previousK;
        while (x > previousX && y > previousY) {
            script.push_back(Op::Same);
            --x;
            --y;
        }
        script.push_back(down ? Op::Add : Op::Remove);
        x = previousX;
        y = previousY;
    }
    while (x > 0 && y > 0) {
        script.push_back(Op::Same);
        --x;
        --y;
    }
    std::reverse(script.begin(), script.end());
    return script;
}

void AppendLine(std::string& out, char mark, std::string_view line) {
    out += mark;
    out += line;
    if (line.empty() || line.back() != '\n')
        out += "\n\\ No newline at end of file\n";
}

std::string Range(std::size_t start, std::size_t count) {
    // An empty range names the line before it.
    // Appended piece by piece: "," + to_string(...) trips a false -Wrestrict of GCC 12 at -O3.
    std::string range = std::to_string(count == 0 ? start : start + 1);
    if (count != 1) {
        range += ',';
        range += std::to_string(count);
    }
    return range;
}

} // namespace

std::string UnifiedDiff(std::string_view before, std::string_view after, const std::string& beforeName,
                        const std::string& afterName, int context) {
    if (before == after)
        return {};
    const std::vector<std::string_view> a = SplitLines(before);
    const std::vector<std::string_view> b = SplitLines(after);
    // Common head and tail are cut off first: a translation changes few lines of a long file.
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head])
        ++head;
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail])
        ++tail;
    std::vector<Op> script(head, Op::Same);
    const std::vector<Op> middle = EditScript(
        {a.begin() + static_cast<std::ptrdiff_t>(head), a.end() - static_cast<std::ptrdiff_t>(tail)},
        {b.begin() + static_cast<std::ptrdiff_t>(head), b.end() - static_cast<std::ptrdiff_t>(tail)});
    script.insert(script.end(), middle.begin(), middle.end());
    script.insert(script.end(), tail, Op::Same);

    std::string out = "--- " + beforeName + "\n+++ " + afterName + "\n";
    const std::size_t ctx = static_cast<std::size_t>(std::max(context, 0));
    std::size_t i = 0;
    std::size_t ai = 0; // lines of a and b before script[i]
    std::size_t bi = 0;
    while (i < script.size()) {
        if (script[i] == Op::Same) {
            ++i;
            ++ai;
            ++bi;
            continue;
        }
        // A hunk: from ctx lines before this change to ctx lines after the last change that lies
        // within 2 * ctx unchanged lines of the one before it.
        const std::size_t lead = std::min({ctx, ai, bi});
        std::size_t end = i;
        std::size_t sameRun = 0;
        for (std::size_t j = i; j < script.size(); ++j) {
            if (script[j] != Op::Same) {
                end = j + 1;
                sameRun = 0;
            } else if (++sameRun > 2 * ctx) {
                break;
            }
        }
        const std::size_t trail =
            std::min(ctx, static_cast<std::size_t>(std::count(
                              script.begin() + static_cast<std::ptrdiff_t>(end), script.end(), Op::Same)));
        std::size_t aStart = ai - lead;
        std::size_t bStart = bi - lead;
        std::string body;
        std::size_t aCount = 0;
        std::size_t bCount = 0;
        for (std::size_t l = 0; l < lead; ++l) {
            AppendLine(body, ' ', a[aStart + l]);
            ++aCount;
            ++bCount;
        }
        std::size_t taken = 0;
        for (std::size_t j = i; j < end || (j < script.size() && taken < trail); ++j) {
            if (j >= end)
                ++taken;
            switch (script[j]) {
            case Op::Same:
                AppendLine(body, ' ', a[ai]);
                ++ai;
                ++bi;
                ++aCount;
                ++bCount;
                break;
            case Op::Remove:
                AppendLine(body, '-', a[ai++]);
                ++aCount;
                break;
            case Op::Add:
                AppendLine(body, '+', b[bi++]);
                ++bCount;
                break;
            }
            i = j + 1;
        }
        out += "@@ -" + Range(aStart, aCount) + " +" + Range(bStart, bCount) + " @@\n" + body;
    }
    return out;
}

} // namespace wordloom
