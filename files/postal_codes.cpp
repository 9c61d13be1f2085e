#include "files/postal_codes.h"

#include "files/postal_dictionary_reader.h"
#include "model/app_error.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::Literals::StringLiterals;

namespace {

// A whole file's bytes. Read rather than mapped: a mapped file cut short
// by another program while we read it would kill us with SIGBUS.
// Throws AppError when the file is missing, too large or unreadable.
QByteArray readPostalFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.exists())
        throw AppError(u"ファイルが見つかりません。"_s);
    if (!info.isFile())
        throw AppError(u"ファイルではありません。"_s);
    if (info.size() > MaxPostalFileBytes)
        throw AppError(u"ファイルが大きすぎます（64 MB を超えています）。"_s);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw AppError(u"ファイルを読めません（%1）。"_s.arg(file.errorString()));
    // One byte past the limit, so a file that grew since is still refused.
    const QByteArray bytes = file.read(MaxPostalFileBytes + 1);
    if (bytes.size() > MaxPostalFileBytes)
        throw AppError(u"ファイルが大きすぎます（64 MB を超えています）。"_s);
    if (file.error() != QFile::NoError)
        throw AppError(u"ファイルを読めません（%1）。"_s.arg(file.errorString()));
    return bytes;
}

QDate modificationDate(const QString &path)
{
    return QFileInfo(path).lastModified().date();
}

// For quoting a message inside （…）.
QString withoutFullStop(QString text)
{
    if (text.endsWith(u'。'))
        text.chop(1);
    return text;
}

bool usableFile(const QString &path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.isFile() && info.isReadable() && info.size() <= MaxPostalFileBytes;
}

void addReport(PostalSourceInfo &info, const PostalReadReport &report)
{
    info.undecodableLines += report.undecodableLines;
    info.skippedLines += report.skippedLines;
}

// The Debian dictionary into info and table; false when it cannot be read.
bool loadDebianDictionary(const QString &dictionary, PostalSourceInfo &info, PostalCodeTable &table,
                          QString &problem)
{
    PostalCodeTable::Builder builder;
    try {
        const QByteArray residential = readPostalFile(dictionary);
        builder.reserveText(residential.size() / 2);
        const PostalReadReport report =
            ReadSkkPostalDictionary(residential, SkkDictionaryKind::Residential, builder);
        addReport(info, report);
        info.date = report.timestamp.isValid() ? report.timestamp : modificationDate(dictionary);
        info.files.append(dictionary);
    } catch (const AppError &e) {
        problem = e.description();
        return false;
    }
    // The office codes are a welcome extra; without them the residential ones still serve.
    const QString office = OfficePostalDictionaryPath(dictionary);
    if (QFileInfo(office).isFile()) {
        try {
            const QByteArray bytes = readPostalFile(office);
            addReport(info, ReadSkkPostalDictionary(bytes, SkkDictionaryKind::Office, builder));
            info.files.append(office);
        } catch (const AppError &) {
        }
    }
    table = builder.build();
    info.kind = PostalSourceKind::DebianDictionary;
    info.description = u"Debian の郵便番号辞書（skkdic-extra）"_s;
    return true;
}

} // namespace

PostalSourcePaths PostalSourcePaths::Default(const QString &kenAll)
{
    return {kenAll, DebianPostalDictionaryPath()};
}

QString DebianPostalDictionaryPath()
{
    return QStandardPaths::locate(QStandardPaths::GenericDataLocation, u"skk/SKK-JISYO.zipcode"_s);
}

QString OfficePostalDictionaryPath(const QString &dictionary)
{
    if (dictionary.isEmpty())
        return {};
    return QFileInfo(dictionary).dir().filePath(u"SKK-JISYO.office.zipcode"_s);
}

bool PostalSourceAvailable(const PostalSourcePaths &paths)
{
    return usableFile(paths.kenAll) || usableFile(paths.dictionary);
}

QString PostalUnavailableText()
{
    return u"郵便番号辞書が見つかりません。skkdic-extra パッケージをインストールするか、"
           u"KEN_ALL.CSV を指定してください。"_s;
}

PostalSourceInfo LoadPostalSource(const PostalSourcePaths &paths, PostalCodeTable &table)
{
    PostalSourceInfo info;
    table = PostalCodeTable();
    QString kenAllProblem;
    if (!paths.kenAll.isEmpty()) {
        try {
            const QByteArray bytes = readPostalFile(paths.kenAll);
            PostalCodeTable::Builder builder;
            builder.reserveText(bytes.size() / 2);
            const PostalReadReport report = ReadKenAll(bytes, builder);
            table = builder.build();
            addReport(info, report);
            info.kind = PostalSourceKind::KenAll;
            info.description = u"KEN_ALL.CSV"_s;
            info.date = modificationDate(paths.kenAll);
            info.files.append(paths.kenAll);
        } catch (const AppError &e) {
            kenAllProblem = e.description();
        }
    }

    if (info.kind == PostalSourceKind::None) {
        QString dictionaryProblem;
        if (!paths.dictionary.isEmpty()
            && loadDebianDictionary(paths.dictionary, info, table, dictionaryProblem)) {
            if (!kenAllProblem.isEmpty())
                info.notice = u"KEN_ALL.CSV を使えないため、Debian の郵便番号辞書を使っています。"
                              u"（%1）"_s.arg(withoutFullStop(kenAllProblem));
        } else {
            if (!kenAllProblem.isEmpty())
                info.notice += u"KEN_ALL.CSV を使えません（%1）。"_s.arg(withoutFullStop(kenAllProblem));
            if (!dictionaryProblem.isEmpty())
                info.notice += u"郵便番号辞書を読めません（%1）。"_s.arg(withoutFullStop(dictionaryProblem));
            info.notice += PostalUnavailableText();
        }
    }
    info.codeCount = table.codeCount();
    info.entryCount = table.entryCount();
    return info;
}

PostalCodes::PostalCodes(PostalSourcePaths paths) : m_paths(std::move(paths)) {}

void PostalCodes::setPaths(PostalSourcePaths paths)
{
    m_paths = std::move(paths);
    m_table = PostalCodeTable();
    m_info.reset();
}

void PostalCodes::load()
{
    if (!m_info)
        m_info = LoadPostalSource(m_paths, m_table);
}

const PostalCodeTable &PostalCodes::table()
{
    load();
    return m_table;
}

const PostalSourceInfo &PostalCodes::info()
{
    load();
    return m_info.value();
}
