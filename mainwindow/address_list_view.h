#pragma once

#include <QStackedWidget>

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QTreeView;
class AddressListModel;

// ListView1: one list in four view modes over one model and one selection.
// The report (mode 3) is a tree view with the seven columns; large icons,
// small icons and the name list (modes 0 to 2) are a list view.
class AddressListView : public QStackedWidget {
    Q_OBJECT
public:
    enum Mode { LargeIcons = 0, SmallIcons = 1, List = 2, Report = 3 };

    explicit AddressListView(QWidget *parent = nullptr);

    void setListModel(AddressListModel *model);
    AddressListModel *listModel() const { return m_model; }
    QItemSelectionModel *selectionModel() const;

    // The columns' widths in twips follow the screen width: a screen 12000
    // twips wide gets the narrow set.
    void SetupColumns(int screenWidthTwips);

    int viewMode() const { return m_mode; }
    void setViewMode(int mode);

    // The view that shows the current mode.
    QAbstractItemView *currentView() const;
    QTreeView *reportView() const { return m_report; }
    QListView *iconView() const { return m_icons; }

    // The selected entry's row, or -1.
    int currentRow() const;
    // Selects and shows a row without counting as the user's pick.
    void setCurrentRow(int row);

    // Stores the text of an open name editor and closes it.
    void commitEdit();

    void setListColours(const QColor &background, const QColor &text);
    void setListFont(const QFont &font);

Q_SIGNALS:
    // The user picked an entry with the mouse or the keyboard.
    void itemClicked(int row);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectView(QAbstractItemView *view);

    AddressListModel *m_model = nullptr;
    QTreeView *m_report;
    QListView *m_icons;
    int m_mode = Report;
    // True while the views handle a key or mouse press: only then is a new
    // current entry the user's pick (focus and loading move it too).
    bool m_userInput = false;
};
