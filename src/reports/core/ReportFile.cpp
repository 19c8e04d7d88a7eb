#include "reports/core/ReportFile.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

namespace talvor::report {

namespace {

constexpr char kMagic[] = "TALVOR-REPORT";
constexpr quint16 kVersion = 1;

ReportError damaged() { return ReportError(QStringLiteral("报表文件已损坏")); }

// Every enum is written as one byte and read back only when it names a known value.
template <typename E>
void put(QDataStream& out, E value) {
    out << quint8(value);
}

template <typename E>
E take(QDataStream& in, E last) {
    quint8 raw = 0;
    in >> raw;
    if (raw > quint8(last)) throw damaged();
    return E(raw);
}

void put(QDataStream& out, const QRectF& r) { out << r.x() << r.y() << r.width() << r.height(); }

QRectF takeRect(QDataStream& in) {
    double x = 0, y = 0, w = 0, h = 0;
    in >> x >> y >> w >> h;
    return {x, y, w, h};
}

// A count can never exceed the bytes left, which keeps a damaged count from allocating.
qint32 takeCount(QDataStream& in) {
    qint32 n = 0;
    in >> n;
    if (in.status() != QDataStream::Ok || n < 0 || n > in.device()->bytesAvailable())
        throw damaged();
    return n;
}

void writePage(QDataStream& out, const PreparedPage& page) {
    out << qint32(page.bands.size());
    for (const PlacedBand& b : page.bands) {
        put(out, b.kind);
        out << qint32(b.record) << b.topMm;
    }
    out << qint32(page.shapes.size());
    for (const PreparedShape& s : page.shapes) {
        put(out, s.shape);
        put(out, s.rectMm);
        out << s.penMm;
    }
    out << qint32(page.texts.size());
    for (const PreparedText& t : page.texts) {
        put(out, t.rectMm);
        out << t.text << qint32(t.font);
        put(out, t.align);
        out << t.stretch;
    }
}

PreparedPage readPage(QDataStream& in, int fonts) {
    PreparedPage page;
    for (qint32 n = takeCount(in); n > 0; --n) {
        PlacedBand b;
        b.kind = take(in, BandKind::PageFooter);
        qint32 record = 0;
        in >> record >> b.topMm;
        b.record = record;
        page.bands.push_back(b);
    }
    for (qint32 n = takeCount(in); n > 0; --n) {
        PreparedShape s;
        s.shape = take(in, ShapeKind::VerticalRule);
        s.rectMm = takeRect(in);
        in >> s.penMm;
        page.shapes.push_back(s);
    }
    for (qint32 n = takeCount(in); n > 0; --n) {
        PreparedText t;
        t.rectMm = takeRect(in);
        qint32 font = 0;
        in >> t.text >> font;
        if (font < 0 || font >= fonts) throw damaged();
        t.font = font;
        t.align = take(in, Align::Right);
        in >> t.stretch;
        page.texts.push_back(std::move(t));
    }
    return page;
}

void writeSetup(QDataStream& out, const PreparedReport& report) {
    out << report.layout;
    put(out, report.page.paper);
    out << report.page.sizeMm << report.page.marginsMm;
    out << qint32(report.fonts.size());
    for (const FontSpec& f : report.fonts) out << f.family << f.pointSize << f.bold;
}

void readSetup(QDataStream& in, PreparedReport& report) {
    in >> report.layout;
    report.page.paper = take(in, Paper::PrinterDefault);
    in >> report.page.sizeMm >> report.page.marginsMm;
    for (qint32 n = takeCount(in); n > 0; --n) {
        FontSpec f;
        in >> f.family >> f.pointSize >> f.bold;
        report.fonts.push_back(f);
    }
}

void checkHeader(QDataStream& in) {
    QByteArray magic(sizeof kMagic, Qt::Uninitialized);
    if (in.readRawData(magic.data(), int(magic.size())) != magic.size() ||
        magic != QByteArray(kMagic, sizeof kMagic))
        throw ReportError(QStringLiteral("不是报表文件"));
    quint16 version = 0;
    in >> version;
    if (version > kVersion) throw ReportError(QStringLiteral("报表文件来自较新的版本，无法打开"));
}

}  // namespace

void writeReport(const PreparedReport& report, QIODevice& device) {
    QDataStream out(&device);
    out.setVersion(QDataStream::Qt_6_0);
    out.writeRawData(kMagic, sizeof kMagic);
    out << kVersion;
    writeSetup(out, report);
    out << qint32(report.pages.size());
    for (const PreparedPage& page : report.pages) writePage(out, page);
}

PreparedReport readReport(QIODevice& device) {
    QDataStream in(&device);
    in.setVersion(QDataStream::Qt_6_0);
    checkHeader(in);
    PreparedReport report;
    readSetup(in, report);
    const qint32 pages = takeCount(in);
    if (pages == 0) throw damaged();
    for (qint32 i = 0; i < pages; ++i)
        report.pages.push_back(readPage(in, int(report.fonts.size())));
    if (in.status() != QDataStream::Ok) throw damaged();
    return report;
}

void saveReport(const PreparedReport& report, const QString& path) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw ReportError(QStringLiteral("无法写入文件 %1").arg(path));
    writeReport(report, file);
    if (!file.commit()) throw ReportError(QStringLiteral("无法写入文件 %1").arg(path));
}

PreparedReport loadReport(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ReportError(QStringLiteral("无法打开文件 %1").arg(path));
    return readReport(file);
}

}  // namespace talvor::report
