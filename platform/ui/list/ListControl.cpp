#include "platform/ui/list/ListControl.h"

#include "platform/storage/LogicalThread.h"
#include "platform/text/Cp1251.h"
#include "platform/ui/Event.h"
#include "platform/ui/Window.h"
#include "platform/ui/list/BrowseList.h"
#include "platform/ui/list/InPlaceEditor.h"
#include "platform/ui/list/ListCellDelegate.h"
#include "platform/ui/list/ListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QPixmap>
#include <QScrollBar>

namespace platform::ui {
namespace {

QIcon symbolIcon(char32_t symbol, const QFont& font)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QFont f = font;
    f.setPixelSize(14);
    painter.setFont(f);
    const QString text = QString::fromUcs4(&symbol, 1);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, text);
    return QIcon(pixmap);
}

std::vector<std::string> split(std::string_view text)
{
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start <= text.size() && !text.empty()) {
        const std::size_t bar = text.find('|', start);
        parts.emplace_back(text.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos)
            break;
        start = bar + 1;
    }
    return parts;
}

} // namespace

ListControl::ListControl(Window& window, const ControlDefinition& definition, QWidget* parent)
    : Control(window, definition), m_view(new ListView(parent))
{
    m_view->setItemDelegate(new ListCellDelegate(m_view));
    m_view->onKey = [this](QKeyEvent* event) { return takeKey(event); };
    m_view->onPress = [this](int row, int column, int zone) { pressed(row, column, zone); };
    m_view->onResize = [this] { fitPage(); };
    m_view->onPageBar = [this](int action) { pageBarAction(action); };
    m_view->onPlaceChosen = [this](double place) {
        if (!m_list || (m_editor && m_editor->isEditing()))
            return;
        const storage::ThreadScope scope(m_window.thread());
        m_list->moveToPlace(place);
        userMoved();
    };
    m_view->onWheel = [this](int lines) {
        if (!m_list || (m_editor && m_editor->isEditing()))
            return;
        const storage::ThreadScope scope(m_window.thread());
        for (int i = 0; i < std::abs(lines); ++i) {
            if (lines > 0)
                m_list->lineDown();
            else
                m_list->lineUp();
        }
        userMoved();
    };
    if (!definition.dragId.empty()) {
        m_view->setDragEnabled(true);
        m_view->setDragDropMode(QAbstractItemView::DragOnly);
    }
    if (!definition.dropId.empty()) {
        m_view->dropId = text::toQString(definition.dropId);
        m_view->setAcceptDrops(true);
        m_view->viewport()->setAcceptDrops(true);
        m_view->onDrop = [this] { m_window.raise(Event::Drop, number()); };
    }
    QObject::connect(m_view, &QAbstractItemView::doubleClicked, m_view, [this](const QModelIndex&) {
        if (m_editor && !m_editor->isEditing())
            m_editor->change();
    });
    QObject::connect(m_view->horizontalHeader(), &QHeaderView::sectionResized, m_view,
                     [this](int column, int, int pixels) { columnResized(column, pixels); });
    if (const auto parsed = ListFormat::parse(definition.format))
        m_format = *parsed;
    m_definedColumns = m_format.columns().size();
    applyAppearance();
}

ListControl::~ListControl()
{
    if (m_view)
        m_view->setModel(nullptr);
    delete m_view;
}

QWidget* ListControl::widget() const
{
    return m_view;
}

void ListControl::attach(BrowseList* list)
{
    if (m_list)
        m_list->setHighlightListener({});
    m_list = list;
    if (!list) {
        m_view->setModel(nullptr);
        return;
    }
    m_view->setModel(&list->model());
    list->model().setColumns(m_format.columns());
    // A whole-file list's last column follows what its rows hold.
    for (const QMetaObject::Connection& watch : m_rowsWatch)
        QObject::disconnect(watch);
    m_rowsWatch = {
        QObject::connect(&list->model(), &QAbstractItemModel::modelReset, m_view,
                         [this] { fitLastColumn(); }),
        QObject::connect(&list->model(), &QAbstractItemModel::dataChanged, m_view,
                         [this] { fitLastColumn(); }),
    };
    list->model().setDragId(definition().dragId);
    list->setHighlightListener([this](int row) { showHighlight(row); });
    m_view->setPageBar(!list->model().wholeFile());
    QObject::connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, m_view,
                     [this](const QModelIndex& current, const QModelIndex&) {
                         if (m_showing || !m_list || !current.isValid() ||
                             current.row() == m_list->highlighted())
                             return;
                         const storage::ThreadScope scope(m_window.thread());
                         m_list->setHighlighted(current.row());
                         userMoved();
                     });
    applyColumns();
    fitPage();
}

void ListControl::setFormat(const ListFormat& format)
{
    m_format = format;
    if (m_list)
        m_list->model().setColumns(m_format.columns());
    applyColumns();
}

void ListControl::applyColumns()
{
    if (!m_list)
        return;
    m_applyingColumns = true;
    const DialogUnits units = m_window.units();
    const auto& columns = m_format.columns();
    for (std::size_t c = 0; c < columns.size(); ++c) {
        // A column of width 0 holds data for the program only; the view would still show a
        // sliver of it at its minimum section size.
        m_view->setColumnHidden(static_cast<int>(c), columns[c].width == 0);
        m_view->setColumnWidth(static_cast<int>(c), units.toPixelsX(columns[c].width));
    }
    m_view->horizontalHeader()->setStretchLastSection(true);
    m_applyingColumns = false;
    if (m_list)
        m_list->model().setStyleFonts(m_styleFonts);
    fitLastColumn();
}

void ListControl::fitLastColumn()
{
    if (!m_list || !m_list->model().wholeFile())
        return;
    const auto& columns = m_format.columns();
    int last = -1;
    for (std::size_t c = 0; c < columns.size(); ++c)
        if (columns[c].width > 0)
            last = static_cast<int>(c);
    if (last < 0 || last >= m_view->model()->columnCount())
        return;
    // The last column takes whatever room the others leave; beyond that room it is only as
    // wide as its header and every row need, so names that fit need no sideways scroll. (A
    // page of a longer list holds only some of the rows: its column keeps its width.)
    const int defined = m_window.units().toPixelsX(columns[static_cast<std::size_t>(last)].width);
    const int needed =
        std::max(m_view->horizontalHeader()->sectionSizeHint(last), m_view->cellsWidth(last));
    // The program sets this width: the format keeps what the person left.
    const bool applying = m_applyingColumns;
    m_applyingColumns = true;
    m_view->setColumnWidth(last, std::min(defined, needed));
    m_applyingColumns = applying;
}

int ListControl::stretchedColumn() const
{
    const QHeaderView* header = m_view->horizontalHeader();
    if (!header->stretchLastSection())
        return -1;
    for (int visual = header->count() - 1; visual >= 0; --visual) {
        const int column = header->logicalIndex(visual);
        if (!header->isSectionHidden(column))
            return column;
    }
    return -1;
}

void ListControl::columnResized(int column, int pixels)
{
    // Only what the person set is kept: not the widths the program applies, not a hidden
    // column, and not the last one, which the header stretches over the rest of the list.
    auto& columns = m_format.columns();
    if (m_applyingColumns || column < 0 || static_cast<std::size_t>(column) >= columns.size() ||
        columns[static_cast<std::size_t>(column)].width == 0 || pixels <= 0 ||
        m_view->horizontalHeader()->isSectionHidden(column) || column == stretchedColumn())
        return;
    // A narrowed column keeps a unit at least: width 0 would hide it for good.
    columns[static_cast<std::size_t>(column)].width =
        std::max(1, m_window.units().fromPixelsX(pixels));
}

void ListControl::setLineHeight(int units)
{
    m_lineHeight = units;
    QHeaderView* rows = m_view->verticalHeader();
    if (units > 0) {
        const int pixels = m_window.units().toPixelsY(units);
        rows->setMinimumSectionSize(1);
        rows->setSectionResizeMode(QHeaderView::Fixed);
        rows->setDefaultSectionSize(pixels);
    } else {
        rows->setSectionResizeMode(QHeaderView::Interactive);
        rows->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    }
    fitPage();
}

void ListControl::setStyleFont(int style, const QFont& font)
{
    m_styleFonts[style] = font;
    if (m_list)
        m_list->model().setStyleFonts(m_styleFonts);
}

void ListControl::setIconList(std::vector<std::string> icons)
{
    m_iconList = std::move(icons);
    std::vector<QIcon> built;
    for (const std::string& name : m_iconList) {
        if (name.size() > 2 && (name[0] == 'U' || name[0] == 'u') && name[1] == '+') {
            const auto symbol = static_cast<char32_t>(std::strtoul(name.c_str() + 2, nullptr, 16));
            built.push_back(symbolIcon(symbol, m_view->font()));
        } else {
            built.push_back(m_window.icon(name));
        }
    }
    if (m_list)
        m_list->model().setIcons(std::move(built));
}

void ListControl::fitPage()
{
    if (!m_list || m_list->model().wholeFile())
        return;
    const int line = std::max(1, m_view->verticalHeader()->defaultSectionSize());
    const int page = std::max(1, m_view->viewport()->height() / line);
    if (page == m_list->model().pageSize())
        return;
    m_list->setPageSize(page);
    if (m_list->model().rows() > 0) {
        const storage::ThreadScope scope(m_window.thread());
        m_list->reset(true);
    }
}

void ListControl::pageBarAction(int action)
{
    if (!m_list || (m_editor && m_editor->isEditing())) {
        showPlace();
        return;
    }
    const storage::ThreadScope scope(m_window.thread());
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        m_list->lineDown();
        break;
    case QAbstractSlider::SliderSingleStepSub:
        m_list->lineUp();
        break;
    case QAbstractSlider::SliderPageStepAdd:
        m_list->pageDown();
        break;
    case QAbstractSlider::SliderPageStepSub:
        m_list->pageUp();
        break;
    case QAbstractSlider::SliderToMinimum:
        m_list->home();
        break;
    case QAbstractSlider::SliderToMaximum:
        m_list->end();
        break;
    default:
        showPlace();
        return;
    }
    userMoved();
}

void ListControl::showPlace()
{
    if (!m_list || !m_view->hasPageBar())
        return;
    const ListModel& model = m_list->model();
    m_view->showPlace(model.pagePlace(), model.pageShare(), model.atStart(), model.atEnd());
}

void ListControl::showHighlight(int row)
{
    showPlace();
    m_showing = true;
    if (row < 0) {
        m_view->clearSelection();
    } else {
        const QModelIndex at =
            m_view->model()->index(row, std::max(0, m_view->currentIndex().column()));
        m_view->setCurrentIndex(at);
        m_view->selectionModel()->select(at, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
        m_view->scrollTo(at);
    }
    m_showing = false;
}

void ListControl::userMoved()
{
    m_window.raise(Event::NewSelection, number());
}

bool ListControl::takeKey(QKeyEvent* event)
{
    if (!m_list)
        return false;
    const storage::ThreadScope scope(m_window.thread());
    if (m_editor && m_editor->isEditing()) {
        m_editor->takeKey(event);
        return true;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (m_editor && modifiers == Qt::NoModifier) {
        switch (event->key()) {
        case Qt::Key_Insert:
            m_editor->insert();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_editor->change();
            return true;
        case Qt::Key_Delete:
            m_editor->remove();
            return true;
        default:
            break;
        }
    }
    if (modifiers != Qt::NoModifier && modifiers != Qt::ShiftModifier)
        return false;
    switch (event->key()) {
    case Qt::Key_Up:
        m_list->lineUp();
        break;
    case Qt::Key_Down:
        m_list->lineDown();
        break;
    case Qt::Key_PageUp:
        m_list->pageUp();
        break;
    case Qt::Key_PageDown:
        m_list->pageDown();
        break;
    case Qt::Key_Home:
        m_list->home();
        break;
    case Qt::Key_End:
        m_list->end();
        break;
    case Qt::Key_Backspace:
        if (!m_list->takeBackspace())
            return true;
        break;
    default: {
        const QString typed = event->text();
        if (typed.size() != 1 || !typed.at(0).isPrint())
            return false;
        const std::string bytes = text::fromQString(typed);
        if (bytes.size() != 1 || !m_list->takeCharacter(bytes[0]))
            return false;
        break;
    }
    }
    userMoved();
    return true;
}

void ListControl::pressed(int row, int column, int zone)
{
    m_mouseZone = zone;
    m_mouseRow = row;
    m_mouseColumn = column;
}

std::vector<std::string> ListControl::rows() const
{
    std::vector<std::string> out;
    if (!m_list)
        return out;
    const ListModel& model = m_list->model();
    for (int r = 0; r < model.rows(); ++r) {
        std::string line;
        for (const std::string& cell : model.row(r).cells) {
            if (!line.empty())
                line += " | ";
            line += cell;
        }
        out.push_back(std::move(line));
    }
    return out;
}

bool ListControl::selectRow(int row)
{
    // Rows count from 1, as in the state dump.
    if (!m_list || row < 1 || row > m_list->model().rows())
        return false;
    const storage::ThreadScope scope(m_window.thread());
    m_list->setHighlighted(row - 1);
    userMoved();
    return true;
}

ScreenArea ListControl::rowArea(int row) const
{
    if (!m_view || !m_list || row < 1 || row > m_list->model().rows())
        return {};
    // The row's cells as shown, from the first shown column to the last.
    QRect area;
    const QAbstractItemModel* model = m_view->model();
    for (int column = 0; model && column < model->columnCount(); ++column)
        if (!m_view->isColumnHidden(column))
            area |= m_view->visualRect(model->index(row - 1, column));
    QWidget* viewport = m_view->viewport();
    return {viewport, area & viewport->rect()};
}

ScreenArea ListControl::columnBorderArea(int column) const
{
    // Columns count from 1, as in the format; the border is the column's right edge.
    const QHeaderView* header = m_view ? m_view->horizontalHeader() : nullptr;
    const int index = column - 1;
    if (!header || !m_list || index < 0 || index >= header->count() || header->isHidden() ||
        header->isSectionHidden(index))
        return {};
    const int right = header->sectionViewportPosition(index) + header->sectionSize(index);
    // Two pixels either side of the edge, the first of them inside the column, where the
    // header offers its resize grip.
    QWidget* viewport = header->viewport();
    return {viewport, QRect(right - 2, 0, 4, header->height()) & viewport->rect()};
}

std::string ListControl::state() const
{
    if (!m_list || m_list->highlighted() < 0)
        return {};
    std::string out = "highlight " + std::to_string(m_list->highlighted() + 1);
    if (m_editor && m_editor->isEditing())
        out += " editing";
    return out;
}

std::string ListControl::property(Property p) const
{
    switch (p) {
    case Property::Format:
        return m_format.text();
    case Property::IconList: {
        std::string out;
        for (const std::string& name : m_iconList)
            out += (out.empty() ? "" : "|") + name;
        return out;
    }
    default:
        return Control::property(p);
    }
}

bool ListControl::setProperty(Property p, std::string_view value)
{
    switch (p) {
    case Property::Format: {
        // A format is read up to the list's own columns: a stored one with more (a damaged
        // settings file) neither costs more nor adds columns that show nothing.
        const std::size_t own = m_definedColumns > 0 ? m_definedColumns : std::size_t(-1);
        const auto parsed = ListFormat::parse(value, own);
        if (!parsed)
            return false;
        setFormat(*parsed);
        return true;
    }
    case Property::IconList:
        setIconList(split(value));
        return true;
    default:
        return Control::setProperty(p, value);
    }
}

} // namespace platform::ui
