#include "app/relay_host.h"

#include <QMetaObject>
#include <QThread>
#include <optional>
#include <type_traits>

namespace wordloom {

template <typename Call>
auto RelayHost::OnUiThread(Call call) {
    using Result = std::invoke_result_t<Call, CommandHost&>;
    if (QThread::currentThread() == m_context->thread()) {
        return call(m_host); // a blocking call to its own thread would never return
    }
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(
            m_context, [this, &call] { call(m_host); }, Qt::BlockingQueuedConnection);
    } else {
        std::optional<Result> result;
        QMetaObject::invokeMethod(
            m_context, [this, &call, &result] { result = call(m_host); }, Qt::BlockingQueuedConnection);
        return *result;
    }
}

void RelayHost::Message(const std::string& text) {
    OnUiThread([&](CommandHost& host) { host.Message(text); });
}

bool RelayHost::Question(const std::string& text) {
    return OnUiThread([&](CommandHost& host) { return host.Question(text); });
}

void RelayHost::Error(const std::string& text) {
    OnUiThread([&](CommandHost& host) { host.Error(text); });
}

FileFailureAnswer RelayHost::AskSkipFile(const std::string& text) {
    return OnUiThread([&](CommandHost& host) { return host.AskSkipFile(text); });
}

void RelayHost::Report(const std::string& text, const std::vector<std::string>& items) {
    OnUiThread([&](CommandHost& host) { host.Report(text, items); });
}

void RelayHost::StatusText(const std::string& text) {
    OnUiThread([&](CommandHost& host) { host.StatusText(text); });
}

void RelayHost::BusyCursor(bool on) {
    OnUiThread([&](CommandHost& host) { host.BusyCursor(on); });
}

void RelayHost::SetClipboardText(const std::string& text) {
    OnUiThread([&](CommandHost& host) { host.SetClipboardText(text); });
}

void RelayHost::SetViewAttached(bool attached) {
    OnUiThread([&](CommandHost& host) { host.SetViewAttached(attached); });
}

void RelayHost::ApplyProjectFilter() {
    OnUiThread([](CommandHost& host) { host.ApplyProjectFilter(); });
}

bool RelayHost::CancelRequested() {
    return OnUiThread([](CommandHost& host) { return host.CancelRequested(); });
}

void RelayHost::Progress(long long done, long long total, const std::string& current) {
    OnUiThread([&](CommandHost& host) { host.Progress(done, total, current); });
}

} // namespace wordloom
