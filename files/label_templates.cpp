#include "files/label_templates.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QStandardPaths>
#include <QXmlStreamReader>

#include <algorithm>
#include <cmath>

using namespace Qt::Literals::StringLiterals;

namespace {

// The papers this program prints labels on, portrait.
struct KnownPaper {
    QStringView name;
    double width, height;
    bool isoB;  // the ISO B size; Japanese sheets called B5 or B4 are JIS sizes
};

constexpr KnownPaper KnownPapers[] = {
    {u"A4", 210, 297, false}, {u"A5", 148, 210, false}, {u"B5", 182, 257, false}, {u"B4", 257, 364, false},
    {u"B5", 176, 250, true},  {u"B4", 250, 353, true},  {u"はがき", 100, 148, false},
};

// Paper sizes in the database are rounded from inches or points.
constexpr double PaperTolerance = 0.5;
// Sheets whose labels bleed off the paper are cut that way; more than this is
// a wrong template that would print off the sheet.
constexpr double OutsideTolerance = 1.0;
// Neighbouring labels in the database overlap by rounding; more than this each
// way would print one address over the next.
constexpr double OverlapTolerance = 1.0;
// Far beyond any sheet sold; keeps a hostile file from costing time and memory.
constexpr long long MaxLabels = 1000;
// Equivalents naming equivalents: real chains are one step long.
constexpr int MaxEquivalentSteps = 32;
// The largest templates file of the database is a few hundred kilobytes.
constexpr qint64 MaxFileBytes = 16 * 1024 * 1024;

const KnownPaper *MatchPaper(QSizeF mm)
{
    for (const KnownPaper &paper : KnownPapers) {
        if (std::abs(mm.width() - paper.width) <= PaperTolerance
            && std::abs(mm.height() - paper.height) <= PaperTolerance)
            return &paper;
    }
    return nullptr;
}

const KnownPaper *JisSizeOf(const KnownPaper *paper)
{
    for (const KnownPaper &other : KnownPapers) {
        if (!other.isoB && other.name == paper->name)
            return &other;
    }
    return nullptr;
}

std::vector<PaperSize> BuiltInPapers()
{
    return {{u"A4"_s, QSizeF(210, 297)}, {u"A5"_s, QSizeF(148, 210)}};
}

// A missing or blank optional length keeps its default (the database has
// x0="" meaning 0); a required one must be there. False when unusable.
bool ReadLength(const QXmlStreamAttributes &attributes, QLatin1StringView name, double &into,
                bool required = false)
{
    const QStringView text = attributes.value(name);
    if (text.trimmed().isEmpty())
        return !required;
    const std::optional<double> mm = ParseLengthMm(text);
    if (!mm)
        return false;
    into = *mm;
    return true;
}

// A count of labels across or down: 1 when missing, else a whole number of at least 1.
bool ReadCount(const QXmlStreamAttributes &attributes, QLatin1StringView name, int &into)
{
    const QStringView text = attributes.value(name).trimmed();
    if (text.isEmpty())
        return true;
    bool ok = false;
    const int count = text.toInt(&ok);
    if (!ok || count < 1)
        return false;
    into = count;
    return true;
}

// The template's paper: a size id of the paper list, else its own width and
// height (size="Other").
std::optional<QSizeF> TemplatePaper(const QXmlStreamAttributes &attributes, const std::vector<PaperSize> &papers)
{
    const QStringView id = attributes.value("size"_L1);
    for (const PaperSize &paper : papers) {
        if (paper.id == id)
            return paper.mm;
    }
    double width = 0, height = 0;
    if (!ReadLength(attributes, "width"_L1, width, true) || !ReadLength(attributes, "height"_L1, height, true))
        return std::nullopt;
    return QSizeF(width, height);
}

// Reads a Label-rectangle element up to its end. False when its geometry is
// unreadable or holds more labels than any sheet.
bool ReadRectangle(QXmlStreamReader &xml, LabelSheet &sheet)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    bool usable = ReadLength(attributes, "width"_L1, sheet.widthMm, true)
                  && ReadLength(attributes, "height"_L1, sheet.heightMm, true)
                  && ReadLength(attributes, "round"_L1, sheet.roundMm);
    long long labels = 0;
    bool marginRead = false;
    while (xml.readNextStartElement()) {
        if (usable && xml.name() == "Layout"_L1) {
            const QXmlStreamAttributes a = xml.attributes();
            LabelSheetLayout layout;
            usable = ReadCount(a, "nx"_L1, layout.nx) && ReadCount(a, "ny"_L1, layout.ny)
                     && ReadLength(a, "x0"_L1, layout.x0) && ReadLength(a, "y0"_L1, layout.y0)
                     && ReadLength(a, "dx"_L1, layout.dx) && ReadLength(a, "dy"_L1, layout.dy);
            labels += (long long)layout.nx * layout.ny;
            // Checked before storing, so a file of many layouts stays small.
            usable = usable && labels <= MaxLabels;
            if (usable)
                sheet.layouts.push_back(layout);
        } else if (usable && !marginRead && xml.name() == "Markup-margin"_L1) {
            marginRead = true;
            usable = ReadLength(xml.attributes(), "size"_L1, sheet.marginMm);
        }
        xml.skipCurrentElement();
    }
    return usable && !sheet.layouts.empty();
}

bool FitsOn(const LabelSheet &sheet, QSizeF paper)
{
    // Positions are never negative, so only the far edges can stick out.
    for (const LabelSheetLayout &layout : sheet.layouts) {
        const double right = layout.x0 + (layout.nx - 1) * layout.dx + sheet.widthMm;
        const double bottom = layout.y0 + (layout.ny - 1) * layout.dy + sheet.heightMm;
        if (right > paper.width() + OutsideTolerance || bottom > paper.height() + OutsideTolerance)
            return false;
    }
    return true;
}

bool LabelsOverlap(const LabelSheet &sheet)
{
    // Overlapping by more than the tolerance both ways: closer than this.
    const double width = sheet.widthMm - OverlapTolerance - 1e-6;
    const double height = sheet.heightMm - OverlapTolerance - 1e-6;
    if (width <= 0 || height <= 0)
        return false;
    std::vector<QPointF> corners;
    for (const LabelSheetLayout &layout : sheet.layouts) {
        for (int iy = 0; iy < layout.ny; ++iy) {
            for (int ix = 0; ix < layout.nx; ++ix)
                corners.emplace_back(layout.x0 + ix * layout.dx, layout.y0 + iy * layout.dy);
        }
    }
    std::sort(corners.begin(), corners.end(), [](QPointF a, QPointF b) { return a.y() < b.y(); });
    for (size_t i = 0; i < corners.size(); ++i) {
        for (size_t j = i + 1; j < corners.size() && corners[j].y() - corners[i].y() < height; ++j) {
            if (std::abs(corners[j].x() - corners[i].x()) < width)
                return true;
        }
    }
    return false;
}

// Settles the sheet's paper and checks what a printout relies on.
bool Settle(LabelSheet &sheet, QSizeF paperMm)
{
    const KnownPaper *paper = MatchPaper(paperMm);
    if (!paper || !(sheet.widthMm > 0) || !(sheet.heightMm > 0))
        return false;
    if (2 * sheet.marginMm >= std::min(sheet.widthMm, sheet.heightMm))
        return false;
    QSizeF size(paper->width, paper->height);
    if (!FitsOn(sheet, size)) {
        // The database names JIS B4 sheets by the ISO id.
        paper = paper->isoB ? JisSizeOf(paper) : nullptr;
        if (!paper)
            return false;
        size = QSizeF(paper->width, paper->height);
        if (!FitsOn(sheet, size))
            return false;
    }
    if (LabelsOverlap(sheet))
        return false;
    sheet.paperName = paper->name.toString();
    sheet.paperMm = size;
    sheet.roundMm = std::min(sheet.roundMm, std::min(sheet.widthMm, sheet.heightMm) / 2);
    return true;
}

// Reads a Template element up to its end into the file's sheets,
// equivalents or skipped count. A template cut short by a fault counts for
// nothing.
void ReadTemplate(QXmlStreamReader &xml, const std::vector<PaperSize> &papers, LabelTemplateFile &file)
{
    const QXmlStreamAttributes attributes = xml.attributes();
    LabelSheet sheet;
    sheet.brand = attributes.value("brand"_L1).trimmed().toString();
    sheet.part = attributes.value("part"_L1).trimmed().toString();
    sheet.description = attributes.value("_description"_L1).toString();
    if (sheet.description.isEmpty())
        sheet.description = attributes.value("description"_L1).toString();
    const QString sameAs = attributes.value("equiv"_L1).trimmed().toString();
    const bool named = !sheet.brand.isEmpty() && !sheet.part.isEmpty();

    if (!sameAs.isEmpty()) {
        xml.skipCurrentElement();
        if (xml.hasError())
            return;
        if (named)
            file.equivalents.push_back({sheet.brand, sheet.part, sheet.description, sameAs});
        else
            ++file.skipped;
        return;
    }

    const std::optional<QSizeF> paper = TemplatePaper(attributes, papers);
    bool shapeRead = false;
    bool usable = named && paper.has_value();
    while (xml.readNextStartElement()) {
        if (!xml.name().startsWith("Label-"_L1)) {
            xml.skipCurrentElement();
        } else if (shapeRead) {
            // One label shape a template; a second one is not drawn.
            xml.skipCurrentElement();
        } else {
            shapeRead = true;
            if (xml.name() == "Label-rectangle"_L1) {
                usable = ReadRectangle(xml, sheet) && usable;
            } else {
                usable = false;
                xml.skipCurrentElement();
            }
        }
    }
    if (xml.hasError())
        return;
    if (shapeRead && usable && Settle(sheet, *paper))
        file.sheets.push_back(std::move(sheet));
    else
        ++file.skipped;
}

QString FaultText(const QXmlStreamReader &xml)
{
    return u"XMLの%1行目に誤りがあります：%2"_s.arg(xml.lineNumber()).arg(xml.errorString());
}

// Reads a whole file, or nothing when it cannot be read or is absurdly large.
std::optional<QByteArray> ReadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > MaxFileBytes)
        return std::nullopt;
    QByteArray bytes = file.read(MaxFileBytes + 1);
    if (file.error() != QFileDevice::NoError || bytes.size() > MaxFileBytes)
        return std::nullopt;
    return bytes;
}

bool IsDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// Compares with runs of digits by their value ("L2" before "L10") and letters
// case-folded.
int NaturalCompare(QStringView a, QStringView b)
{
    qsizetype i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            while (i < a.size() && a[i] == u'0')
                ++i;
            while (j < b.size() && b[j] == u'0')
                ++j;
            qsizetype endA = i, endB = j;
            while (endA < a.size() && IsDigit(a[endA]))
                ++endA;
            while (endB < b.size() && IsDigit(b[endB]))
                ++endB;
            if (endA - i != endB - j)
                return endA - i < endB - j ? -1 : 1;
            if (const int c = a.sliced(i, endA - i).compare(b.sliced(j, endB - j)); c != 0)
                return c;
            i = endA;
            j = endB;
            continue;
        }
        const char16_t ca = a[i].toCaseFolded().unicode();
        const char16_t cb = b[j].toCaseFolded().unicode();
        if (ca != cb)
            return ca < cb ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

bool SheetBefore(const LabelSheet &a, const LabelSheet &b)
{
    if (const int c = NaturalCompare(a.brand, b.brand); c != 0)
        return c < 0;
    if (const int c = NaturalCompare(a.part, b.part); c != 0)
        return c < 0;
    // "L01" and "L1", "a" and "A": still one fixed order.
    if (const int c = a.brand.compare(b.brand); c != 0)
        return c < 0;
    return a.part < b.part;
}

QString SheetKey(const QString &brand, const QString &part)
{
    return brand + QChar(0) + part;
}

} // namespace

std::optional<double> ParseLengthMm(QStringView text)
{
    text = text.trimmed();
    qsizetype unitStart = text.size();
    while (unitStart > 0 && text[unitStart - 1].isLetter())
        --unitStart;
    const QStringView number = text.first(unitStart).trimmed();
    const QStringView unit = text.sliced(unitStart);

    double factor = 0;
    if (unit.isEmpty() || unit.compare(u"pt", Qt::CaseInsensitive) == 0)
        factor = 25.4 / 72;
    else if (unit.compare(u"mm", Qt::CaseInsensitive) == 0)
        factor = 1;
    else if (unit.compare(u"cm", Qt::CaseInsensitive) == 0)
        factor = 10;
    else if (unit.compare(u"in", Qt::CaseInsensitive) == 0)
        factor = 25.4;
    else if (unit.compare(u"pc", Qt::CaseInsensitive) == 0)
        factor = 25.4 / 6;
    else
        return std::nullopt;

    bool ok = false;
    const double value = number.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    const double mm = value * factor;
    if (!std::isfinite(mm) || mm < 0)
        return std::nullopt;
    return mm + 0.0;  // no negative zero
}

std::vector<PaperSize> ReadPaperSizes(QByteArrayView bytes)
{
    std::vector<PaperSize> papers;
    QXmlStreamReader xml(QByteArray::fromRawData(bytes.data(), bytes.size()));
    if (!xml.readNextStartElement() || xml.name() != "Glabels-paper-sizes"_L1)
        return papers;
    while (xml.readNextStartElement()) {
        if (xml.name() == "Paper-size"_L1) {
            const QXmlStreamAttributes attributes = xml.attributes();
            const QString id = attributes.value("id"_L1).trimmed().toString();
            double width = 0, height = 0;
            if (!id.isEmpty() && ReadLength(attributes, "width"_L1, width, true)
                && ReadLength(attributes, "height"_L1, height, true) && width > 0 && height > 0)
                papers.push_back({id, QSizeF(width, height)});
        }
        xml.skipCurrentElement();
    }
    return papers;
}

LabelTemplateFile ReadLabelTemplates(QByteArrayView bytes, const std::vector<PaperSize> &papers)
{
    LabelTemplateFile file;
    QXmlStreamReader xml(QByteArray::fromRawData(bytes.data(), bytes.size()));
    if (xml.readNextStartElement()) {
        if (xml.name() != "Glabels-templates"_L1) {
            file.error = u"ラベル用紙の定義ファイルではありません。"_s;
            return file;
        }
        while (xml.readNextStartElement()) {
            if (xml.name() == "Template"_L1)
                ReadTemplate(xml, papers, file);
            else
                xml.skipCurrentElement();
        }
        // Anything but comments after the root makes the file ill-formed.
        while (!xml.atEnd())
            xml.readNext();
    }
    if (xml.hasError()) {
        file.broken = true;
        file.error = FaultText(xml);
    }
    return file;
}

LabelSheetDatabase LabelSheetDatabase::Load(const QStringList &folders)
{
    QElapsedTimer timer;
    timer.start();

    std::vector<PaperSize> papers;
    for (const QString &folder : folders) {
        if (const auto bytes = ReadFile(QDir(folder).filePath(u"paper-sizes.xml"_s))) {
            papers = ReadPaperSizes(*bytes);
            if (!papers.empty())
                break;
        }
    }
    if (papers.empty())
        papers = BuiltInPapers();

    std::vector<LabelTemplateFile> files;
    int filesRead = 0;
    int brokenFiles = 0;
    for (const QString &folder : folders) {
        const QDir dir(folder);
        const QStringList names = dir.entryList({u"*templates.xml"_s}, QDir::Files, QDir::Name);
        for (const QString &name : names) {
            ++filesRead;
            const std::optional<QByteArray> bytes = ReadFile(dir.filePath(name));
            if (!bytes) {
                ++brokenFiles;
                continue;
            }
            files.push_back(ReadLabelTemplates(*bytes, papers));
            if (files.back().broken)
                ++brokenFiles;
        }
    }

    LabelSheetDatabase database = FromFiles(files);
    database.m_filesRead = filesRead;
    database.m_brokenFiles = brokenFiles;
    database.m_loadMs = double(timer.nsecsElapsed()) / 1e6;
    return database;
}

LabelSheetDatabase LabelSheetDatabase::FromFiles(const std::vector<LabelTemplateFile> &files)
{
    LabelSheetDatabase database;
    std::vector<LabelSheet> &sheets = database.m_sheets;
    QHash<QString, qsizetype> own;  // sheets with geometry of their own
    for (const LabelTemplateFile &file : files) {
        database.m_skipped += file.skipped;
        for (const LabelSheet &sheet : file.sheets) {
            const QString key = SheetKey(sheet.brand, sheet.part);
            if (own.contains(key)) {
                ++database.m_skipped;
                continue;
            }
            own.insert(key, qsizetype(sheets.size()));
            sheets.push_back(sheet);
        }
    }

    QHash<QString, const LabelSheetEquivalent *> equivalents;
    std::vector<const LabelSheetEquivalent *> inOrder;
    for (const LabelTemplateFile &file : files) {
        for (const LabelSheetEquivalent &equivalent : file.equivalents) {
            const QString key = SheetKey(equivalent.brand, equivalent.part);
            if (own.contains(key) || equivalents.contains(key)) {
                ++database.m_skipped;
                continue;
            }
            equivalents.insert(key, &equivalent);
            inOrder.push_back(&equivalent);
        }
    }

    std::vector<LabelSheet> resolved;
    for (const LabelSheetEquivalent *equivalent : inOrder) {
        QString sameAs = equivalent->sameAs;
        qsizetype found = -1;
        for (int step = 0; step < MaxEquivalentSteps && found < 0; ++step) {
            const QString key = SheetKey(equivalent->brand, sameAs);
            found = own.value(key, -1);
            if (found >= 0)
                break;
            const LabelSheetEquivalent *next = equivalents.value(key);
            if (!next)
                break;
            sameAs = next->sameAs;
        }
        if (found < 0) {
            ++database.m_skipped;
            continue;
        }
        LabelSheet sheet = sheets[size_t(found)];
        sheet.part = equivalent->part;
        // The database's equivalents carry no description of their own.
        if (!equivalent->description.isEmpty())
            sheet.description = equivalent->description;
        resolved.push_back(std::move(sheet));
    }
    sheets.insert(sheets.end(), std::make_move_iterator(resolved.begin()), std::make_move_iterator(resolved.end()));

    std::sort(sheets.begin(), sheets.end(), SheetBefore);
    database.m_index.reserve(qsizetype(sheets.size()));
    for (size_t i = 0; i < sheets.size(); ++i)
        database.m_index.insert(SheetKey(sheets[i].brand, sheets[i].part), qsizetype(i));
    return database;
}

QStringList LabelSheetDatabase::SystemFolders()
{
    return QStandardPaths::locateAll(QStandardPaths::GenericDataLocation, u"libglabels-3.0/templates"_s,
                                     QStandardPaths::LocateDirectory);
}

const LabelSheetDatabase &LabelSheetDatabase::System()
{
    static const LabelSheetDatabase database = Load(SystemFolders());
    return database;
}

const LabelSheet *LabelSheetDatabase::Find(const QString &brand, const QString &part) const
{
    const qsizetype i = m_index.value(SheetKey(brand, part), -1);
    return i < 0 ? nullptr : &m_sheets[size_t(i)];
}
