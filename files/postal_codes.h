#pragma once

#include "files/postal_check.h"
#include "files/postal_code_table.h"

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>

// Where the postal codes come from, loaded on first use.
//
// The user's KEN_ALL.CSV when one is set and it reads; otherwise (and then
// saying why) the dictionary Debian ships in skkdic-extra, found among the
// shared data folders as skk/SKK-JISYO.zipcode, with the office codes of
// SKK-JISYO.office.zipcode beside it when that is there too.

struct PostalSourcePaths {
    QString kenAll;       // empty: none set
    QString dictionary;   // SKK-JISYO.zipcode; empty: not installed

    // The given KEN_ALL.CSV and the installed Debian dictionary.
    static PostalSourcePaths Default(const QString &kenAll = {});
};

enum class PostalSourceKind { None, DebianDictionary, KenAll };

struct PostalSourceInfo {
    PostalSourceKind kind = PostalSourceKind::None;
    QString description;        // "Debian の郵便番号辞書（skkdic-extra）", "KEN_ALL.CSV"
    QDate date;                 // the dictionary's time stamp, else the file's modification date
    int codeCount = 0;
    int entryCount = 0;
    int undecodableLines = 0;   // skipped for bytes that cannot be read
    int skippedLines = 0;       // skipped for another shape
    QStringList files;          // the files read
    QString notice;             // why KEN_ALL.CSV is not in use, or why there are no codes
};

// The installed Debian dictionary, or empty.
QString DebianPostalDictionaryPath();
// The office dictionary that goes with a dictionary path (it may not exist).
QString OfficePostalDictionaryPath(const QString &dictionary);

// Whether a source is there to load, without reading it: the GUI disables
// its postal-code commands otherwise and shows PostalUnavailableText().
bool PostalSourceAvailable(const PostalSourcePaths &paths);
QString PostalUnavailableText();

// Reads the sources now. Never throws: without usable data the table is
// empty and the info's notice says why.
PostalSourceInfo LoadPostalSource(const PostalSourcePaths &paths, PostalCodeTable &table);

class PostalCodes {
public:
    explicit PostalCodes(PostalSourcePaths paths = PostalSourcePaths::Default());

    const PostalSourcePaths &paths() const { return m_paths; }
    // A new source; what was loaded is dropped and read again on next use.
    void setPaths(PostalSourcePaths paths);

    bool isAvailable() const { return PostalSourceAvailable(m_paths); }
    bool isLoaded() const { return m_info.has_value(); }

    const PostalCodeTable &table();
    const PostalSourceInfo &info();

    QList<PostalEntry> Lookup(QStringView code) { return table().Lookup(code); }
    QList<PostalEntry> LookupAddress(QStringView address1) { return table().LookupAddress(address1); }
    PostalCheckResult Check(QStringView yubin, QStringView ju1) { return CheckPostalEntry(table(), yubin, ju1); }

private:
    void load();

    PostalSourcePaths m_paths;
    PostalCodeTable m_table;
    std::optional<PostalSourceInfo> m_info;
};
