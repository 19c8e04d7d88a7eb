#include "common/core/TableExport.h"

#include <xlsxwriter.h>

#include <QAbstractItemModel>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryFile>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "datamodel/DisplayFormat.h"
#include "datamodel/Error.h"

namespace talvor {

namespace {

// One value of the table, sorted by what a spreadsheet should make of it.
struct Cell {
    enum class Kind { Empty, Number, Date, Stamp, Text };
    Kind kind = Kind::Empty;
    QString shown;
    double number = 0;
    QDate date;
    QTime time{0, 0};
};

// Numbers keep the precision the grid shows, so that sums in the sheet match the screen.
Cell cellAt(const QAbstractItemModel& model, int row, int column) {
    const QModelIndex index = model.index(row, column);
    const QVariant value = index.data(Qt::EditRole);
    Cell cell;
    cell.shown = index.data(Qt::DisplayRole).toString();
    if (cell.shown.isEmpty()) return cell;
    if (value.typeId() == QMetaType::QDate) {
        cell.kind = Cell::Kind::Date;
        cell.date = value.toDate();
    } else if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime stamp = value.toDateTime();
        cell.kind = Cell::Kind::Stamp;
        cell.date = stamp.date();
        cell.time = stamp.time();
    } else if (isNumeric(value)) {
        bool ok = false;
        cell.number = cell.shown.toDouble(&ok);
        if (!ok) cell.number = value.toDouble();
        cell.kind = Cell::Kind::Number;
    } else {
        cell.kind = Cell::Kind::Text;
    }
    return cell;
}

QString title(const QAbstractItemModel& model, int column) {
    return model.headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

QString writeError(const QString& path, const QString& reason) {
    return QStringLiteral("无法写入文件“%1”：%2").arg(QDir::toNativeSeparators(path), reason);
}

// A fresh file beside the target that takes its name on commit() and is removed otherwise.
class ReplacingFile {
  public:
    explicit ReplacingFile(const QString& target) : target_(target) {
        QTemporaryFile file(target + QStringLiteral(".XXXXXX"));
        file.setAutoRemove(false);
        if (!file.open()) throw Error(writeError(target, file.errorString()));
        // A temporary file is private to its owner; the export is an ordinary document.
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                            QFileDevice::ReadGroup | QFileDevice::ReadOther);
        temporary_ = file.fileName();
    }
    ~ReplacingFile() {
        if (!committed_) QFile::remove(temporary_);
    }
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    const QString& path() const { return temporary_; }

    // rename() replaces an existing target in one step, so the name never shows a part.
    void commit() {
        if (std::rename(QFile::encodeName(temporary_).constData(),
                        QFile::encodeName(target_).constData()) != 0)
            throw Error(writeError(target_, QString::fromLocal8Bit(std::strerror(errno))));
        committed_ = true;
    }

  private:
    QString target_;
    QString temporary_;
    bool committed_ = false;
};

Cell textCell(const QString& text) {
    Cell cell;
    cell.kind = Cell::Kind::Text;
    cell.shown = text;
    return cell;
}

void appendCsvField(QByteArray& out, const Cell& cell) {
    switch (cell.kind) {
        case Cell::Kind::Empty:
            return;
        case Cell::Kind::Date:
            out += cell.date.toString(Qt::ISODate).toLatin1();
            return;
        case Cell::Kind::Stamp:
            out += (cell.date.toString(Qt::ISODate) + u' ' + cell.time.toString(Qt::ISODate))
                       .toLatin1();
            return;
        case Cell::Kind::Number:
            out += cell.shown.toUtf8();
            return;
        case Cell::Kind::Text:
            break;
    }
    QByteArray text = cell.shown.toUtf8();
    if (text.contains(',') || text.contains('"') || text.contains('\n') || text.contains('\r')) {
        text.replace('"', "\"\"");
        text = '"' + text + '"';
    }
    out += text;
}

template <typename CellOf>
void appendCsvLine(QByteArray& out, size_t count, CellOf cellOf) {
    for (size_t i = 0; i < count; ++i) {
        if (i > 0) out += ',';
        appendCsvField(out, cellOf(i));
    }
    out += "\r\n";
}

void writeCsv(const QAbstractItemModel& model, const std::vector<int>& columns, const QString& path,
              Progress& progress) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly)) throw Error(file.errorString());
    QByteArray out("\xEF\xBB\xBF");
    appendCsvLine(out, columns.size(),
                  [&](size_t i) { return textCell(title(model, columns[i])); });
    const int rows = model.rowCount();
    for (int r = 0; r < rows; ++r) {
        appendCsvLine(out, columns.size(), [&](size_t i) { return cellAt(model, r, columns[i]); });
        if (out.size() >= (1 << 20)) {
            if (file.write(out) != out.size()) throw Error(file.errorString());
            out.clear();
        }
        progress.advance(r + 1, rows);
    }
    if (file.write(out) != out.size() || !file.flush()) throw Error(file.errorString());
    file.close();
    if (file.error() != QFileDevice::NoError) throw Error(file.errorString());
}

lxw_datetime excelStamp(const QDate& d, const QTime& t) {
    return {d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second() + t.msec() / 1000.0};
}

class XlsxWriter {
  public:
    explicit XlsxWriter(const QString& path) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE;
        book_ = workbook_new_opt(QFile::encodeName(path).constData(), &options);
        if (!book_) throw Error(QStringLiteral("无法建立工作簿"));
        sheet_ = workbook_add_worksheet(book_, nullptr);
        bold_ = workbook_add_format(book_);
        format_set_bold(bold_);
        date_ = workbook_add_format(book_);
        format_set_num_format(date_, "yyyy-mm-dd");
        stamp_ = workbook_add_format(book_);
        format_set_num_format(stamp_, "yyyy-mm-dd hh:mm:ss");
    }
    ~XlsxWriter() {
        if (book_) lxw_workbook_free(book_);
    }
    XlsxWriter(const XlsxWriter&) = delete;
    XlsxWriter& operator=(const XlsxWriter&) = delete;

    void title(int column, const QString& text) {
        const double width = std::max(12, gbkWidth(text) + 2);
        check(worksheet_set_column(sheet_, lxw_col_t(column), lxw_col_t(column), width, nullptr));
        check(
            worksheet_write_string(sheet_, 0, lxw_col_t(column), text.toUtf8().constData(), bold_));
    }

    void cell(lxw_row_t row, int column, const Cell& cell) {
        const auto col = lxw_col_t(column);
        switch (cell.kind) {
            case Cell::Kind::Empty:
                return;
            case Cell::Kind::Number:
                return check(worksheet_write_number(sheet_, row, col, cell.number, nullptr));
            case Cell::Kind::Date:
            case Cell::Kind::Stamp:
                // Excel's calendar begins in 1900; an older date stays the text shown.
                if (cell.date.year() >= 1900) {
                    lxw_datetime stamp = excelStamp(cell.date, cell.time);
                    return check(worksheet_write_datetime(
                        sheet_, row, col, &stamp, cell.kind == Cell::Kind::Date ? date_ : stamp_));
                }
                break;
            case Cell::Kind::Text:
                break;
        }
        check(worksheet_write_string(sheet_, row, col, cell.shown.toUtf8().constData(), nullptr));
    }

    void close() {
        const lxw_error result = workbook_close(book_);
        book_ = nullptr;
        check(result);
    }

  private:
    static void check(lxw_error result) {
        if (result != LXW_NO_ERROR) throw Error(QString::fromUtf8(lxw_strerror(result)));
    }

    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* bold_ = nullptr;
    lxw_format* date_ = nullptr;
    lxw_format* stamp_ = nullptr;
};

void writeXlsx(const QAbstractItemModel& model, const std::vector<int>& columns,
               const QString& path, Progress& progress) {
    const int rows = model.rowCount();
    if (rows >= int(LXW_ROW_MAX))
        throw Error(QStringLiteral("共%1行，超过Excel工作表的%2行上限，请导出CSV")
                        .arg(rows)
                        .arg(LXW_ROW_MAX - 1));
    XlsxWriter book(path);
    for (size_t i = 0; i < columns.size(); ++i) book.title(int(i), title(model, columns[i]));
    for (int r = 0; r < rows; ++r) {
        for (size_t i = 0; i < columns.size(); ++i)
            book.cell(lxw_row_t(r + 1), int(i), cellAt(model, r, columns[i]));
        progress.advance(r + 1, rows);
    }
    book.close();
}

}  // namespace

void exportTable(const QAbstractItemModel& model, const std::vector<int>& columns,
                 const QString& path, ExportFormat format, Progress& progress) {
    ReplacingFile file(path);
    try {
        if (format == ExportFormat::Xlsx)
            writeXlsx(model, columns, file.path(), progress);
        else
            writeCsv(model, columns, file.path(), progress);
    } catch (const Error& e) {
        throw Error(writeError(path, e.message()));
    }
    file.commit();
}

}  // namespace talvor
