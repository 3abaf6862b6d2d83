#pragma once

#include <QTableView>

class QScrollBar;

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

    // A page of a longer list shows a scroll bar of its own, beside the rows, whose thumb the
    // owner places (showPlace) and whose clicks and drags it turns into moves: onPageBar gets
    // the slider action (QAbstractSlider::SliderAction), onPlaceChosen the place (0..1) where
    // the thumb was let go.
    void setPageBar(bool shown);
    bool hasPageBar() const { return m_paged; }
    QScrollBar* pageBar() const;
    // The thumb at the place (0..1) with the length of the share; first and last say whether
    // the page is the order's first or last one. The thumb stands at an end only when the page
    // is there, and visibly off it otherwise, however near the place puts it.
    void showPlace(double place, double share, bool first, bool last);
    // Where the page bar's thumb is drawn, in the bar (empty without a page bar).
    QRect pageThumb() const;
    std::function<void(int action)> onPageBar;
    std::function<void(double place)> onPlaceChosen;

    // Rows come into view; the columns never move sideways for it, so a click on a cell keeps
    // the columns where the person sees them.
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // The width the widest cell of a column needs (the rows in view first, up to a thousand).
    int cellsWidth(int column) const { return sizeHintForColumn(column); }

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
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void verticalScrollbarAction(int action) override;
    void verticalScrollbarValueChanged(int value) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool accepts(const QMimeData* data) const;
    void applyPlace();
    // The bar's value that keeps the thumb a few pixels off an end of its groove.
    int edgeGap(int range) const;
    void barAction(int action);
    void placeChosen();

    bool m_paged = false;
    double m_place = 0.0;
    double m_share = 1.0;
    bool m_first = true;
    bool m_last = true;
};

} // namespace platform::ui
