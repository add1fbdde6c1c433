// Build tool: turns a translation catalogue (.ts) into the plain catalogue that wordloom-cli reads
// without Qt (see InstallTextCatalogue). Unfinished and vanished messages are left out, as lrelease
// leaves them out of the .qm. Usage: wordloom_ts_to_catalog IN.ts OUT.catalog
#include <QFile>
#include <QSaveFile>
#include <QXmlStreamReader>

#include <cstdio>

namespace {

void WriteField(QByteArray& out, const QString& text) {
    out += text.toUtf8();
    out += '\0';
}

// An element's text; the catalogue writes characters XML cannot hold (a CR) as <byte value="xd"/>.
QString ReadText(QXmlStreamReader& xml) {
    QString text;
    int depth = 1;
    while (depth > 0 && !xml.atEnd()) {
        switch (xml.readNext()) {
        case QXmlStreamReader::Characters:
            text += xml.text();
            break;
        case QXmlStreamReader::StartElement:
            ++depth;
            if (xml.name() == u"byte") {
                const QString value = xml.attributes().value(QStringLiteral("value")).toString();
                bool ok = false;
                const uint code =
                    value.startsWith(u'x') ? value.mid(1).toUInt(&ok, 16) : value.toUInt(&ok, 10);
                if (ok) {
                    text += QChar(char16_t(code));
                }
            }
            break;
        case QXmlStreamReader::EndElement:
            --depth;
            break;
        default:
            break;
        }
    }
    return text;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: wordloom_ts_to_catalog IN.ts OUT.catalog\n", stderr);
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "%s: %s\n", argv[1], qPrintable(in.errorString()));
        return 1;
    }
    QByteArray out("wordloom-catalog 1\n");
    QXmlStreamReader xml(&in);
    QString context;
    QString source;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) {
            continue;
        }
        const auto name = xml.name();
        if (name == u"name") {
            context = xml.readElementText();
        } else if (name == u"source") {
            source = ReadText(xml);
        } else if (name == u"translation") {
            const QString type = xml.attributes().value(QStringLiteral("type")).toString();
            const QString translation = ReadText(xml);
            if (type.isEmpty() && !translation.isEmpty()) {
                WriteField(out, context);
                WriteField(out, source);
                WriteField(out, translation);
            }
        }
    }
    if (xml.hasError()) {
        std::fprintf(stderr, "%s:%lld: %s\n", argv[1], static_cast<long long>(xml.lineNumber()),
                     qPrintable(xml.errorString()));
        return 1;
    }
    QSaveFile file(QString::fromLocal8Bit(argv[2]));
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit()) {
        std::fprintf(stderr, "%s: %s\n", argv[2], qPrintable(file.errorString()));
        return 1;
    }
    return 0;
}
