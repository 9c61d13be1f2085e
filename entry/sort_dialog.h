#pragma once

#include "entry/picture_dialog.h"
#include "model/record_order.h"

#include <array>
#include <functional>

class PictureButton;
class QRadioButton;

// F_Narabekae: the key and the direction of a sort. It sorts nothing
// itself: 並べ替え hands the choice to the caller and closes the window;
// 閉じる, Esc and the close box leave everything as it was.
class SortDialog : public PictureDialog {
    Q_OBJECT
public:
    using Apply = std::function<void(SortOrder)>;

    // Shows the dialog application-modal over owner, starting from initial.
    static SortDialog *Open(QWidget *owner, SortOrder initial, Apply apply);

    SortDialog(QWidget *owner, SortOrder initial, Apply apply);

    SortOrder chosen() const;
    void Go();

private:
    std::array<QRadioButton *, 4> m_keys{};
    std::array<QRadioButton *, 2> m_directions{};
    PictureButton *m_go = nullptr;
    Apply m_apply;
};
