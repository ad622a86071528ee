#include "app/main_window/list_views.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTableView>

namespace vistello::app {

void configureListView(QTableView* view, std::initializer_list<int> columnWidths) {
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setShowGrid(true);
    view->setWordWrap(false);
    view->setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(18);
    view->verticalHeader()->setMinimumSectionSize(18);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->horizontalHeader()->setStretchLastSection(false);
    view->horizontalHeader()->setMinimumSectionSize(16);
    view->setIconSize(QSize(16, 16));
    int column = 0;
    for (int width : columnWidths) {
        view->setColumnWidth(column, width);
        if (column == 0)
            view->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Fixed);
        ++column;
    }
    // The selection stays visible while the list has no focus.
    QPalette palette = view->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    view->setPalette(palette);
}

int selectedRow(const QTableView* view) {
    const QModelIndexList rows = view->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}

void selectRow(QTableView* view, int row) {
    const QSignalBlocker blocker(view->selectionModel());
    if (row < 0 || row >= view->model()->rowCount()) {
        view->selectionModel()->clearSelection();
    } else {
        view->selectionModel()->setCurrentIndex(
            view->model()->index(row, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }
    view->viewport()->update();
}

void ScrollToSelected(QTableView* view) {
    const int selected = selectedRow(view);
    if (selected < 0) {
        view->scrollToTop();
        return;
    }
    view->scrollTo(view->model()->index(selected, 1), QAbstractItemView::EnsureVisible);
}

} // namespace vistello::app
