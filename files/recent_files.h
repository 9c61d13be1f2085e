#pragma once

#include <QList>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QObject;
struct SettingsRecord;

// The recent-files entries of the File menu, newest first, kept in
// AppSettings (RecentMax places, RecentCount in use) and shown as the menu
// items mm_最近ファイル(i) above the separator mm_haiSaikin.
class RecentFilesMenu {
public:
    RecentFilesMenu(QMenu *fileMenu, QAction *separator, QAction *entry0,
                    SettingsRecord &settings, QObject *owner);

    // Called with the place of the entry the user chose.
    void setOpenHandler(std::function<void(int)> handler);

    // Makes entries 1 .. max - 1 exist (entry 0 always does); extra ones go.
    void EnsureEntries(int max);
    // Shows the stored list.
    void BuildRecentMenu();
    // Puts path at place 0; a path already listed moves up, the oldest drops out.
    void AddRecentFile(const QString &path);
    // A new number of places (0 to 20): the menu gains or loses entries (entry
    // 0 always stays), the list keeps its first paths, and with no places at
    // all the whole section, separator included, is hidden.
    void ChangeMaximum(int max);
    // Forgets every path and hides the section; the store keeps them until
    // the settings are next saved.
    void ClearAll();

    int entryCount() const { return int(m_entries.size()); }
    QAction *entry(int i) const { return m_entries.value(i); }
    // The path behind an entry, exactly as stored.
    QString entryPath(int i) const;

private:
    QAction *makeEntry(int i);
    void showPlaces();

    QMenu *m_menu;
    QAction *m_separator;
    SettingsRecord &m_settings;
    QObject *m_owner;
    QList<QAction *> m_entries;
    std::function<void(int)> m_open;
};
