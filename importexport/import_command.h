#pragma once

class MainWindow;

// インポート...: a vCard or CSV file of another program into the book. CSV
// goes through the choice of columns; both end in the preview, which adds
// the contacts chosen as one undoable step.
void ImportContacts(MainWindow &main);
