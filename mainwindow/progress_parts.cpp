#include "mainwindow/progress_parts.h"

#include "mainwindow/main_status_bar.h"

#include <QLabel>
#include <QProgressBar>

using namespace Qt::Literals::StringLiterals;

QLabel *MakeFormLabel(QWidget *form, const QString &name, const QString &text, Qt::Alignment alignment)
{
    auto *label = new QLabel(text, form);
    label->setObjectName(name);
    label->setAlignment(alignment | Qt::AlignVCenter);
    return label;
}

QProgressBar *MakePercentBar(QWidget *form, const QString &barName)
{
    MakeFormLabel(form, u"lbl_Per(0)"_s, u"( 0% )"_s, Qt::AlignRight);
    MakeFormLabel(form, u"lbl_Per(1)"_s, u"( 100% )"_s, Qt::AlignLeft);
    auto *bar = new QProgressBar(form);
    bar->setObjectName(barName);
    bar->setTextVisible(false);
    WhiteProgressBar(bar);
    return bar;
}
