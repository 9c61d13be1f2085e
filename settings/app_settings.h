#pragma once

#include <QString>
#include <QStringList>
#include <array>

// The user's own data, printed as the sender on postcards.
struct SenderInfo {
    QString Name, Tel, Mail, Yubin, Ju1, Ju2;
};

// The persistent settings, held in memory for the whole run.
// Before LoadSettings every number is 0 and every string empty.
struct SettingsRecord {
    qint16 RecentMax = 0;
    qint16 RecentCount = 0;
    QStringList RecentFiles;
    // Japan Post's KEN_ALL.CSV the user chose for postal codes; empty for
    // the dictionary of the system.
    QString PostalDataFile;
    std::array<QString, 2> ListColor;      // [0] background, [1] text; colour numbers as text
    QString ListFontName;
    std::array<QString, 4> PrintFontName;  // index = printout kind - 1
    qint16 HagakiOffsetMm = 0;
    // Print position adjustment per printout (index = kind - 1), in tenths
    // of a millimetre: right and down are positive.
    std::array<qint16, 4> PrintOffsetX{};
    std::array<qint16, 4> PrintOffsetY{};
    // How postcards and labels address the recipient: the number of an
    // HonorificMode (0 様 … 5 なし), and whether joint names (連名) print
    // side by side.
    qint16 Honorific = 0;
    bool JointNames = false;
    // The label sheet the labels print on, by the database's maker and part
    // number; both empty for the standard 2 × 7 sheet.
    QString LabelBrand, LabelPart;
    SenderInfo Sender;
};

// The furthest a printout can be moved each way, in tenths of a millimetre.
inline constexpr qint16 PrintOffsetLimit = 100;
