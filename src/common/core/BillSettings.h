#pragma once

#include <QString>

namespace talvor {

// The printing settings of system.ini as bill printing uses them for the rest of the run.
// An empty page type means the layouts keep the paper they were designed with.
struct BillSettings {
    QString companyName;
    QString billBottom;
    int lineCount = 0;
    QString pageType;
    int pageWidth = 0;
    int pageLength = 0;
};

BillSettings& billSettings();

// Every login attempt reloads the company name, the bill footer and the line count; a line
// count that is not an integer throws ConversionError once the two texts are set.
void loadLoginSettings(BillSettings& settings, const QString& iniPath);

// What the basic-settings screen shows of the paper and the line count.
struct PaperSettings {
    QString pageType;
    int pageWidth = 0;
    int pageLength = 0;
    QString lineCount;
};

PaperSettings readPaperSettings(const QString& iniPath);

// The texts of the basic-settings boxes that are saved to system.ini.
struct PrintSettingsEntry {
    QString companyName;
    QString billBottom;
    QString lineCount;
    QString pageType;
    QString pageWidth;
    QString pageLength;
};

// Sets all six members of settings, then writes the file. A line count, width or length that is
// not an integer throws ConversionError before anything is set or written; a refused write
// throws IniWriteError with the members already set.
void savePrintSettings(const PrintSettingsEntry& entry, const QString& iniPath,
                       BillSettings& settings);

// The database last opened, recorded after the first successful connection of a run.
void writeDataSource(const QString& iniPath, const QString& databasePath);

// The database server the program works on: key server of section nettype, a libpq
// connection string. Empty when the program keeps its data in the local file.
QString serverConnection(const QString& iniPath);

}  // namespace talvor
