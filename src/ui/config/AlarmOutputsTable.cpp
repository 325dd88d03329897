#include "AlarmOutputsTable.h"

#include "ui/panel/KeyboardAccess.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <algorithm>

using namespace AlarmOutputs;

namespace {

constexpr int kColumnWidth = 52;
constexpr int kRowHeight = 24;
constexpr int kTextInset = 2;

const QString kColourLegend =
    QStringLiteral("Green=Sync with instrument; Red=Not sync; Blue=Unknown");

// The sync colour of an output's number cell, as a screen reader speaks it.
QString SyncWords(Sync sync) {
    switch (sync) {
    case Sync::InSync:
        return QStringLiteral("in sync");
    case Sync::NotInSync:
        return QStringLiteral("not in sync");
    default:
        return QStringLiteral("sync unknown");
    }
}

// Draws every cell's text at its top left; an output's number cell in its sync colour, and the
// cells that do not apply to the row's type shaded.
class OutputCellPainter final : public QStyledItemDelegate {
public:
    OutputCellPainter(const AlarmOutputsTable& table, QObject* parent)
        : QStyledItemDelegate(parent), table_(table) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const int row = index.row();
        const int column = index.column();
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        QColor fill = selected ? option.palette.color(QPalette::Highlight)
                               : option.palette.color(QPalette::Base);
        QColor text = selected ? option.palette.color(QPalette::HighlightedText)
                               : option.palette.color(QPalette::Text);
        if (row == 0 || column == kOutputColumn) {
            // Fixed cells: never selected, but not drawn as disabled either.
            fill = option.palette.color(QPalette::Active, QPalette::Button);
            text = option.palette.color(QPalette::Active, QPalette::ButtonText);
        }
        if (row >= 1 && row <= kOutputs) {
            const Record& record = table_.Record(row);
            if (column == kOutputColumn) {
                fill = SyncColour(record.sync);
                text = Qt::black;
            } else if (column != kTypeColumn && !ColumnApplies(record.setting.type, column)) {
                fill = InactiveCellColour(option.palette);
                text = option.palette.color(QPalette::Text);
            }
        }
        painter->save();
        painter->fillRect(option.rect, fill);
        painter->setPen(text);
        painter->drawText(option.rect.adjusted(kTextInset, kTextInset, 0, 0),
                          Qt::AlignLeft | Qt::AlignTop, index.data().toString());
        painter->restore();
    }

private:
    const AlarmOutputsTable& table_;
};

} // namespace

QColor SyncColour(Sync sync) {
    switch (sync) {
    case Sync::InSync:
        return {0, 255, 0};
    case Sync::NotInSync:
        return {255, 0, 0};
    default:
        return {166, 202, 240};
    }
}

QColor InactiveCellColour(const QPalette& palette) {
    return palette.color(QPalette::Inactive, QPalette::Midlight);
}

AlarmOutputsTable::AlarmOutputsTable(const AlarmOutputsControls& controls,
                                     const PanelContext& context, ExchangeGate gate,
                                     QObject* parent)
    : QObject(parent), controls_(controls), context_(context), gate_(std::move(gate)) {
    setObjectName(QStringLiteral("AlarmOutputsTable"));
    for (int output = 1; output <= kOutputs; ++output) {
        records_[output - 1] = {InitialSetting(output), Sync::Initial};
    }
    QTableWidget* grid = controls_.sgOP;
    grid->setItemDelegate(new OutputCellPainter(*this, grid));
    grid->setToolTip(grid->toolTip() + QLatin1Char('\n') + kColourLegend);
    grid->viewport()->setMouseTracking(true);
    grid->viewport()->installEventFilter(this);
    FillGrid();

    PopupMenu1 = new QMenu(grid);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Read1 = PopupMenu1->addAction(QStringLiteral("Read"), this, &AlarmOutputsTable::Read1Click);
    Read1->setObjectName(QStringLiteral("Read1"));
    Write1 = PopupMenu1->addAction(QStringLiteral("Write"), this, &AlarmOutputsTable::Write1Click);
    Write1->setObjectName(QStringLiteral("Write1"));
    grid->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(grid, &QWidget::customContextMenuRequested, this, [this, grid](const QPoint& at) {
        PopupMenu1->popup(grid->viewport()->mapToGlobal(at));
    });
    connect(grid, &QTableWidget::cellDoubleClicked, this, &AlarmOutputsTable::sgOPDblClick);
    // From the keyboard: F2, Enter or Return edit the current cell, the dialogs opening by it;
    // the menu key or Shift+F10 opens the menu on it.
    KeyboardAccess::OnKeys(*grid, {Qt::Key_F2, Qt::Key_Return, Qt::Key_Enter}, [this, grid] {
        sgOPMouseMove(
            grid->viewport()->mapToGlobal(grid->visualRect(grid->currentIndex()).center()));
        sgOPDblClick();
    });
    KeyboardAccess::ContextMenuOnShiftF10(*grid);
    connect(controls_.bRead, &QPushButton::clicked, this, &AlarmOutputsTable::bReadClick);
    connect(controls_.bWrite, &QPushButton::clicked, this, &AlarmOutputsTable::bWriteClick);
    connect(controls_.bLoad, &QPushButton::clicked, this, &AlarmOutputsTable::bLoadClick);
    connect(controls_.bSave, &QPushButton::clicked, this, &AlarmOutputsTable::bSaveClick);
}

void AlarmOutputsTable::FillGrid() {
    QTableWidget* grid = controls_.sgOP;
    grid->setColumnCount(kColumns);
    grid->setRowCount(kOutputs + 1);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(kRowHeight);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    for (int column = 0; column < kColumns; ++column) {
        // The headings and the output numbers are fixed: never current, never selected.
        auto* heading = new QTableWidgetItem(Headings()[column]);
        heading->setFlags(Qt::NoItemFlags);
        grid->setItem(0, column, heading);
        // Wider only where the heading would be cut in the grid's font.
        const int headingWidth =
            grid->fontMetrics().horizontalAdvance(Headings()[column]) + 2 * kTextInset + 1;
        grid->setColumnWidth(column, std::max(kColumnWidth, headingWidth));
    }
    grid->resize(grid->horizontalHeader()->length() + 2 * grid->frameWidth(),
                 grid->verticalHeader()->length() + 2 * grid->frameWidth());
    for (int output = 1; output <= kOutputs; ++output) {
        for (int column = 0; column < kColumns; ++column) {
            auto* cell = new QTableWidgetItem();
            cell->setFlags(column == kOutputColumn ? Qt::NoItemFlags
                                                   : Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            grid->setItem(output, column, cell);
        }
        ShowRow(output);
    }
}

void AlarmOutputsTable::ShowRow(int output) {
    QTableWidget* grid = controls_.sgOP;
    for (int column = 0; column < kColumns; ++column) {
        grid->item(output, column)->setText(CellText(Setting(output), column));
    }
    QTableWidgetItem* number = grid->item(output, kOutputColumn);
    number->setData(Qt::AccessibleTextRole,
                    number->text() + QLatin1Char(' ') + SyncWords(Record(output).sync));
    // The number cell's colour and the shading follow the record, not the texts.
    grid->viewport()->update();
}

void AlarmOutputsTable::MarkEdited(int output) {
    records_[output - 1].sync = Sync::Unknown;
    ShowRow(output);
}

void AlarmOutputsTable::ShowAlarmOutput(const protocol::AlarmOutputSetting& setting) {
    if (protocol::InRange(setting)) {
        records_[setting.output - 1] = {setting, Sync::InSync};
        ShowRow(setting.output);
    }
}

void AlarmOutputsTable::SetOperationsEnabled(bool enabled) {
    Read1->setEnabled(enabled);
    Write1->setEnabled(enabled);
}

void AlarmOutputsTable::sgOPMouseMove(const QPoint& screenPosition) {
    pointer_ = screenPosition;
}

bool AlarmOutputsTable::eventFilter(QObject* watched, QEvent* event) {
    if (watched == controls_.sgOP->viewport() &&
        (event->type() == QEvent::MouseMove || event->type() == QEvent::MouseButtonPress)) {
        sgOPMouseMove(static_cast<QMouseEvent*>(event)->globalPosition().toPoint());
    }
    return QObject::eventFilter(watched, event);
}
