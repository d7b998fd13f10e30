// TSourceTreeList: the grid of source files, one flat row per file, seven text cells per row.
#pragma once

#include <QTreeWidget>

#include <string>
#include <vector>

class TSourceTreeList : public QTreeWidget {
    Q_OBJECT
  public:
    // Cell indices of a row.
    enum : int {
        colCheck = 0, // "True": the row is converted; hidden
        colFileName = 1,
        colFileSize = 2,
        colDuration = 3,
        colStartTime = 4,
        colEndTime = 5,
        colCutTime = 6,
        ColumnCount = 7
    };
    static const char* const RowsMimeType;

    explicit TSourceTreeList(QWidget* parent = nullptr);

    static std::string Cell(const QTreeWidgetItem* row, int column);
    static void SetCell(QTreeWidgetItem* row, int column, const std::string& text);

    int RowCount() const { return topLevelItemCount(); }
    QTreeWidgetItem* Row(int index) const { return topLevelItem(index); }
    // Appends an empty row without touching the selection or the focused row.
    QTreeWidgetItem* AppendRow();
    // The selected rows in list order (not in the order they were picked).
    std::vector<QTreeWidgetItem*> SelectedRows() const;
    bool HasSelection() const;
    QTreeWidgetItem* FocusedRow() const;
    // Makes the row the focused one without changing the selection; nullptr leaves no row focused.
    void SetFocusedRow(QTreeWidgetItem* row);

    // Small pictures beside the six visible captions, in column order.
    void SetHeaderPictures(const QList<QPixmap>& pictures);

  signals:
    void Clicked();
    void DoubleClicked();
    void KeyDown(int key);
    // A drag of rows has ended; droppedOnGrid tells whether it ended over the grid itself.
    void RowsDragEnded(bool droppedOnGrid);
    void FilesDropped(const QStringList& paths);

  protected:
    // No cell ever opens an editor.
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

  private:
    void FitColumns();
    bool DroppedOnSelf = false;
};

// The local files of a drop, in drop order, paths whole.
QStringList LocalFilesOfDrop(const class QMimeData* data);
