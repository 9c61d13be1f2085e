#include "settings/settings_sections.h"
#include "settings/settings_defaults.h"
#include "settings/settings_store.h"

#include <QtGlobal>

#include <algorithm>
#include <array>

using namespace Qt::Literals::StringLiterals;

namespace {

const QString kFile = u"File"_s;
const QString kIro = u"Iro"_s;
const QString kPrint = u"Print"_s;
const QString kKojin = u"Kojin"_s;

constexpr qint16 kFirstRunRecentMax = 5;
constexpr qint16 kRecentMaxLimit = 20;
constexpr qint16 kHagakiLimit = 5;
// Longer values cannot be a font name or a path; they come from a damaged or
// hand-edited store.
constexpr qsizetype kMaxFontNameLength = 255;
constexpr qsizetype kMaxPathLength = 4096;

// A whole decimal number, saturated far outside every range we use, or
// nothing when the text is not one.
std::optional<qint64> parseWholeNumber(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    if (i == t.size())
        return std::nullopt;
    constexpr qint64 kSaturate = 1'000'000'000;
    qint64 value = 0;
    for (; i < t.size(); ++i) {
        const char16_t c = t[i].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = qMin(value * 10 + (c - u'0'), kSaturate);
    }
    return negative ? -value : value;
}

// "IchiX1" … "IchiY4": the position adjustment of printout kind index + 1.
QString offsetKey(QChar axis, int index) { return u"Ichi"_s + axis + QString::number(index + 1); }

qint16 boundedNumber(const QString &text, qint16 fallback, qint16 low, qint16 high)
{
    const std::optional<qint64> n = parseWholeNumber(text);
    if (!n)
        return qBound(low, fallback, high);
    return static_cast<qint16>(std::clamp<qint64>(*n, low, high));
}

QString colourOr(const QString &text, const QString &fallback)
{
    const std::optional<quint32> colour = ParseColourNumber(text);
    if (!colour)
        return fallback;
    // A valid number padded with thousands of zeros is kept as its short form.
    if (text.size() > 32)
        return u"&H"_s + QString::number(*colour, 16).toUpper();
    return text;
}

QString fontOr(const QString &text, const QString &fallback)
{
    return text.size() > kMaxFontNameLength ? fallback : text;
}

QString fileKey(int place) { return u"F"_s + QString::number(place); }

} // namespace

namespace M_RegS {

bool LoadSettings(SettingsStore &store, SettingsRecord &s,
                  const std::function<void()> &applyListSettings)
{
    const bool firstRun = store.get(kFile, u"FirstSW"_s, u"NO"_s) == u"NO"_s;
    if (!firstRun) {
        LoadFileSection(store, s);
        LoadIroSection(store, s);
        if (applyListSettings)
            applyListSettings();
        LoadPrintSection(store, s);
        LoadKojinSection(store, s);
        return false;
    }

    s.RecentMax = kFirstRunRecentMax;
    s.RecentCount = 0;
    s.ListColor = SettingsDefaults::ListColor;
    s.ListFontName = SettingsDefaults::ListFontName;
    if (applyListSettings)
        applyListSettings();
    s.PrintFontName = SettingsDefaults::PrintFontName;
    s.HagakiOffsetMm = 0;
    s.PrintOffsetX = {};
    s.PrintOffsetY = {};
    s.Honorific = 0;
    s.JointNames = false;
    s.Sender = SenderInfo{};

    SaveFileSection(store, s);
    SaveIroSection(store, s);
    SavePrintSection(store, s);
    SaveKojinSection(store, s);
    store.save(kFile, u"FirstSW"_s, u"YES"_s);
    store.sync();
    return true;
}

void LoadFileSection(SettingsStore &store, SettingsRecord &s)
{
    // Text that is no number gets the first-run size; a number out of range
    // is pulled back into it.
    s.RecentMax = boundedNumber(store.get(kFile, u"KosuMax"_s, u"0"_s),
                                kFirstRunRecentMax, 0, kRecentMaxLimit);
    s.RecentCount = boundedNumber(store.get(kFile, u"Kosu"_s, u"0"_s), 0, 0, s.RecentMax);
    if (s.RecentMax != 0)
        s.RecentFiles.resize(s.RecentMax);
    for (int i = 0; i < s.RecentMax; ++i) {
        const QString path = store.get(kFile, fileKey(i + 1), u"0"_s);
        s.RecentFiles[i] = path.size() > kMaxPathLength ? QString() : path;
    }
    // The user's own KEN_ALL.CSV; older stores have none.
    const QString kenAll = store.get(kFile, u"KenAll"_s, QString());
    s.PostalDataFile = kenAll.size() > kMaxPathLength ? QString() : kenAll;
}

void SaveFileSection(SettingsStore &store, SettingsRecord &s)
{
    // An out-of-range size would write thousands of keys or, negative, break the resize.
    s.RecentMax = qBound<qint16>(0, s.RecentMax, kRecentMaxLimit);
    s.RecentCount = qBound<qint16>(0, s.RecentCount, s.RecentMax);
    store.save(kFile, u"KosuMax"_s, QString::number(s.RecentMax));
    store.save(kFile, u"Kosu"_s, QString::number(s.RecentCount));
    if (s.RecentMax != 0)
        s.RecentFiles.resize(s.RecentMax);
    // Keys above RecentMax stay: raising the size again saves over them.
    for (int i = 1; i <= s.RecentMax; ++i)
        store.save(kFile, fileKey(i), s.RecentFiles[i - 1]);
    SavePostalDataFile(store, s);
    store.sync();
}

void SavePostalDataFile(SettingsStore &store, const SettingsRecord &s)
{
    // A store that never had one stays as the first run wrote it.
    if (!s.PostalDataFile.isEmpty() || store.contains(kFile, u"KenAll"_s))
        store.save(kFile, u"KenAll"_s, s.PostalDataFile);
}

void LoadIroSection(SettingsStore &store, SettingsRecord &s)
{
    s.ListColor[0] = colourOr(store.get(kIro, u"iro0"_s, u"0"_s), SettingsDefaults::ListColor[0]);
    s.ListColor[1] = colourOr(store.get(kIro, u"iro1"_s, u"0"_s), SettingsDefaults::ListColor[1]);
    s.ListFontName = fontOr(store.get(kIro, u"listFont"_s, u"0"_s), SettingsDefaults::ListFontName);
}

void SaveIroSection(SettingsStore &store, const SettingsRecord &s)
{
    store.save(kIro, u"Iro0"_s, s.ListColor[0]);
    store.save(kIro, u"Iro1"_s, s.ListColor[1]);
    store.save(kIro, u"ListFont"_s, s.ListFontName);
    store.sync();
}

void LoadPrintSection(SettingsStore &store, SettingsRecord &s)
{
    for (int i = 0; i < 4; ++i)
        s.PrintFontName[i] = fontOr(store.get(kPrint, u"Print"_s + QString::number(i), u"0"_s),
                                    SettingsDefaults::PrintFontName[i]);
    // A missing or unreadable adjustment means no adjustment.
    s.HagakiOffsetMm = boundedNumber(store.get(kPrint, u"Hagaki"_s, QString()), 0,
                                     -kHagakiLimit, kHagakiLimit);
    // Stores before the honorific choice print 様, without joint names.
    // A number that names no honorific reads as 様, not as the nearest one (なし).
    const qint16 honorific = boundedNumber(store.get(kPrint, u"Keisho"_s, QString()), 0, -1, 6);
    s.Honorific = honorific >= 0 && honorific <= 5 ? honorific : 0;
    s.JointNames = store.get(kPrint, u"Renmei"_s, QString()) == u"1"_s;
    // The label sheet by maker and part; none (or half of one) is the standard sheet.
    s.LabelBrand = store.get(kPrint, u"LabelBrand"_s, QString()).trimmed();
    s.LabelPart = store.get(kPrint, u"LabelPart"_s, QString()).trimmed();
    if (s.LabelBrand.isEmpty() || s.LabelPart.isEmpty()) {
        s.LabelBrand.clear();
        s.LabelPart.clear();
    }
    // Likewise the position adjustments, which older stores do not have.
    for (int i = 0; i < 4; ++i) {
        s.PrintOffsetX[i] = boundedNumber(store.get(kPrint, offsetKey(u'X', i), QString()), 0,
                                          -PrintOffsetLimit, PrintOffsetLimit);
        s.PrintOffsetY[i] = boundedNumber(store.get(kPrint, offsetKey(u'Y', i), QString()), 0,
                                          -PrintOffsetLimit, PrintOffsetLimit);
    }
}

void SavePrintSection(SettingsStore &store, const SettingsRecord &s)
{
    for (int i = 0; i < 4; ++i)
        store.save(kPrint, u"Print"_s + QString::number(i), s.PrintFontName[i]);
    store.save(kPrint, u"Hagaki"_s, QString::number(s.HagakiOffsetMm));
    // A store that never had these stays as the first run wrote it.
    if (s.Honorific != 0 || store.contains(kPrint, u"Keisho"_s))
        store.save(kPrint, u"Keisho"_s, QString::number(s.Honorific));
    if (s.JointNames || store.contains(kPrint, u"Renmei"_s))
        store.save(kPrint, u"Renmei"_s, s.JointNames ? u"1"_s : u"0"_s);
    if (!s.LabelPart.isEmpty() || store.contains(kPrint, u"LabelPart"_s)) {
        store.save(kPrint, u"LabelBrand"_s, s.LabelBrand);
        store.save(kPrint, u"LabelPart"_s, s.LabelPart);
    }
    for (int i = 0; i < 4; ++i) {
        for (const auto &[axis, value] : {std::pair{u'X', s.PrintOffsetX[i]}, std::pair{u'Y', s.PrintOffsetY[i]}}) {
            const QString key = offsetKey(QChar(axis), i);
            if (value != 0 || store.contains(kPrint, key))
                store.save(kPrint, key, QString::number(value));
        }
    }
    store.sync();
}

void LoadKojinSection(SettingsStore &store, SettingsRecord &s)
{
    s.Sender.Name = store.get(kKojin, u"Name"_s, QString());
    s.Sender.Tel = store.get(kKojin, u"Tel"_s, QString());
    s.Sender.Mail = store.get(kKojin, u"Mail"_s, QString());
    s.Sender.Yubin = store.get(kKojin, u"Yubin"_s, QString());
    s.Sender.Ju1 = store.get(kKojin, u"Ju1"_s, QString());
    s.Sender.Ju2 = store.get(kKojin, u"Ju2"_s, QString());
}

bool SaveKojinSection(SettingsStore &store, const SettingsRecord &s)
{
    store.save(kKojin, u"Name"_s, s.Sender.Name);
    store.save(kKojin, u"Tel"_s, s.Sender.Tel);
    store.save(kKojin, u"Mail"_s, s.Sender.Mail);
    store.save(kKojin, u"Yubin"_s, s.Sender.Yubin);
    store.save(kKojin, u"Ju1"_s, s.Sender.Ju1);
    store.save(kKojin, u"Ju2"_s, s.Sender.Ju2);
    return store.sync();
}

} // namespace M_RegS

std::optional<quint32> ParseColourNumber(const QString &text)
{
    constexpr quint32 kMaxColour = 0xFFFFFF;
    const bool hex = text.startsWith(u"&H"_s, Qt::CaseInsensitive);
    const qsizetype start = hex ? 2 : 0;
    if (text.size() == start)
        return std::nullopt;
    const quint32 base = hex ? 16 : 10;
    quint32 value = 0;
    for (qsizetype i = start; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        quint32 digit = base;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        if (digit >= base)
            return std::nullopt;
        value = value * base + digit;
        // Checked at every digit, so the sum never overflows.
        if (value > kMaxColour)
            return std::nullopt;
    }
    return value;
}
