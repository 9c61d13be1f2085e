#pragma once

class MainWindow;

// エクスポート...: the whole book, in book order, into a vCard 3.0 or a
// UTF-8 CSV file for other programs; the file is replaced only by a whole
// export. The book and its own file are not touched.
void ExportBook(MainWindow &main);
