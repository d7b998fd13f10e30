#include "SourceTreeList.h"

#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QUrl>

const char* const TSourceTreeList::RowsMimeType = "application/x-vantorel-source-rows";

namespace {

const char* const Captions[TSourceTreeList::ColumnCount] = {
    "", "File Name", "File Size", "Duration", "Start Time", "End Time", "Cut Time"};
// Relative widths of the visible columns; they share the grid's width.
const int Weights[TSourceTreeList::ColumnCount] = {0, 68, 28, 28, 28, 28, 28};

} // namespace

QStringList LocalFilesOfDrop(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) paths << url.toLocalFile();
    return paths;
}

TSourceTreeList::TSourceTreeList(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(ColumnCount);
    QStringList captions;
    for (const char* caption : Captions)
        captions << QString::fromUtf8(caption);
    setHeaderLabels(captions);
    setColumnHidden(colCheck, true);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setFrameShape(QFrame::Box);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setDragEnabled(true);
    setAcceptDrops(true);
    setDragDropMode(QAbstractItemView::DragDrop);
    setDefaultDropAction(Qt::MoveAction);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    header()->setSectionsMovable(false);
    header()->setSectionResizeMode(QHeaderView::Interactive);
    header()->setStretchLastSection(true);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    // The selection stays visible when the grid loses the focus.
    QPalette colours = palette();
    for (QPalette::ColorRole role : {QPalette::Highlight, QPalette::HighlightedText})
        colours.setColor(QPalette::Inactive, role, colours.color(QPalette::Active, role));
    setPalette(colours);

    QStyle* look = style();
    SetHeaderPictures(
        {look->standardPixmap(QStyle::SP_FileIcon), look->standardPixmap(QStyle::SP_DriveHDIcon),
         look->standardPixmap(QStyle::SP_MediaPlay), look->standardPixmap(QStyle::SP_MediaSkipBackward),
         look->standardPixmap(QStyle::SP_MediaSkipForward),
         look->standardPixmap(QStyle::SP_MediaSeekForward)});
    FitColumns();
}

std::string TSourceTreeList::Cell(const QTreeWidgetItem* row, int column) {
    return row->text(column).toStdString();
}

void TSourceTreeList::SetCell(QTreeWidgetItem* row, int column, const std::string& text) {
    row->setText(column, QString::fromStdString(text));
}

QTreeWidgetItem* TSourceTreeList::AppendRow() {
    auto* row = new QTreeWidgetItem;
    row->setFlags(Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsDragEnabled |
                  Qt::ItemNeverHasChildren);
    // Adding must not move the focus mark: inserting into an empty grid would otherwise focus the new row.
    QItemSelectionModel* selection = selectionModel();
    const QPersistentModelIndex focused = selection->currentIndex();
    addTopLevelItem(row);
    if (selection->currentIndex() != focused)
        selection->setCurrentIndex(focused, QItemSelectionModel::NoUpdate);
    return row;
}

std::vector<QTreeWidgetItem*> TSourceTreeList::SelectedRows() const {
    std::vector<QTreeWidgetItem*> rows;
    for (int i = 0, n = topLevelItemCount(); i < n; ++i) {
        QTreeWidgetItem* row = topLevelItem(i);
        if (row->isSelected()) rows.push_back(row);
    }
    return rows;
}

bool TSourceTreeList::HasSelection() const {
    return selectionModel()->hasSelection();
}

QTreeWidgetItem* TSourceTreeList::FocusedRow() const {
    const QModelIndex index = selectionModel()->currentIndex();
    return index.isValid() ? itemFromIndex(index) : nullptr;
}

void TSourceTreeList::SetFocusedRow(QTreeWidgetItem* row) {
    const QModelIndex index = row ? indexFromItem(row, colFileName) : QModelIndex();
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
}

void TSourceTreeList::SetHeaderPictures(const QList<QPixmap>& pictures) {
    // A missing picture keeps the one shown before.
    for (int i = 0; i < pictures.size() && i + 1 < ColumnCount; ++i)
        if (!pictures[i].isNull()) headerItem()->setIcon(i + 1, QIcon(pictures[i]));
}

bool TSourceTreeList::edit(const QModelIndex&, EditTrigger, QEvent*) {
    return false;
}

void TSourceTreeList::startDrag(Qt::DropActions) {
    if (!HasSelection()) return;
    auto* data = new QMimeData;
    data->setData(QString::fromLatin1(RowsMimeType), QByteArray());
    auto* drag = new QDrag(this);
    drag->setMimeData(data);
    DroppedOnSelf = false;
    drag->exec(Qt::MoveAction);
    emit RowsDragEnded(DroppedOnSelf);
}

// Every drag over the grid is accepted: rows return to it, files are added through it.
void TSourceTreeList::dragEnterEvent(QDragEnterEvent* event) {
    event->acceptProposedAction();
}

void TSourceTreeList::dragMoveEvent(QDragMoveEvent* event) {
    event->acceptProposedAction();
}

void TSourceTreeList::dropEvent(QDropEvent* event) {
    event->acceptProposedAction();
    if (event->mimeData()->hasFormat(QString::fromLatin1(RowsMimeType))) {
        DroppedOnSelf = true;
        return;
    }
    const QStringList paths = LocalFilesOfDrop(event->mimeData());
    if (!paths.isEmpty()) emit FilesDropped(paths);
}

void TSourceTreeList::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) emit Clicked();
}

void TSourceTreeList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) emit DoubleClicked();
}

void TSourceTreeList::keyPressEvent(QKeyEvent* event) {
    emit KeyDown(event->key());
    QTreeWidget::keyPressEvent(event);
}

void TSourceTreeList::resizeEvent(QResizeEvent* event) {
    QTreeWidget::resizeEvent(event);
    FitColumns();
}

void TSourceTreeList::FitColumns() {
    int total = 0;
    for (int weight : Weights)
        total += weight;
    const int room = viewport()->width();
    for (int column = 1; column < ColumnCount; ++column)
        setColumnWidth(column, room * Weights[column] / total);
}

void TSourceTreeList::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const {
    QTreeWidget::drawRow(painter, option, index);
    // Grid lines: one under the row and one after each visible cell.
    painter->save();
    painter->setPen(palette().color(QPalette::Mid).lighter(135));
    const QRect row = option.rect;
    painter->drawLine(row.left(), row.bottom(), row.right(), row.bottom());
    for (int column = 1; column < ColumnCount; ++column) {
        if (isColumnHidden(column)) continue;
        const int x = columnViewportPosition(column) + columnWidth(column) - 1;
        painter->drawLine(x, row.top(), x, row.bottom());
    }
    painter->restore();
}
