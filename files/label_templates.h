#pragma once

#include "files/label_sheet.h"

#include <QByteArrayView>
#include <QHash>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <vector>

// The label-sheet database of the system's label programs: XML files of
// templates (one per maker, mostly) and a file of paper sizes. Only sheets of
// rectangular labels on paper this program prints on are offered.

struct PaperSize {
    QString id;
    QSizeF mm;
};

// Reads paper-sizes.xml (Paper-size id/width/height). Entries with unreadable
// sizes are left out; a broken file gives the entries before the fault.
std::vector<PaperSize> ReadPaperSizes(QByteArrayView xml);

// A length with its unit: mm, cm, in, pt or pc; a bare number is in points
// (as the database means it). nullopt when unreadable, negative, NaN or
// infinite.
std::optional<double> ParseLengthMm(QStringView text);

// A template that is another part of the same maker under its own number:
// <Template brand="B" part="P" equiv="Q"/>.
struct LabelSheetEquivalent {
    QString brand, part, description;
    QString sameAs;  // the part it takes the geometry from
};

struct LabelTemplateFile {
    std::vector<LabelSheet> sheets;  // the usable ones, in file order
    std::vector<LabelSheetEquivalent> equivalents;
    int skipped = 0;      // templates not offered (other shapes, other paper, unusable geometry)
    bool broken = false;  // the XML was not well formed; sheets read before the fault are kept
    QString error;        // why the file was broken or not a template file
};

// Reads one templates file. The paper sizes resolve the templates' size ids.
LabelTemplateFile ReadLabelTemplates(QByteArrayView xml, const std::vector<PaperSize> &papers);

class LabelSheetDatabase {
public:
    // Reads every *templates.xml in the folders (paper-sizes.xml from the
    // first folder holding it; a built-in A4/A5 fallback when none), then
    // assembles them as FromFiles does.
    static LabelSheetDatabase Load(const QStringList &folders);
    // Resolves the equivalents (same brand, part = sameAs, also through other
    // equivalents; the equivalent keeps its own part and description, takes
    // the geometry), drops duplicates (same brand and part: the first sheet
    // read wins, sheets of their own before equivalents) and sorts by brand,
    // then part, numbers within them by value.
    static LabelSheetDatabase FromFiles(const std::vector<LabelTemplateFile> &files);
    // "libglabels-3.0/templates" under the XDG data dirs, the user's first.
    static QStringList SystemFolders();
    // The system database, loaded on the first call (from the GUI thread).
    static const LabelSheetDatabase &System();

    const std::vector<LabelSheet> &Sheets() const { return m_sheets; }
    const LabelSheet *Find(const QString &brand, const QString &part) const;
    int FilesRead() const { return m_filesRead; }
    int BrokenFiles() const { return m_brokenFiles; }
    // Templates read but not offered, duplicates and unresolved equivalents included.
    int SkippedTemplates() const { return m_skipped; }
    double LoadMs() const { return m_loadMs; }

private:
    std::vector<LabelSheet> m_sheets;
    QHash<QString, qsizetype> m_index;  // brand + U+0000 + part
    int m_filesRead = 0;
    int m_brokenFiles = 0;
    int m_skipped = 0;
    double m_loadMs = 0;
};
