#include "settings/settings_store.h"

#include <QSettings>
#include <QStringList>
#include <QVariant>

#include <optional>

using namespace Qt::Literals::StringLiterals;

namespace {

// Names in `names` equal to `name` without regard to case, the exact spelling
// first so that it wins when a hand-edited file holds several spellings.
QStringList matchingNames(const QStringList &names, const QString &name)
{
    QStringList found;
    if (names.contains(name))
        found << name;
    for (const QString &n : names) {
        if (n != name && n.compare(name, Qt::CaseInsensitive) == 0)
            found << n;
    }
    return found;
}

// Every "Section/Key" path in the file that names section/key in any letter case.
QStringList matchingPaths(QSettings &settings, const QString &section, const QString &key)
{
    QStringList paths;
    const QStringList groups = matchingNames(settings.childGroups(), section);
    for (const QString &group : groups) {
        settings.beginGroup(group);
        const QStringList keys = matchingNames(settings.childKeys(), key);
        settings.endGroup();
        for (const QString &k : keys)
            paths << group + u'/' + k;
    }
    return paths;
}

std::optional<QString> findPath(QSettings &settings, const QString &section, const QString &key)
{
    const QStringList paths = matchingPaths(settings, section, key);
    if (paths.isEmpty())
        return std::nullopt;
    return paths.first();
}

// The INI reader turns an unquoted value with commas into a list; our
// values are always single texts.
QString asText(const QVariant &value)
{
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(u',');
    return value.toString();
}

} // namespace

SettingsStore::SettingsStore()
    : m_settings(std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                             u"Yuzaribo"_s, u"Yuzaribo"_s))
{
    // The store is the user's file alone; a system-wide file would bring back
    // values that a save cannot remove.
    m_settings->setFallbacksEnabled(false);
}

SettingsStore::SettingsStore(const QString &iniPath)
    : m_settings(std::make_unique<QSettings>(iniPath, QSettings::IniFormat))
{
    m_settings->setFallbacksEnabled(false);
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::get(const QString &section, const QString &key,
                           const QString &defaultValue) const
{
    const std::optional<QString> path = findPath(*m_settings, section, key);
    if (!path)
        return defaultValue;
    return asText(m_settings->value(*path));
}

bool SettingsStore::contains(const QString &section, const QString &key) const
{
    return findPath(*m_settings, section, key).has_value();
}

void SettingsStore::save(const QString &section, const QString &key, const QString &value)
{
    // One spelling per key: the caller's. Other spellings of the same name
    // would otherwise shadow or be shadowed by it on the next read.
    const QString canonical = section + u'/' + key;
    const QStringList paths = matchingPaths(*m_settings, section, key);
    for (const QString &path : paths) {
        if (path != canonical)
            m_settings->remove(path);
    }
    m_settings->setValue(canonical, value);
}

bool SettingsStore::sync()
{
    m_settings->sync();
    return m_settings->status() == QSettings::NoError;
}

QString SettingsStore::fileName() const
{
    return m_settings->fileName();
}
