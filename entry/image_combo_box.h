#pragma once

#include <QComboBox>

// A drop-down list of entries with pictures (the field chooser of the search
// dialog). Unlike the plain combo boxes it is not tinted as an input field.
class ImageComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit ImageComboBox(QWidget *parent = nullptr) : QComboBox(parent) { setEditable(false); }
};
