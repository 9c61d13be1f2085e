#pragma once

#include <QString>
#include <memory>

class QSettings;

// The per-user settings store: text values keyed by section and key, the
// names compared without regard to case. Held in a QSettings INI file.
class SettingsStore {
public:
    // The user's store: <config folder>/Yuzaribo/Yuzaribo.ini.
    SettingsStore();
    // A store in the given INI file (tests point this at a temporary folder).
    explicit SettingsStore(const QString &iniPath);
    ~SettingsStore();

    QString get(const QString &section, const QString &key, const QString &defaultValue) const;
    bool contains(const QString &section, const QString &key) const;
    void save(const QString &section, const QString &key, const QString &value);
    // Writes pending changes to disk.
    // Writes what is pending; false when the settings file cannot be written.
    bool sync();

    QString fileName() const;

private:
    std::unique_ptr<QSettings> m_settings;
};
