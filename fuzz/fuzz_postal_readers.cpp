// Arbitrary bytes as a postal dictionary (residential and office) and as
// KEN_ALL.CSV. A refusal must carry a message; whatever loads must find
// itself again: each entry by its code, each residential entry by its own
// address, and each entry's code must pass the check against its address.
// The bytes are also used as typed text for the lookups and the check.
// Anything else aborts, for libFuzzer to report.

#include "files/postal_check.h"
#include "files/postal_code_table.h"
#include "files/postal_dictionary_reader.h"
#include "model/app_error.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include "fuzz/fuzz_report.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr size_t MaxInputBytes = 256 * 1024;
// The table checks below are quadratic at worst; enough entries to find faults.
constexpr int MaxEntriesChecked = 500;

[[noreturn]] void Fail(const char *what, const QString &detail = {})
{
    FuzzFail("fuzz_postal_readers", what, detail.toUtf8());
}

void CheckReport(const PostalReadReport &report)
{
    if (report.entries < 0 || report.undecodableLines < 0 || report.skippedLines < 0)
        Fail("negative count in a read report");
}

void CheckTable(const PostalCodeTable &table)
{
    if (table.codeCount() > table.entryCount() || (table.entryCount() > 0) != (table.codeCount() > 0))
        Fail("code count does not fit the entries");
    const int n = std::min(table.entryCount(), MaxEntriesChecked);
    int previousCode = -1;
    bool previousOffice = false;
    for (int i = 0; i < n; ++i) {
        const PostalEntry e = table.entryAt(i);
        if (e.code < 0 || e.code > 9999999 || e.address.trimmed().isEmpty())
            Fail("entry with a bad code or no address", e.address);
        if (e.code < previousCode || (e.code == previousCode && previousOffice && !e.office))
            Fail("entries out of order", FormatPostalCode(e.code));
        previousCode = e.code;
        previousOffice = e.office;

        bool found = false;
        for (const PostalEntry &hit : table.Lookup(FormatPostalCode(e.code))) {
            if (hit.code != e.code)
                Fail("lookup returned another code");
            found = found || (hit.address == e.address && hit.officeName == e.officeName && hit.office == e.office);
        }
        if (!found)
            Fail("an entry is not found by its code", e.address);

        if (CheckPostalEntry(table, FormatPostalCode(e.code), e.address) != PostalCheckResult::Ok)
            Fail("an entry's own code and address do not pass the check", e.address);

        if (!e.office) {
            const QString key = FoldAddressForMatch(e.address);
            const QList<PostalEntry> hits = table.LookupAddress(e.address);
            if (hits.isEmpty())
                Fail("a residential entry is not found by its address", e.address);
            for (const PostalEntry &hit : hits) {
                if (hit.office || FoldAddressForMatch(hit.address) != key)
                    Fail("address lookup returned something other than the longest prefix", hit.address);
            }
        }
    }
}

// The input as what a user might type, against a table.
void CheckTyped(const PostalCodeTable &table, const QString &text)
{
    const int code = NormalisePostalCode(text);
    if (code < -1 || code > 9999999)
        Fail("normalised code out of range");
    const QList<PostalEntry> byCode = table.Lookup(text);
    if (code < 0 && !byCode.isEmpty())
        Fail("something found for a text that is not a code");

    const QString folded = FoldAddressForMatch(text);
    for (const PostalEntry &hit : table.LookupAddress(text)) {
        if (hit.office || !folded.startsWith(FoldAddressForMatch(hit.address)))
            Fail("address lookup returned an entry that is not a prefix", hit.address);
    }

    const AddressParts parts = SplitAddress(text);
    if (parts.prefecture.data() != text.constData() && !parts.prefecture.isEmpty())
        Fail("prefecture does not start the address");
    if (!parts.municipality.isEmpty()
        && parts.municipality.data() != text.constData() + parts.prefecture.size())
        Fail("municipality does not follow the prefecture");
    if (!parts.county.isEmpty() && parts.county.data() != parts.municipality.data())
        Fail("county does not start the municipality");

    CheckPostalEntry(table, text, text);
    CheckPostalEntry(table, u"100-0001"_s, text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > MaxInputBytes)
        return 0;
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString typed = QString::fromUtf8(input);

    {
        PostalCodeTable::Builder builder;
        CheckReport(ReadSkkPostalDictionary(input, SkkDictionaryKind::Residential, builder));
        CheckReport(ReadSkkPostalDictionary(input, SkkDictionaryKind::Office, builder));
        const PostalCodeTable table = builder.build();
        CheckTable(table);
        CheckTyped(table, typed);
    }
    {
        PostalCodeTable::Builder builder;
        try {
            const PostalReadReport report = ReadKenAll(input, builder);
            CheckReport(report);
            if (report.entries == 0)
                Fail("KEN_ALL.CSV accepted without a single entry");
            const PostalCodeTable table = builder.build();
            CheckTable(table);
            CheckTyped(table, typed);
        } catch (const AppError &e) {
            if (e.description().trimmed().isEmpty())
                Fail("KEN_ALL.CSV refused without a message");
        }
    }
    return 0;
}
