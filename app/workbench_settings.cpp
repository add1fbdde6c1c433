#include "app/workbench_settings.h"

namespace wordloom {

WorkbenchSettings::WorkbenchSettings()
    : m_store(QStringLiteral("VEL Software"), QStringLiteral("Wordloom")) {}

int WorkbenchSettings::ReadInt(const QString& key, int fallback) const {
    bool ok = false;
    const int value = m_store.value(key).toString().trimmed().toInt(&ok);
    return ok ? value : fallback;
}

StoredSettings WorkbenchSettings::Read() const {
    const StoredSettings defaults;
    StoredSettings values;
    values.lastProject = m_store.value(QStringLiteral("LastProject")).toString();
    values.language = ReadInt(QStringLiteral("Language"), defaults.language);
    values.translation = ReadInt(QStringLiteral("Translation"), defaults.translation);
    values.includePas = ReadInt(QStringLiteral("IncludePas"), 1) != 0;
    values.leftCharset = ReadInt(QStringLiteral("LeftCharset"), defaults.leftCharset);
    values.rightCharset = ReadInt(QStringLiteral("RightCharset"), defaults.rightCharset);
    values.keepTextForms = m_store.value(QStringLiteral("FormFormat")).toString() == QStringLiteral("keep");
    return values;
}

void WorkbenchSettings::Write(const StoredSettings& values) {
    m_store.setValue(QStringLiteral("LastProject"), values.lastProject);
    m_store.setValue(QStringLiteral("Language"), QString::number(values.language));
    m_store.setValue(QStringLiteral("Translation"), QString::number(values.translation));
    m_store.setValue(QStringLiteral("IncludePas"),
                     values.includePas ? QStringLiteral("1") : QStringLiteral("0"));
    m_store.setValue(QStringLiteral("LeftCharset"), QString::number(values.leftCharset));
    m_store.setValue(QStringLiteral("RightCharset"), QString::number(values.rightCharset));
    m_store.setValue(QStringLiteral("FormFormat"),
                     values.keepTextForms ? QStringLiteral("keep") : QStringLiteral("binary"));
    m_store.sync();
}

WindowState WorkbenchSettings::ReadWindow() const {
    WindowState state;
    const auto bytes = [this](const char* key) {
        return QByteArray::fromBase64(m_store.value(QLatin1String(key)).toString().toLatin1());
    };
    state.geometry = bytes("Window/Geometry");
    state.docks = bytes("Window/State");
    bool ok = false;
    const double share = m_store.value(QStringLiteral("Window/LeftShare")).toString().toDouble(&ok);
    if (ok && share > 0 && share < 1) {
        state.leftShare = share;
    }
    state.order = m_store.value(QStringLiteral("Window/Order")).toString();
    state.projectFilter = m_store.value(QStringLiteral("Window/ProjectFilter")).toString();
    state.recordFilter = ReadInt(QStringLiteral("Window/RecordFilter"), 0);
    return state;
}

void WorkbenchSettings::WriteWindow(const WindowState& state) {
    // Text values like every other setting, so the store stays readable and editable by hand.
    m_store.setValue(QStringLiteral("Window/Geometry"), QString::fromLatin1(state.geometry.toBase64()));
    m_store.setValue(QStringLiteral("Window/State"), QString::fromLatin1(state.docks.toBase64()));
    m_store.setValue(QStringLiteral("Window/LeftShare"), QString::number(state.leftShare));
    m_store.setValue(QStringLiteral("Window/Order"), state.order);
    m_store.setValue(QStringLiteral("Window/ProjectFilter"), state.projectFilter);
    m_store.setValue(QStringLiteral("Window/RecordFilter"), QString::number(state.recordFilter));
    m_store.sync();
}

} // namespace wordloom
