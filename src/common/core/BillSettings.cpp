#include "common/core/BillSettings.h"

#include "common/core/IniFile.h"
#include "common/core/Routines.h"

namespace talvor {

namespace {

const QString billData = QStringLiteral("billdata");
const QString pageSize = QStringLiteral("pagesize");

BillSettings settingsFrom(const PrintSettingsEntry& entry) {
    return {trimmedInput(entry.companyName), trimmedInput(entry.billBottom),
            textToInteger(entry.lineCount),  trimmedInput(entry.pageType),
            textToInteger(entry.pageWidth),  textToInteger(entry.pageLength)};
}

}  // namespace

BillSettings& billSettings() {
    static BillSettings settings;
    return settings;
}

void loadLoginSettings(BillSettings& settings, const QString& iniPath) {
    const IniFile ini(iniPath);
    settings.companyName = ini.readString(billData, QStringLiteral("company_name"), QString());
    settings.billBottom = ini.readString(billData, QStringLiteral("bill_bottom"), QString());
    settings.lineCount =
        textToInteger(ini.readString(billData, QStringLiteral("line_count"), QStringLiteral("0")));
}

PaperSettings readPaperSettings(const QString& iniPath) {
    const IniFile ini(iniPath);
    return {ini.readString(pageSize, QStringLiteral("page_type"), QStringLiteral("A4")),
            ini.readInteger(pageSize, QStringLiteral("page_width"), 210),
            ini.readInteger(pageSize, QStringLiteral("page_length"), 297),
            ini.readString(billData, QStringLiteral("line_count"), QStringLiteral("0"))};
}

void savePrintSettings(const PrintSettingsEntry& entry, const QString& iniPath,
                       BillSettings& settings) {
    settings = settingsFrom(entry);
    const IniFile ini(iniPath);
    ini.writeString(billData, QStringLiteral("company_name"), entry.companyName);
    ini.writeString(billData, QStringLiteral("bill_bottom"), entry.billBottom);
    ini.writeString(billData, QStringLiteral("line_count"), entry.lineCount);
    ini.writeString(pageSize, QStringLiteral("page_type"), entry.pageType);
    ini.writeInteger(pageSize, QStringLiteral("page_width"), settings.pageWidth);
    ini.writeInteger(pageSize, QStringLiteral("page_length"), settings.pageLength);
}

QString serverConnection(const QString& iniPath) {
    return IniFile(iniPath)
        .readString(QStringLiteral("nettype"), QStringLiteral("server"), QString())
        .trimmed();
}

void writeDataSource(const QString& iniPath, const QString& databasePath) {
    IniFile(iniPath).writeString(QStringLiteral("nettype"), QStringLiteral("datasource"),
                                 databasePath);
}

}  // namespace talvor
