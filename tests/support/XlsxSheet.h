#pragma once

#include <QProcess>
#include <QString>
#include <QXmlStreamReader>
#include <map>
#include <utility>

namespace talvor::test {

// The first sheet of an .xlsx file as read back with unzip: each cell by its reference
// ("B3") with its type attribute ("n" when absent, "inlineStr", "s") and its text. A date is
// a number whose style is given, so the style index is kept too.
struct XlsxCell {
    QString type;
    QString text;
    int style = 0;
};

struct XlsxSheet {
    std::map<QString, XlsxCell> cells;
    QString dimension;  // "A1:C4"
    QString styles;     // xl/styles.xml as text

    static QByteArray unzip(const QString& path, const QString& member) {
        QProcess p;
        p.start(QStringLiteral("unzip"), {QStringLiteral("-p"), path, member});
        p.waitForFinished(60000);
        return p.readAllStandardOutput();
    }

    explicit XlsxSheet(const QString& path) {
        styles = QString::fromUtf8(unzip(path, QStringLiteral("xl/styles.xml")));
        QXmlStreamReader xml(unzip(path, QStringLiteral("xl/worksheets/sheet1.xml")));
        QString ref;
        while (!xml.atEnd()) {
            if (!xml.readNextStartElement()) continue;
            const auto a = xml.attributes();
            if (xml.name() == u"dimension") {
                dimension = a.value(QStringLiteral("ref")).toString();
            } else if (xml.name() == u"c") {
                ref = a.value(QStringLiteral("r")).toString();
                cells[ref] = {a.hasAttribute(QStringLiteral("t"))
                                  ? a.value(QStringLiteral("t")).toString()
                                  : QStringLiteral("n"),
                              {},
                              a.value(QStringLiteral("s")).toInt()};
            } else if (xml.name() == u"v" || xml.name() == u"t") {
                cells[ref].text = xml.readElementText();
            }
        }
    }

    QString text(const QString& ref) const {
        const auto it = cells.find(ref);
        return it == cells.end() ? QString() : it->second.text;
    }
    QString type(const QString& ref) const {
        const auto it = cells.find(ref);
        return it == cells.end() ? QString() : it->second.type;
    }
};

}  // namespace talvor::test
