#include "print/label_sheet_picture.h"

#include "files/label_sheet.h"
#include "print/standard_label_sheet.h"

#include <QPainter>
#include <QPainterPath>

using namespace Qt::Literals::StringLiterals;

LabelSheetPicture::LabelSheetPicture(QWidget *parent) : QWidget(parent)
{
    setObjectName(u"pic_見本"_s);
}

void LabelSheetPicture::SetSheet(const LabelSheet *sheet)
{
    m_sheet = sheet;
    update();
}

void LabelSheetPicture::paintEvent(QPaintEvent *)
{
    QSizeF paper(210, 297);
    struct Label {
        QRectF rect;
        double radius;
    };
    std::vector<Label> labels;
    if (m_sheet) {
        paper = m_sheet->paperMm;
        for (const QRectF &r : m_sheet->LabelRects())
            labels.push_back({r, m_sheet->roundMm});
    } else {
        const double left = 400 * 25.4 / 1440, top = 700 * 25.4 / 1440;
        for (int n = 0; n < StandardLabelCount; ++n)
            labels.push_back({QRectF(left + (n % 2) * StandardLabelWidthMm, top + (n / 2) * StandardLabelHeightMm,
                                     StandardLabelWidthMm, StandardLabelHeightMm),
                              0});
    }
    if (paper.isEmpty())
        return;

    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect()).adjusted(6, 6, -6, -6);
    const double scale = std::min(area.width() / paper.width(), area.height() / paper.height());
    const QSizeF drawn = paper * scale;
    painter.translate(area.x() + (area.width() - drawn.width()) / 2, area.y() + (area.height() - drawn.height()) / 2);
    // A soft shadow, then the paper.
    painter.fillRect(QRectF(QPointF(2, 2), drawn), QColor(0x8F, 0xB3, 0xBD, 90));
    painter.fillRect(QRectF(QPointF(), drawn), Qt::white);
    painter.setPen(QPen(QColor(0x8F, 0xB3, 0xBD), 1));
    painter.drawRect(QRectF(QPointF(), drawn));
    for (size_t i = 0; i < labels.size(); ++i) {
        const QRectF r(labels[i].rect.topLeft() * scale, labels[i].rect.size() * scale);
        const double radius = labels[i].radius * scale;
        painter.setPen(QPen(QColor(0x3A, 0x7C, 0xA5), 0.8));
        painter.setBrush(i == 0 ? QColor(0xF6, 0xD4, 0x7A) : QColor(0xE6, 0xF3, 0xF1));
        painter.drawRoundedRect(r, radius, radius);
    }
}
