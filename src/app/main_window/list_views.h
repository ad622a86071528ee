#pragma once
// The report-style list views of the main window: set-up and scrolling.

#include <initializer_list>

class QTableView;

namespace vistello::app {

// Report style: grid lines, read-only, whole-row single selection that stays visible without
// focus, no row header; column widths in pixels, the first (icon) column fixed.
void configureListView(QTableView* view, std::initializer_list<int> columnWidths);

// The selected row of a whole-row single-selection view, -1 for none.
int selectedRow(const QTableView* view);

// Selects `row` (-1 or a row past the end clears the selection) without the selection model's
// change signals, so that no change handler runs.
void selectRow(QTableView* view, int row);

// Scrolls so that the selected row is visible: a row below the view becomes the last fully
// visible row, a row above it the first; with no selection the view goes to the top.
void ScrollToSelected(QTableView* view);

} // namespace vistello::app
