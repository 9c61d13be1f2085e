#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// Postal codes and their addresses, held compactly for lookups both ways.
//
// A code is an integer (1000001 for 〒100-0001). Every address and office
// name lives in one shared text buffer; an entry holds offsets into it.
// Entries are sorted by code (residential before office, each in the order
// they were added); a second index sorts the residential entries by their
// folded address for the reverse lookup.

struct PostalEntry {
    int code = 0;
    QString address;          // prefecture, municipality and town
    QString officeName;       // only for an office entry
    bool office = false;
    // Length of prefecture + municipality at the start of address when the
    // source said so (KEN_ALL.CSV); 0 when it must be worked out.
    int municipalityLength = 0;
};

// "1000001", "100-0001", "〒１００－０００１", " 100 0001 " → 1000001.
// Half- or full-width digits; hyphens and dashes, 〒 and blanks are
// ignored; what remains must be exactly seven digits. -1 otherwise.
int NormalisePostalCode(QStringView text);

// 1000001 → "100-0001".
QString FormatPostalCode(int code);

// The form in which addresses are compared: blanks dropped, full-width
// ASCII forms (letters, digits, signs) as ASCII, ヶ/ｹ/が (which place names
// write either way) as ケ. One character never becomes two, so a folded prefix is a prefix of
// the folded whole.
QString FoldAddressForMatch(QStringView address);

// The distinct codes of some entries, in the order they first appear.
QList<int> DistinctCodes(const QList<PostalEntry> &entries);

class PostalCodeTable {
public:
    class Builder;

    PostalCodeTable() = default;

    // Every entry of the code, residential first. A text that is not a
    // code (see NormalisePostalCode) finds nothing.
    QList<PostalEntry> Lookup(QStringView code) const;
    QList<PostalEntry> Lookup(int code) const;
    bool Contains(int code) const;

    // The residential entries whose address is the longest prefix of
    // address1 (after folding); empty when none is a prefix at all. Office
    // entries take no part.
    QList<PostalEntry> LookupAddress(QStringView address1) const;

    int codeCount() const { return m_codeCount; }
    int entryCount() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.empty(); }

    // Every entry in code order (for checks over the whole table).
    PostalEntry entryAt(int index) const;

private:
    struct Row {
        std::uint32_t code;
        std::uint32_t address;       // offsets into m_text
        std::uint32_t key;           // folded address; == address when folding changes nothing
        std::uint32_t officeName;
        std::uint16_t addressLength;
        std::uint16_t keyLength;
        std::uint16_t officeNameLength;
        std::uint8_t municipalityLength;
        std::uint8_t office;
    };

    std::u16string_view textAt(std::uint32_t offset, std::uint16_t length) const;
    std::u16string_view keyOf(std::uint32_t row) const;
    PostalEntry entryOf(const Row &row) const;

    QString m_text;
    std::vector<Row> m_rows;                // sorted by code
    std::vector<std::uint32_t> m_byAddress; // residential rows sorted by key
    int m_codeCount = 0;
};

// Collects entries, then sorts and indexes them once.
class PostalCodeTable::Builder {
public:
    // Entries longer than this are refused (no real address comes close).
    static constexpr int MaxTextLength = 1000;

    void reserveText(qsizetype characters) { m_text.reserve(characters); }

    // Returns false (and keeps nothing) when the code is out of range, the
    // address is blank, or a text is too long.
    bool addResidential(int code, QStringView address, int municipalityLength = 0);
    bool addOffice(int code, QStringView officeName, QStringView address);

    qsizetype entryCount() const { return qsizetype(m_rows.size()); }

    // Sorts, drops repeated entries (same code, kind, name and address) and
    // builds the address index. The builder is empty afterwards.
    PostalCodeTable build();

private:
    bool add(int code, QStringView officeName, QStringView address, bool office,
             int municipalityLength);

    QString m_text;
    std::vector<Row> m_rows;
};
