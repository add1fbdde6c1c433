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

} // namespace wordloom
