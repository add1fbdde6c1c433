// Throughput of form-stream conversion, in each direction, over every form file of the corpus and
// over a large generated form. Run from the build folder:
//   ./bench/form_bench --benchmark_counters_tabular=true
#include "base/file_io.h"
#include "forms/form_stream.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace wordloom;

struct FormSet {
    std::vector<std::string> binary; // binary form resources
    std::vector<std::string> text;   // text forms
    std::size_t binaryBytes = 0;
    std::size_t textBytes = 0;
    void Add(std::string binaryForm, std::string textForm) {
        binaryBytes += binaryForm.size();
        textBytes += textForm.size();
        binary.push_back(std::move(binaryForm));
        text.push_back(std::move(textForm));
    }
};

bool IsFormFile(const std::filesystem::path& path) {
    std::string ext = path.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".dfm";
}

/// Every form of the corpus, each in both forms (a text form is converted to binary once, a binary
/// form to text once), so both directions run over the same forms.
const FormSet& CorpusForms() {
    static const FormSet forms = [] {
        FormSet set;
        std::error_code error;
        for (auto it = std::filesystem::recursive_directory_iterator(WORDLOOM_CORPUS_DIR, error);
             it != std::filesystem::recursive_directory_iterator(); it.increment(error)) {
            if (error || !it->is_regular_file() || !IsFormFile(it->path()))
                continue;
            std::string data = ReadFileBytes(it->path().string());
            if (IsTextForm(data)) {
                std::string binary = TextToBinaryForm(data);
                set.Add(std::move(binary), std::move(data));
            } else {
                std::string text = BinaryFormToText(data);
                set.Add(std::move(data), std::move(text));
            }
        }
        return set;
    }();
    return forms;
}

/// A form of some 20 MB of text: many components with the common kinds of values.
const FormSet& GeneratedForm() {
    static const FormSet forms = [] {
        std::string text = "object MainForm: TMainForm\r\n  Left = 10\r\n  Caption = 'Generated'\r\n";
        for (int i = 0; text.size() < 20'000'000; ++i) {
            const std::string n = std::to_string(i);
            text +=
                "  object Label" + n + ": TLabel\r\n    Left = " + std::to_string(i % 1000) +
                "\r\n    Top = " + std::to_string(i * 7 % 40000) + "\r\n    Width = 1234567\r\n" +
                "    Caption = 'Label number " + n + " says it'#39's fine'\r\n" +
                "    Hint = \r\n      'A long hint that goes over the sixty-four character mark, so it' +\r\n"
                "      ' is continued on a second line'\r\n"
                "    Font.Name = 'Tahoma'\r\n    Font.Style = [fsBold, fsItalic]\r\n"
                "    Anchors = [akLeft, akTop]\r\n    Ratio = 1.25\r\n    ParentFont = False\r\n"
                "    Items.Strings = (\r\n      'one'\r\n      'two'\r\n      #1055#1088#1080)\r\n"
                "    Columns = <\r\n      item\r\n        Width = 64\r\n      end\r\n      item\r\n"
                "        Caption = 'x'\r\n      end>\r\n"
                "    Data = {\r\n      0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF0123456789ABCDEF\r\n"
                "      0011223344}\r\n  end\r\n";
        }
        text += "end\r\n";
        FormSet set;
        std::string binary = TextToBinaryForm(text);
        set.Add(std::move(binary), std::move(text));
        return set;
    }();
    return forms;
}

void Report(benchmark::State& state, std::size_t bytes) {
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes));
    state.counters["MB/s"] = benchmark::Counter(static_cast<double>(state.iterations() * bytes) / 1e6,
                                                benchmark::Counter::kIsRate);
}

void BinaryToText(benchmark::State& state, const FormSet& forms) {
    if (forms.binary.empty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    std::string text;
    for (auto _ : state) {
        for (const std::string& binary : forms.binary) {
            BinaryFormToText(binary, text);
            benchmark::DoNotOptimize(text.data());
        }
    }
    Report(state, forms.binaryBytes);
}

void TextToBinary(benchmark::State& state, const FormSet& forms) {
    if (forms.text.empty()) {
        state.SkipWithError("corpus not found");
        return;
    }
    std::string binary;
    for (auto _ : state) {
        for (const std::string& text : forms.text) {
            TextToBinaryForm(text, binary);
            benchmark::DoNotOptimize(binary.data());
        }
    }
    Report(state, forms.textBytes);
}

// MB/s counts the input of each direction: binary bytes read, text bytes read.
void BM_CorpusBinaryToText(benchmark::State& state) {
    BinaryToText(state, CorpusForms());
}
void BM_CorpusTextToBinary(benchmark::State& state) {
    TextToBinary(state, CorpusForms());
}
void BM_GeneratedBinaryToText(benchmark::State& state) {
    BinaryToText(state, GeneratedForm());
}
void BM_GeneratedTextToBinary(benchmark::State& state) {
    TextToBinary(state, GeneratedForm());
}

BENCHMARK(BM_CorpusBinaryToText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CorpusTextToBinary)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GeneratedBinaryToText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GeneratedTextToBinary)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
