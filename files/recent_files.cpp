#include "files/recent_files.h"

#include "settings/app_settings.h"

#include <QAction>
#include <QMenu>

#include <algorithm>

using namespace Qt::Literals::StringLiterals;

namespace {

// Menus read "&" as an accelerator; a path shows every character as it is.
QString menuCaption(const QString &path)
{
    return QString(path).replace(u'&', u"&&"_s);
}

} // namespace

RecentFilesMenu::RecentFilesMenu(QMenu *fileMenu, QAction *separator, QAction *entry0,
                                 SettingsRecord &settings, QObject *owner)
    : m_menu(fileMenu), m_separator(separator), m_settings(settings), m_owner(owner)
{
    m_entries.append(entry0);
    QObject::connect(entry0, &QAction::triggered, owner, [this] {
        if (m_open)
            m_open(0);
    });
}

void RecentFilesMenu::setOpenHandler(std::function<void(int)> handler) { m_open = std::move(handler); }

QAction *RecentFilesMenu::makeEntry(int i)
{
    auto *action = new QAction(m_owner);
    action->setObjectName(u"mm_最近ファイル(%1)"_s.arg(i));
    action->setVisible(false);
    m_menu->insertAction(m_separator, action);
    QObject::connect(action, &QAction::triggered, m_owner, [this, i] {
        if (m_open)
            m_open(i);
    });
    return action;
}

void RecentFilesMenu::EnsureEntries(int max)
{
    const int wanted = std::max(1, max);
    while (m_entries.size() < wanted)
        m_entries.append(makeEntry(int(m_entries.size())));
    while (m_entries.size() > wanted)
        delete m_entries.takeLast();
}

QString RecentFilesMenu::entryPath(int i) const
{
    const QAction *action = entry(i);
    return action ? action->data().toString() : QString();
}

void RecentFilesMenu::showPlaces()
{
    SettingsRecord &s = m_settings;
    const int max = std::max<int>(0, s.RecentMax);
    while (s.RecentFiles.size() < max)
        s.RecentFiles.append(QString());
    for (int i = 0; i < max && i < m_entries.size(); ++i) {
        QAction *action = m_entries[i];
        if (i < s.RecentCount) {
            action->setText(menuCaption(s.RecentFiles[i]));
            action->setData(s.RecentFiles[i]);
            action->setVisible(true);
        } else {
            action->setText(QString());
            action->setData(QString());
            action->setVisible(false);
            s.RecentFiles[i] = QString();
        }
    }
    if (s.RecentCount != 0)
        m_separator->setVisible(true);
}

void RecentFilesMenu::BuildRecentMenu()
{
    showPlaces();
}

void RecentFilesMenu::AddRecentFile(const QString &path)
{
    SettingsRecord &s = m_settings;
    if (s.RecentMax <= 0)
        return;
    while (s.RecentFiles.size() < s.RecentMax)
        s.RecentFiles.append(QString());

    // A path already listed leaves its place; the ones below it move up.
    const int found = int(s.RecentFiles.mid(0, s.RecentMax).indexOf(path));
    if (found >= 0 && found < s.RecentCount) {
        for (int k = found; k < s.RecentCount - 1; ++k)
            s.RecentFiles[k] = s.RecentFiles[k + 1];
        s.RecentFiles[s.RecentCount - 1] = QString();
        --s.RecentCount;
    }
    // Everything moves down one place; the entry in the last place drops out.
    for (int j = s.RecentCount - 1; j >= 0; --j) {
        if (j == s.RecentMax - 1)
            --s.RecentCount;
        else
            s.RecentFiles[j + 1] = s.RecentFiles[j];
    }
    s.RecentFiles[0] = path;
    ++s.RecentCount;
    showPlaces();
}

void RecentFilesMenu::ChangeMaximum(int max)
{
    SettingsRecord &s = m_settings;
    max = std::clamp(max, 0, 20);
    EnsureEntries(max);
    s.RecentMax = qint16(max);
    if (max == 0) {
        s.RecentCount = 0;
        s.RecentFiles = QStringList{QString()};
        m_entries[0]->setText(QString());
        m_entries[0]->setData(QString());
        m_entries[0]->setVisible(false);
        m_separator->setVisible(false);
        return;
    }
    s.RecentFiles.resize(max);
    if (s.RecentCount > max)
        s.RecentCount = qint16(max);
    for (int i = 0; i < max; ++i) {
        QAction *action = m_entries[i];
        const bool used = i < s.RecentCount;
        action->setText(used ? menuCaption(s.RecentFiles[i]) : QString());
        action->setData(used ? s.RecentFiles[i] : QString());
        action->setVisible(used);
    }
}

void RecentFilesMenu::ClearAll()
{
    SettingsRecord &s = m_settings;
    s.RecentCount = 0;
    const int max = std::max<int>(0, s.RecentMax);
    while (s.RecentFiles.size() < max)
        s.RecentFiles.append(QString());
    for (int i = 0; i < max; ++i) {
        s.RecentFiles[i] = QString();
        if (QAction *action = entry(i)) {
            action->setText(QString());
            action->setData(QString());
            action->setVisible(false);
        }
    }
    m_separator->setVisible(false);
}
