#include "files/import_source.h"

#include "files/cp932_codec.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr qsizetype RecognitionWindow = 64 * 1024;

QString TooLargeText(qint64 size)
{
    const qint64 megabytes = (size + 1024 * 1024 - 1) / (1024 * 1024);
    return u"ファイルが大きすぎます（約%1MB）。取り込めるのは%2MBまでです。"_s
        .arg(megabytes)
        .arg(MaxImportFileBytes / (1024 * 1024));
}

QString UnreadableText(const QString &path)
{
    return u"ファイル「%1」を読み取れません。"_s.arg(QFileInfo(path).fileName());
}

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(QByteArrayView bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.data());
    const auto *const end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length;
        char32_t min;
        char32_t cp;
        if ((c & 0xE0) == 0xC0) {
            length = 2, min = 0x80, cp = c & 0x1F;
        } else if ((c & 0xF0) == 0xE0) {
            length = 3, min = 0x800, cp = c & 0x0F;
        } else if ((c & 0xF8) == 0xF0) {
            length = 4, min = 0x10000, cp = c & 0x07;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        for (int i = 1; i < length; ++i) {
            if ((p[i] & 0xC0) != 0x80)
                return false;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        p += length;
    }
    return true;
}

bool HasNulByte(QByteArrayView bytes)
{
    return bytes.indexOf('\0') >= 0;
}

// The first line that holds more than blanks.
QStringView FirstContentLine(QStringView text)
{
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = start;
        while (end < text.size() && text[end] != u'\n' && text[end] != u'\r')
            ++end;
        const QStringView line = text.sliced(start, end - start);
        if (!line.trimmed().isEmpty())
            return line;
        start = end + 1;
    }
    return {};
}

} // namespace

QString ImportFileProblem(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        return u"ファイル「%1」が見つかりません。"_s.arg(info.fileName());
    if (info.isDir())
        return u"「%1」はフォルダーです。取り込むファイルを選んでください。"_s.arg(info.fileName());
    if (info.size() > MaxImportFileBytes)
        return TooLargeText(info.size());
    if (!info.isReadable())
        return UnreadableText(path);
    return {};
}

ImportFileBytes ReadImportFile(const QString &path)
{
    ImportFileBytes result;
    result.problem = ImportFileProblem(path);
    if (!result.ok())
        return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.problem = UnreadableText(path);
        return result;
    }
    // One byte more than allowed tells a file that grew since the check.
    result.bytes = file.read(MaxImportFileBytes + 1);
    if (file.error() != QFileDevice::NoError) {
        result.bytes.clear();
        result.problem = UnreadableText(path);
    } else if (result.bytes.size() > MaxImportFileBytes) {
        result.bytes.clear();
        result.problem = TooLargeText(qMax(file.size(), MaxImportFileBytes + 1));
    }
    return result;
}

TextEncoding DetectTextEncoding(QByteArrayView bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return TextEncoding::Utf8Bom;
    if (bytes.startsWith("\xFF\xFE"))
        return TextEncoding::Utf16Le;
    if (bytes.startsWith("\xFE\xFF"))
        return TextEncoding::Utf16Be;
    return IsValidUtf8(bytes) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

QString TextEncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8: return u"UTF-8"_s;
    case TextEncoding::Utf8Bom: return u"UTF-8（BOM付き）"_s;
    case TextEncoding::Utf16Le: return u"UTF-16LE"_s;
    case TextEncoding::Utf16Be: return u"UTF-16BE"_s;
    case TextEncoding::Cp932: break;
    }
    return u"Shift_JIS（CP932）"_s;
}

QString DecodeImportText(QByteArrayView bytes, TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8:
    case TextEncoding::Utf8Bom: {
        if (bytes.startsWith("\xEF\xBB\xBF"))
            bytes = bytes.sliced(3);
        // One mark is dropped above; a second one would be text.
        QStringDecoder decoder(QStringConverter::Utf8,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        return decoder.decode(bytes);
    }
    case TextEncoding::Utf16Le:
    case TextEncoding::Utf16Be: {
        // Stateless: a lone byte at the end becomes U+FFFD instead of vanishing.
        QStringDecoder decoder(encoding == TextEncoding::Utf16Le ? QStringConverter::Utf16LE
                                                                 : QStringConverter::Utf16BE,
                               QStringConverter::Flag::Stateless | QStringConverter::Flag::ConvertInitialBom);
        if (bytes.startsWith(encoding == TextEncoding::Utf16Le ? "\xFF\xFE" : "\xFE\xFF"))
            bytes = bytes.sliced(2);
        return decoder.decode(bytes);
    }
    case TextEncoding::Cp932:
        break;
    }
    return DecodeCp932(bytes).text;
}

ImportFormat RecogniseImportFormat(QByteArrayView bytes, QStringView fileName)
{
    QByteArrayView head = bytes.first(qMin(bytes.size(), RecognitionWindow));
    // The window may cut a UTF-8 character in two, and the head then reads
    // as CP932; commas, tabs and a leading BEGIN:VCARD come through either way.
    const TextEncoding encoding = DetectTextEncoding(head);
    const bool utf16 = encoding == TextEncoding::Utf16Le || encoding == TextEncoding::Utf16Be;
    if (!utf16 && HasNulByte(head))
        return ImportFormat::Unknown;
    const QString text = DecodeImportText(head, encoding);
    const QStringView line = FirstContentLine(text).trimmed();
    if (line.startsWith(u"BEGIN:VCARD"_s, Qt::CaseInsensitive))
        return ImportFormat::VCard;
    if (line.contains(u',') || line.contains(u'\t'))
        return ImportFormat::Csv;

    const qsizetype dot = fileName.lastIndexOf(u'.');
    const QStringView suffix = dot >= 0 ? fileName.sliced(dot + 1) : QStringView();
    for (const auto &vcf : {u"vcf"_s, u"vcard"_s}) {
        if (suffix.compare(vcf, Qt::CaseInsensitive) == 0)
            return ImportFormat::VCard;
    }
    for (const auto &csv : {u"csv"_s, u"tsv"_s, u"txt"_s}) {
        if (suffix.compare(csv, Qt::CaseInsensitive) == 0)
            return ImportFormat::Csv;
    }
    return ImportFormat::Unknown;
}

QString UnrecognisedImportText()
{
    return u"vCard（.vcf）またはCSVのファイルとして読み取れませんでした。"_s;
}
