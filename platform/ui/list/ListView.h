#pragma once

#include <QTableView>

#include <functional>

// The table widget of a list control. It leaves moving the highlight, typing and paging to its
// owner, which knows whether the rows are a page of a longer file.
namespace platform::ui {

class ListView : public QTableView
{
public:
    explicit ListView(QWidget* parent = nullptr);

    // True when the owner took the key.
    std::function<bool(QKeyEvent*)> onKey;
    // A left press on a row (-1: below the rows) with the zone it hit.
    std::function<void(int row, int column, int zone)> onPress;
    std::function<void(int lines)> onWheel;
    std::function<void()> onResize;
    // The drop id this view accepts and what a drop of a matching drag does.
    QString dropId;
    std::function<void()> onDrop;

    static QString dragFormat();
    // Where a cell's icon is drawn, in viewport coordinates (empty when it has none).
    QRect iconRect(const QModelIndex& index) const;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    bool accepts(const QMimeData* data) const;
};

} // namespace platform::ui
