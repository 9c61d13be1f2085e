#include "files/csv_writer.h"

#include "files/cp932_codec.h"
#include "files/storable_value.h"
#include "model/app_error.h"

#include <QFileInfo>
#include <QSaveFile>

using namespace Qt::Literals::StringLiterals;

namespace {

[[noreturn]] void refuseValue(int position, const Cls_住所 &record, int field, const StorageCheck &check)
{
    QString name = record.PName;
    if (name.size() > 40)
        name = name.left(40) + u"…"_s;
    throw AppError(u"%1件目の「%2」は保存できません。\n%3\n住所録は保存されていません。"_s
                       .arg(position)
                       .arg(name, StorageProblemText(check, FieldCaptions()[size_t(field)])));
}

// The slow path after the encoder stopped: find the first value at fault.
[[noreturn]] void refuseFirstUnstorable(const Cls_管理 &book)
{
    int position = 0;
    for (const auto &record : book) {
        ++position;
        for (int f = 0; f < FieldCount; ++f) {
            const StorageCheck check = CheckStorableValue(record->field(Field(f)));
            if (!check.ok())
                refuseValue(position, *record, f, check);
        }
    }
    throw AppError(u"住所録をShift_JISに変換できませんでした。住所録は保存されていません。"_s);
}

} // namespace

QByteArray EncodeBook(const Cls_管理 &book)
{
    QString text;
    // About 100 characters a line in a typical book; one allocation for the lot.
    text.reserve(128 + qsizetype(book.Count()) * 128);

    const auto &captions = FieldCaptions();
    text += captions[0] + u'(' + QString::number(book.Count()) + u')';
    for (int f = 1; f < FieldCount; ++f)
        text += u',' + captions[size_t(f)];
    text += u"\r\n";

    int position = 0;
    for (const auto &record : book) {
        ++position;
        for (int f = 0; f < FieldCount; ++f) {
            const QString &value = record->field(Field(f));
            if (f > 0)
                text += u',';
            if (!NeedsQuotes(value)) {
                text += value;
                continue;
            }
            // Quoted values end at their next double quote.
            if (value.contains(u'"'))
                refuseValue(position, *record, f, CheckStorableValue(value));
            text += u'"';
            text += value;
            text += u'"';
        }
        text += u"\r\n";
    }

    FoldToCp932Forms(text);
    EncodedText encoded = EncodeCp932(text);
    if (!encoded.ok())
        refuseFirstUnstorable(book);
    return std::move(encoded.bytes);
}

void WriteFileAtomically(const QString &path, const QByteArray &bytes)
{
    if (path.isEmpty())
        throw AppError(u"保存するファイルの名前がありません。"_s);
    if (QFileInfo(path).isDir())
        throw AppError(u"「%1」はフォルダーのため、住所録を保存できません。"_s.arg(path));

    const QString kept = u"元のファイルは変更されていません。"_s;
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw AppError(u"ファイル「%1」を保存できません（%2）。\n%3"_s.arg(path, file.errorString(), kept));

    // Qt can report a short write on a full disk as success (QTBUG-75077):
    // check every byte, the flush and the error state before committing.
    const qint64 written = file.write(bytes);
    if (written != bytes.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        QString why = file.errorString();
        if (file.error() == QFileDevice::NoError)
            why = u"書き込みが途中で止まりました"_s;
        file.cancelWriting();
        throw AppError(u"ファイル「%1」を保存できませんでした（%2）。\n%3"_s.arg(path, why, kept));
    }
    if (!file.commit())
        throw AppError(u"ファイル「%1」を保存できませんでした（%2）。\n%3"_s.arg(path, file.errorString(), kept));
}

void SaveBookToFile(const QString &path, const Cls_管理 &book)
{
    WriteFileAtomically(path, EncodeBook(book));
}
