#pragma once

class QWidget;

// Gives the text boxes, combo boxes and list boxes that exist on a form the
// input background colour (250, 250, 228). Item views such as the address
// list, labels and buttons keep their own colours; controls made later are
// not tinted.
void TintInputControls(QWidget *form);
