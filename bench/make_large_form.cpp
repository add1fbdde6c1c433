// Writes one large generated form in both forms, for the end-to-end form conversion benchmarks:
//   ./bench/make_large_form TEXT_OUT BINARY_OUT [FORMS]   (FORMS defaults to 1250: some 6.7 MB of text)
#include "forms/form_stream.h"
#include "support/project_generator.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

namespace {

bool Write(const char* path, const std::string& content) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: make_large_form TEXT_OUT BINARY_OUT [FORMS]\n");
        return 2;
    }
    const int forms = argc == 4 ? std::atoi(argv[3]) : 1250;
    if (forms <= 0) {
        std::fprintf(stderr, "make_large_form: FORMS must be a positive number\n");
        return 2;
    }
    const std::string text = wordloom::GenerateLargeForm(forms);
    const std::string binary = wordloom::TextToBinaryForm(text);
    if (!Write(argv[1], text) || !Write(argv[2], binary)) {
        std::fprintf(stderr, "make_large_form: cannot write the output files\n");
        return 1;
    }
    std::printf("%s: %zu bytes (text)\n%s: %zu bytes (binary)\n", argv[1], text.size(), argv[2],
                binary.size());
    return 0;
}
