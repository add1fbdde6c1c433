// The Qt text measure as a module that wordloom-cli loads only when it checks forms: linked into
// the command-line program, Qt would slow the start of every one of its commands.
#include "app/qt_text_measure.h"

#include <QGuiApplication>

#include <memory>

namespace {

// The program reports what it finds itself; Qt's start-up chatter (a missing runtime folder, say)
// would only clutter its output.
void Quiet(QtMsgType, const QMessageLogContext&, const QString&) {}

class ModuleMeasure final : public wordloom::qa::TextMeasure {
public:
    ModuleMeasure() {
        if (!QGuiApplication::instance()) {
            // Nothing is shown: the offscreen platform needs no display and finds the same fonts.
            if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
                qputenv("QT_QPA_PLATFORM", "offscreen");
            qInstallMessageHandler(Quiet);
            m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
        }
        m_measure = std::make_unique<wordloom::QtTextMeasure>();
    }
    double TextWidth(std::string_view utf8, const wordloom::qa::FontDescription& font) override {
        return m_measure->TextWidth(utf8, font);
    }
    std::string UsedFamily(const wordloom::qa::FontDescription& font) override {
        return m_measure->UsedFamily(font);
    }

private:
    int m_argc = 1;
    char m_name[13] = "wordloom-cli";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QGuiApplication> m_app;
    std::unique_ptr<wordloom::QtTextMeasure> m_measure; // goes before the application
};

} // namespace

/// A measure the caller gives back to wordloom_destroy_text_measure; nullptr when Qt cannot start.
extern "C" __attribute__((visibility("default"))) wordloom::qa::TextMeasure*
wordloom_create_text_measure() noexcept {
    try {
        return new ModuleMeasure;
    } catch (...) {
        return nullptr;
    }
}

extern "C" __attribute__((visibility("default"))) void
wordloom_destroy_text_measure(wordloom::qa::TextMeasure* measure) noexcept {
    delete measure;
}
