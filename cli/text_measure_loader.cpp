#include "cli/text_measure_loader.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>

namespace wordloom::cli {

namespace {

constexpr const char* kModuleName = "wordloom-text-measure.so";

} // namespace

LoadedTextMeasure::~LoadedTextMeasure() {
    if (m_measure && m_destroy)
        m_destroy(m_measure);
}

LoadedTextMeasure::LoadedTextMeasure(LoadedTextMeasure&& other) noexcept
    : m_measure(other.m_measure), m_destroy(other.m_destroy) {
    other.m_measure = nullptr;
    other.m_destroy = nullptr;
}

std::vector<std::string> TextMeasureFolders() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    const std::filesystem::path folder = program.parent_path();
    return {folder.string(), (folder / WORDLOOM_MODULE_FROM_BIN).lexically_normal().string()};
}

LoadedTextMeasure LoadTextMeasure(const std::vector<std::string>& folders) {
    LoadedTextMeasure loaded;
    for (const std::string& folder : folders) {
        const std::string path = (std::filesystem::path(folder) / kModuleName).string();
        void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module)
            continue;
        using Create = qa::TextMeasure* (*)();
        using Destroy = void (*)(qa::TextMeasure*);
        const auto create = reinterpret_cast<Create>(dlsym(module, "wordloom_create_text_measure"));
        const auto destroy = reinterpret_cast<Destroy>(dlsym(module, "wordloom_destroy_text_measure"));
        if (create && destroy) {
            loaded.m_measure = create();
            loaded.m_destroy = destroy;
        }
        if (loaded.m_measure)
            break;
    }
    return loaded;
}

} // namespace wordloom::cli
