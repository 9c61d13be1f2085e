#pragma once

#include <QWidget>

struct LabelSheet;

// A small drawing of a sheet: the paper and its labels to scale, the first
// label marked, so the user can tell sheets of the same size apart.
class LabelSheetPicture : public QWidget {
    Q_OBJECT
public:
    explicit LabelSheetPicture(QWidget *parent = nullptr);

    // The sheet to draw; null draws the standard sheet.
    void SetSheet(const LabelSheet *sheet);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    const LabelSheet *m_sheet = nullptr;
};
