// Arbitrary bytes as an address file. Refusing a file is fine; what loads
// must either be refused by the writer with a reason, or save to bytes that
// load back to the same book (after the writer's folding) and save again to
// the same bytes. Anything else aborts, for libFuzzer to report.

#include "files/cp932_codec.h"
#include "files/csv_reader.h"
#include "files/csv_writer.h"
#include "files/storable_value.h"
#include "model/address_book.h"
#include "model/app_error.h"
#include "model/record_keys.h"

#include <QByteArray>
#include <QString>

#include <cstddef>
#include "fuzz/fuzz_report.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

using namespace Qt::Literals::StringLiterals;

namespace {

// Real books stay far below this; larger inputs only slow the search.
constexpr size_t MaxInputBytes = 1024 * 1024;

QByteArray Escaped(const QString &s) { return FuzzEscaped(s, 200); }

[[noreturn]] void Fail(const char *what, const QByteArray &detail = {})
{
    FuzzFail("fuzz_csv_reader", what, detail);
}

void CheckRefusal(const AppError &e, const char *when)
{
    if (e.description().trimmed().isEmpty())
        Fail(when, "refused without a message");
}

// What a reader hands over: keys "s1".."sN" in order, each record owned by
// the book, and a progress call after every record.
LoadedBook LoadChecked(QByteArrayView bytes)
{
    int progressCalls = 0;
    bool progressInOrder = true;
    LoadedBook loaded = LoadBookFromBytes(bytes, [&](int n) {
        ++progressCalls;
        progressInOrder = progressInOrder && n == progressCalls;
    });
    Cls_管理 &book = *loaded.book;
    if (!progressInOrder || progressCalls != book.Count())
        Fail("progress calls do not count the records one by one");
    // The header and every record each advance the counter once.
    if (loaded.keyCounter != book.Count() + 1)
        Fail("key counter does not follow the records",
             QByteArray::number(loaded.keyCounter) + " for " + QByteArray::number(book.Count()));
    for (int i = 1; i <= book.Count(); ++i) {
        Cls_住所 &r = book.Item(i);
        if (r.PSkey != MakeRecordKey(i) || book.PositionOf(r.PSkey) != i)
            Fail("record key out of order", QByteArray::number(i) + " has " + Escaped(r.PSkey));
        if (!r.has管理() || &r.管理() != &book)
            Fail("record not owned by its book", QByteArray::number(i));
    }
    return loaded;
}

// The first field the storage check refuses, or -1 (as position*8+field).
int FirstUnstorable(const Cls_管理 &book)
{
    int position = 0;
    for (const auto &r : book) {
        ++position;
        for (int f = 0; f < FieldCount; ++f) {
            if (!CheckStorableValue(r->field(Field(f))).ok())
                return position * 8 + f;
        }
    }
    return -1;
}

void CompareBooks(const Cls_管理 &original, const Cls_管理 &reloaded)
{
    if (original.Count() != reloaded.Count())
        Fail("saved book reloads with another record count",
             QByteArray::number(original.Count()) + " -> " + QByteArray::number(reloaded.Count()));
    for (int i = 1; i <= original.Count(); ++i) {
        const Cls_住所 &a = original.Item(i);
        const Cls_住所 &b = reloaded.Item(i);
        for (int f = 0; f < FieldCount; ++f) {
            QString expected = a.field(Field(f));
            FoldToCp932Forms(expected);
            if (b.field(Field(f)) != expected) {
                Fail("saved value reloads differently",
                     "record " + QByteArray::number(i) + " field " + QByteArray::number(f) + ": \""
                         + Escaped(expected) + "\" -> \"" + Escaped(b.field(Field(f))) + "\"");
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > MaxInputBytes)
        return 0;
    const QByteArrayView input(reinterpret_cast<const char *>(data), qsizetype(size));

    LoadedBook loaded;
    try {
        loaded = LoadChecked(input);
    } catch (const AppError &e) {
        CheckRefusal(e, "load");
        return 0;
    }
    const Cls_管理 &book = *loaded.book;

    QByteArray saved;
    try {
        saved = EncodeBook(book);
    } catch (const AppError &e) {
        CheckRefusal(e, "save");
        // The writer refuses only what the storage check (which the entry
        // form uses) refuses too.
        if (FirstUnstorable(book) < 0)
            Fail("save refused a book whose every value passes the storage check",
                 e.description().toUtf8());
        return 0;
    }
    if (const int at = FirstUnstorable(book); at >= 0)
        Fail("save accepted a value the storage check refuses",
             "record " + QByteArray::number(at / 8) + " field " + QByteArray::number(at % 8));

    LoadedBook reloaded;
    try {
        reloaded = LoadChecked(saved);
    } catch (const AppError &e) {
        Fail("a saved book does not load", e.description().toUtf8());
    }
    if (reloaded.invalidSequences != 0)
        Fail("a saved book holds undecodable bytes");
    CompareBooks(book, *reloaded.book);

    QByteArray savedAgain;
    try {
        savedAgain = EncodeBook(*reloaded.book);
    } catch (const AppError &e) {
        Fail("a reloaded book cannot be saved again", e.description().toUtf8());
    }
    if (savedAgain != saved) {
        qsizetype at = 0;
        while (at < saved.size() && at < savedAgain.size() && saved[at] == savedAgain[at])
            ++at;
        Fail("saving the reloaded book gives other bytes", "first difference at byte " + QByteArray::number(at));
    }
    return 0;
}
