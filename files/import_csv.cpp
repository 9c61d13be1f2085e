#include "files/import_csv.h"

#include "model/address_record.h"

#include <QHash>
#include <QRegularExpression>

#include <map>

using namespace Qt::Literals::StringLiterals;

namespace {

// ---------------------------------------------------------------- reading

bool IsLineEnd(QChar c)
{
    return c == u'\r' || c == u'\n';
}

// The separator of the header line: a tab when it holds more tabs than
// commas outside quotes.
QChar DetectSeparator(QStringView text)
{
    qsizetype i = 0;
    while (i < text.size() && IsLineEnd(text[i]))
        ++i;
    int commas = 0;
    int tabs = 0;
    bool quoted = false;
    for (; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'"')
            quoted = !quoted;
        else if (quoted)
            continue;
        else if (IsLineEnd(c))
            break;
        else if (c == u',')
            ++commas;
        else if (c == u'\t')
            ++tabs;
    }
    return tabs > commas ? u'\t' : u',';
}

class CsvParser {
public:
    CsvParser(QStringView text, QChar separator) : m_text(text), m_separator(separator) {}

    void parse(ImportCsvTable &table)
    {
        const qsizetype n = m_text.size();
        qsizetype i = 0;
        while (i < n) {
            const QChar c = m_text[i];
            if (m_inQuotes) {
                // Runs of plain text go in as one slice.
                const qsizetype quote = m_text.indexOf(u'"', i);
                if (quote < 0) {
                    m_field += m_text.sliced(i);
                    i = n;
                } else if (quote + 1 < n && m_text[quote + 1] == u'"') {
                    m_field += m_text.sliced(i, quote + 1 - i);
                    i = quote + 2;
                } else {
                    m_field += m_text.sliced(i, quote - i);
                    m_inQuotes = false;
                    i = quote + 1;
                }
                continue;
            }
            if (c == u'"' && m_atFieldStart) {
                m_inQuotes = true;
                m_fieldQuoted = true;
                m_atFieldStart = false;
                ++i;
            } else if (c == m_separator) {
                endField();
                ++i;
            } else if (IsLineEnd(c)) {
                endRecord(table);
                i += (c == u'\r' && i + 1 < n && m_text[i + 1] == u'\n') ? 2 : 1;
            } else {
                // Text after a closing quote, or a quote inside an unquoted
                // field, is taken as written.
                qsizetype end = i + 1;
                while (end < n && m_text[end] != m_separator && !IsLineEnd(m_text[end]) && m_text[end] != u'"')
                    ++end;
                if (end < n && m_text[end] == u'"')
                    ++end;
                m_field += m_text.sliced(i, end - i);
                m_atFieldStart = false;
                i = end;
            }
        }
        table.unterminatedQuote = m_inQuotes;
        if (!m_atFieldStart || !m_record.isEmpty())
            endRecord(table);
    }

private:
    void endField()
    {
        m_record << m_field;
        m_field.clear();
        m_atFieldStart = true;
        m_fieldQuoted = false;
    }

    void endRecord(ImportCsvTable &table)
    {
        const bool blankLine = m_record.isEmpty() && m_field.isEmpty() && !m_fieldQuoted;
        endField();
        if (!blankLine) {
            if (!m_headerDone) {
                table.header = std::move(m_record);
                m_headerDone = true;
            } else {
                table.rows.push_back(std::move(m_record));
            }
        }
        m_record = QStringList();
    }

    QStringView m_text;
    QChar m_separator;
    QStringList m_record;
    QString m_field;
    bool m_inQuotes = false;
    bool m_atFieldStart = true;
    bool m_fieldQuoted = false;
    bool m_headerDone = false;
};

// ---------------------------------------------------------------- guessing

struct Guess {
    ImportTarget target = ImportTarget::Ignore;
    int set = 1;
    bool splitsValues = false;  // Google's " ::: " between several values
};

// Headings compared without case, width or blanks: "E-mail Address",
// "ｅメール", "住所１" and "郵便番号 (自宅)" all find their entries.
QString Key(const QString &heading)
{
    QString k = heading.normalized(QString::NormalizationForm_KC).toCaseFolded();
    k.removeIf([](QChar c) { return c.isSpace() || c == u'\uFEFF'; });
    return k;
}

const QHash<QString, Guess> &KnownHeadings()
{
    static const QHash<QString, Guess> table = [] {
        using T = ImportTarget;
        const std::initializer_list<std::pair<const char16_t *, Guess>> entries = {
            // The whole name
            {u"氏名", {T::Name}}, {u"名前", {T::Name}}, {u"お名前", {T::Name}}, {u"姓名", {T::Name}},
            {u"フルネーム", {T::Name}}, {u"宛名", {T::Name}}, {u"氏名(漢字)", {T::Name}}, {u"表示名", {T::Name}},
            {u"Name", {T::Name}}, {u"Full Name", {T::Name}}, {u"Display Name", {T::Name}},
            // Parts of the name
            {u"姓", {T::FamilyName}}, {u"苗字", {T::FamilyName}}, {u"名字", {T::FamilyName}}, {u"氏", {T::FamilyName}},
            {u"姓(漢字)", {T::FamilyName}}, {u"Family Name", {T::FamilyName}}, {u"Last Name", {T::FamilyName}},
            {u"Surname", {T::FamilyName}},
            {u"名", {T::GivenName}}, {u"名(漢字)", {T::GivenName}}, {u"下の名前", {T::GivenName}},
            {u"ミドルネーム", {T::GivenName}}, {u"Given Name", {T::GivenName}}, {u"First Name", {T::GivenName}},
            {u"Additional Name", {T::GivenName}}, {u"Middle Name", {T::GivenName}},
            // Phones; Outlook's in the order they are tried
            {u"電話", {T::Tel}}, {u"電話番号", {T::Tel}}, {u"TEL", {T::Tel}}, {u"固定電話", {T::Tel}},
            {u"携帯", {T::Tel}}, {u"携帯電話", {T::Tel}}, {u"携帯番号", {T::Tel}}, {u"携帯電話番号", {T::Tel}},
            {u"Phone", {T::Tel}}, {u"Telephone", {T::Tel}}, {u"Mobile", {T::Tel}},
            {u"Primary Phone", {T::Tel, 1}}, {u"Mobile Phone", {T::Tel, 2}}, {u"Home Phone", {T::Tel, 3}},
            {u"Home Phone 2", {T::Tel, 4}}, {u"Business Phone", {T::Tel, 5}}, {u"Business Phone 2", {T::Tel, 6}},
            {u"Company Main Phone", {T::Tel, 7}}, {u"Other Phone", {T::Tel, 8}}, {u"Car Phone", {T::Tel, 9}},
            {u"Radio Phone", {T::Tel, 10}},
            // Mail
            {u"メール", {T::Mail}}, {u"メールアドレス", {T::Mail}}, {u"Eメール", {T::Mail}},
            {u"Eメールアドレス", {T::Mail}}, {u"電子メール", {T::Mail}}, {u"電子メールアドレス", {T::Mail}},
            {u"メアド", {T::Mail}}, {u"携帯メール", {T::Mail}}, {u"PCメール", {T::Mail}},
            {u"E-mail", {T::Mail}}, {u"Email", {T::Mail}}, {u"Mail", {T::Mail}}, {u"Email Address", {T::Mail}},
            {u"E-mail Address", {T::Mail, 1}}, {u"E-mail 2 Address", {T::Mail, 2}}, {u"E-mail 3 Address", {T::Mail, 3}},
            // Address parts
            {u"〒", {T::Postal}}, {u"郵便番号", {T::Postal}}, {u"〒番号", {T::Postal}}, {u"郵便", {T::Postal}},
            {u"Zip", {T::Postal}}, {u"Zip Code", {T::Postal}}, {u"Postal Code", {T::Postal}}, {u"Postcode", {T::Postal}},
            {u"都道府県", {T::Region}}, {u"県", {T::Region}}, {u"Prefecture", {T::Region}}, {u"State", {T::Region}},
            {u"Region", {T::Region}},
            {u"市区町村", {T::Locality}}, {u"市町村", {T::Locality}}, {u"市区郡", {T::Locality}}, {u"City", {T::Locality}},
            {u"番地", {T::Street}}, {u"町名番地", {T::Street}}, {u"町域", {T::Street}}, {u"丁目番地", {T::Street}},
            {u"町名・番地", {T::Street}}, {u"町域・番地", {T::Street}}, {u"Street", {T::Street}},
            {u"住所", {T::Address1}}, {u"住所1", {T::Address1}}, {u"所在地", {T::Address1}},
            {u"Address", {T::Address1}}, {u"Address 1", {T::Address1}},
            {u"住所2", {T::Address2}}, {u"住所3", {T::Address2}}, {u"建物", {T::Address2}}, {u"建物名", {T::Address2}},
            {u"建物名・部屋番号", {T::Address2}}, {u"方書", {T::Address2}}, {u"マンション名", {T::Address2}},
            {u"ビル名", {T::Address2}}, {u"部屋番号", {T::Address2}}, {u"番地2", {T::Address2}}, {u"番地3", {T::Address2}},
            {u"Address 2", {T::Address2}}, {u"Address 3", {T::Address2}}, {u"Street 2", {T::Address2}},
            {u"Street 3", {T::Address2}},
            {u"私書箱", {T::PoBox}}, {u"PO Box", {T::PoBox}}, {u"Address PO Box", {T::PoBox}},
            {u"国", {T::Country}}, {u"国名", {T::Country}}, {u"国・地域", {T::Country}}, {u"国/地域", {T::Country}},
            {u"Country", {T::Country}}, {u"Country/Region", {T::Country}},
            // Notes
            {u"メモ", {T::Memo}}, {u"一言メモ", {T::Memo}}, {u"備考", {T::Memo}}, {u"コメント", {T::Memo}},
            {u"ノート", {T::Memo}}, {u"Note", {T::Memo}}, {u"Notes", {T::Memo}}, {u"Memo", {T::Memo}},
            {u"Comment", {T::Memo}}, {u"Comments", {T::Memo}},
        };
        QHash<QString, Guess> t;
        for (const auto &[heading, guess] : entries)
            t.insert(Key(QString::fromUtf16(heading)), guess);
        return t;
    }();
    return table;
}

bool IsAddressPart(ImportTarget t)
{
    switch (t) {
    case ImportTarget::Postal:
    case ImportTarget::Region:
    case ImportTarget::Locality:
    case ImportTarget::Address1:
    case ImportTarget::Street:
    case ImportTarget::Address2:
    case ImportTarget::PoBox:
    case ImportTarget::Country:
        return true;
    default:
        return false;
    }
}

bool IsPhoneOrMail(ImportTarget t)
{
    return t == ImportTarget::Tel || t == ImportTarget::Mail;
}

std::optional<Guess> Known(const QString &key)
{
    const auto it = KnownHeadings().constFind(key);
    if (it == KnownHeadings().constEnd())
        return std::nullopt;
    return *it;
}

// "電話番号2", "メール3": further phone and mail columns.
std::optional<Guess> KnownNumbered(const QString &key)
{
    qsizetype end = key.size();
    while (end > 0 && key[end - 1].isDigit())
        --end;
    if (end == key.size() || end == 0)
        return std::nullopt;
    const std::optional<Guess> g = Known(key.first(end));
    if (g && IsPhoneOrMail(g->target))
        return Guess{g->target, 1};
    return std::nullopt;
}

// Google Contacts: "Phone 1 - Value", "E-mail 2 - Value", "Address 1 - City".
std::optional<Guess> GoogleColumn(const QString &key)
{
    static const QRegularExpression pattern(u"^(phone|e-mail|email|address)(\\d{1,3})-(.+)$"_s);
    const QRegularExpressionMatch m = pattern.match(key);
    if (!m.hasMatch())
        return std::nullopt;
    const QString kind = m.captured(1);
    const int set = m.captured(2).toInt();
    const QString part = m.captured(3);
    using T = ImportTarget;
    if (part == u"value")
        return Guess{kind == u"phone" ? T::Tel : kind == u"address" ? T::Address1 : T::Mail, set, true};
    if (kind != u"address")
        return Guess{};
    static const std::initializer_list<std::pair<const char16_t *, T>> parts = {
        {u"street", T::Street}, {u"city", T::Locality}, {u"pobox", T::PoBox}, {u"region", T::Region},
        {u"postalcode", T::Postal}, {u"country", T::Country}, {u"extendedaddress", T::Address2},
    };
    for (const auto &[name, target] : parts) {
        if (part == name)
            return Guess{target, set};
    }
    return Guess{};     // Formatted (repeats the parts), Type, Label
}

// Outlook and other programs put a place before or after the part:
// "Home Street", "Business City", "自宅郵便番号", "番地 (会社)".
std::optional<Guess> QualifiedColumn(const QString &key)
{
    static const std::initializer_list<std::pair<const char16_t *, int>> places = {
        {u"home", 1}, {u"自宅", 1}, {u"business", 2}, {u"勤務先", 2}, {u"会社", 2}, {u"other", 3}, {u"その他", 3},
    };
    for (const auto &[placeText, set] : places) {
        const QString place = QString::fromUtf16(placeText);
        QString base;
        if (key.size() > place.size() && key.startsWith(place))
            base = key.sliced(place.size());
        else if (key.endsWith(u'(' + place + u')'))
            base = key.first(key.size() - place.size() - 2);
        else
            continue;
        std::optional<Guess> g = Known(base);
        if (!g)
            g = KnownNumbered(base);
        if (!g || !(IsAddressPart(g->target) || IsPhoneOrMail(g->target)))
            return std::nullopt;
        return Guess{g->target, IsAddressPart(g->target) ? set : g->set};
    }
    return std::nullopt;
}

Guess GuessColumn(const QString &heading)
{
    const QString key = Key(heading);
    if (key.isEmpty())
        return {};
    // The first heading of this program's own address file: 氏名(123)
    static const QRegularExpression ownFile(u"^氏名\\(\\d*\\)$"_s);
    if (ownFile.match(key).hasMatch())
        return {ImportTarget::Name};
    for (const auto &found : {Known(key), GoogleColumn(key), KnownNumbered(key), QualifiedColumn(key)}) {
        if (found)
            return *found;
    }
    return {};
}

// ---------------------------------------------------------------- contacts

struct AddressParts {
    QStringList postal, region, locality, address1, street, address2, poBox, country;

    bool hasContent() const
    {
        return !(postal.isEmpty() && region.isEmpty() && locality.isEmpty() && address1.isEmpty()
                 && street.isEmpty() && address2.isEmpty() && poBox.isEmpty());
    }
};

struct Candidate {
    int set;
    QString value;
};

// Candidates in column order; the first of the lowest set goes in, and the
// count says whether others were dropped.
struct Candidates {
    std::vector<Candidate> list;

    void add(const ImportColumn &m, bool splits, const QString &value)
    {
        if (!splits) {
            list.push_back({m.set, value});
            return;
        }
        for (const QString &v : value.split(u" ::: "_s)) {
            if (!v.isEmpty())
                list.push_back({m.set, v});
        }
    }

    QString best() const
    {
        const Candidate *b = nullptr;
        for (const Candidate &c : list) {
            if (!b || c.set < b->set)
                b = &c;
        }
        return b ? b->value : QString();
    }
};

QString JoinBlank(const QStringList &values)
{
    return values.join(u' ');
}

ImportedContact ContactFromRow(const QStringList &row, const ImportMapping &mapping, const std::vector<bool> &splits)
{
    QStringList names, family, given, memos;
    Candidates tels, mails;
    std::map<int, AddressParts> addresses;

    const qsizetype columns = qMin(row.size(), qsizetype(mapping.size()));
    for (qsizetype col = 0; col < columns; ++col) {
        const QString &value = row[col];
        if (value.isEmpty())
            continue;
        const ImportColumn &m = mapping[size_t(col)];
        switch (m.target) {
        case ImportTarget::Ignore: break;
        case ImportTarget::Name: names << value; break;
        case ImportTarget::FamilyName: family << value; break;
        case ImportTarget::GivenName: given << value; break;
        case ImportTarget::Tel: tels.add(m, splits[size_t(col)], value); break;
        case ImportTarget::Mail: mails.add(m, splits[size_t(col)], value); break;
        case ImportTarget::Postal: addresses[m.set].postal << value; break;
        case ImportTarget::Region: addresses[m.set].region << value; break;
        case ImportTarget::Locality: addresses[m.set].locality << value; break;
        case ImportTarget::Address1: addresses[m.set].address1 << value; break;
        case ImportTarget::Street: addresses[m.set].street << value; break;
        case ImportTarget::Address2: addresses[m.set].address2 << value; break;
        case ImportTarget::PoBox: addresses[m.set].poBox << value; break;
        case ImportTarget::Country: addresses[m.set].country << value; break;
        case ImportTarget::Memo: memos << value; break;
        }
    }

    ImportedContact c;
    c.name = !names.isEmpty() ? JoinBlank(names) : JoinFamilyGiven(JoinBlank(family), JoinBlank(given));
    c.tel = tels.best();
    c.mail = mails.best();
    c.memo = JoinBlank(memos);
    int addressesWithContent = 0;
    for (const auto &[set, a] : addresses) {
        if (!a.hasContent())
            continue;
        if (++addressesWithContent > 1)
            continue;
        c.postal = JoinBlank(a.postal);
        // Japanese addresses are written without blanks between the parts.
        c.address1 = JoinBlank(a.region) + JoinBlank(a.locality) + JoinBlank(a.address1) + JoinBlank(a.street);
        c.address2 = JoinBlank(a.address2 + a.poBox);
        for (const QString &country : a.country) {
            if (!IsJapan(country))
                NoteDropped(c, DroppedItem::ForeignCountry);
        }
    }
    for (QString *field : {&c.name, &c.tel, &c.mail, &c.postal, &c.address1, &c.address2, &c.memo})
        *field = BookFieldText(*field);

    if (tels.list.size() > 1)
        NoteDropped(c, DroppedItem::ExtraTel);
    if (mails.list.size() > 1)
        NoteDropped(c, DroppedItem::ExtraMail);
    if (addressesWithContent > 1)
        NoteDropped(c, DroppedItem::ExtraAddress);
    return c;
}

bool IsEmpty(const ImportedContact &c)
{
    return c.name.isEmpty() && c.tel.isEmpty() && c.mail.isEmpty() && c.postal.isEmpty() && c.address1.isEmpty()
           && c.address2.isEmpty() && c.memo.isEmpty();
}

} // namespace

ImportCsvTable ReadImportCsv(QByteArrayView bytes, std::optional<TextEncoding> encoding)
{
    ImportCsvTable table;
    table.encoding = encoding ? *encoding : DetectTextEncoding(bytes);
    table.encodingName = TextEncodingName(table.encoding);
    const QString text = DecodeImportText(bytes, table.encoding);
    table.separator = DetectSeparator(text);
    CsvParser(text, table.separator).parse(table);
    return table;
}

ImportMapping GuessImportMapping(const QStringList &header)
{
    ImportMapping mapping;
    mapping.reserve(size_t(header.size()));
    for (const QString &heading : header) {
        const Guess g = GuessColumn(heading);
        mapping.push_back({g.target, g.set});
    }
    return mapping;
}

std::vector<ImportedContact> ContactsFromCsv(const ImportCsvTable &table, const ImportMapping &mapping)
{
    // Known from the heading, so a mapping changed by hand still splits them.
    std::vector<bool> splits;
    for (const QString &heading : table.header)
        splits.push_back(GuessColumn(heading).splitsValues);
    splits.resize(qMax(splits.size(), mapping.size()), false);

    std::vector<ImportedContact> contacts;
    contacts.reserve(table.rows.size());
    for (const QStringList &row : table.rows) {
        ImportedContact c = ContactFromRow(row, mapping, splits);
        // Spreadsheets often end with rows of empty cells.
        if (!IsEmpty(c))
            contacts.push_back(std::move(c));
    }
    return contacts;
}

const std::vector<ImportTarget> &ImportTargets()
{
    using T = ImportTarget;
    static const std::vector<ImportTarget> targets = {
        T::Ignore, T::Name, T::FamilyName, T::GivenName, T::Tel, T::Mail, T::Postal, T::Region,
        T::Locality, T::Address1, T::Street, T::Address2, T::PoBox, T::Country, T::Memo,
    };
    return targets;
}

QString ImportTargetCaption(ImportTarget target)
{
    const auto &field = FieldCaptions();
    switch (target) {
    case ImportTarget::Ignore: return u"取り込まない"_s;
    case ImportTarget::Name: return field[size_t(Field::Name)];
    case ImportTarget::FamilyName: return u"姓"_s;
    case ImportTarget::GivenName: return u"名"_s;
    case ImportTarget::Tel: return field[size_t(Field::Tel)];
    case ImportTarget::Mail: return field[size_t(Field::Mail)];
    case ImportTarget::Postal: return field[size_t(Field::Yubin)];
    case ImportTarget::Region: return u"都道府県"_s;
    case ImportTarget::Locality: return u"市区町村"_s;
    case ImportTarget::Address1: return field[size_t(Field::Ju1)];
    case ImportTarget::Street: return u"番地"_s;
    case ImportTarget::Address2: return field[size_t(Field::Ju2)];
    case ImportTarget::PoBox: return u"私書箱"_s;
    case ImportTarget::Country: return u"国・地域"_s;
    case ImportTarget::Memo: break;
    }
    return field[size_t(Field::Memo)];
}
