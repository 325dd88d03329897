#pragma once

#include "AlarmOutputRecords.h"
#include "instrument/AlarmOutputJobs.h"
#include "ui/panel/PanelContext.h"

#include <QColor>
#include <QObject>
#include <QPoint>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QLabel;
class QMenu;
class QPalette;
class QPushButton;
class QTableWidget;

// The controls of the alarm outputs table, from the configuration window's form.
struct AlarmOutputsControls {
    QTableWidget* sgOP;
    QPushButton* bRead;
    QPushButton* bWrite;
    QPushButton* bLoad;
    QPushButton* bSave;
    QLabel* lFilename;
};

// The window's one exchange with the instrument at a time: whether one runs, and holding it
// (which disables every control whose traffic would interleave with it).
struct ExchangeGate {
    std::function<bool()> running;
    std::function<void(bool locked)> lock;
};

// The colour of an output's number cell: lime in step with the instrument, red asked for and
// not yet reported, sky blue unknown.
QColor SyncColour(AlarmOutputs::Sync sync);
// The shade of the cells that do not apply to the row's type.
QColor InactiveCellColour(const QPalette& palette);

// The alarm outputs table of the configuration window: the eight records shared with the output
// reply, the grid sgOP that shows them with their sync colours, editing through the pick and
// enter dialogs, reading and writing the instrument's outputs one at a time, and the table file.
// Every operation refuses to start while the window runs another exchange, and holds it while it
// runs itself.
class AlarmOutputsTable final : public QObject {
    Q_OBJECT

public:
    AlarmOutputsTable(const AlarmOutputsControls& controls, const PanelContext& context,
                      ExchangeGate gate, QObject* parent = nullptr);

    const AlarmOutputs::Record& Record(int output) const { return records_[output - 1]; }

    // An output as the instrument reported it: taken only when every field is in range, and
    // then in step; a reply that is out of range changes nothing.
    void ShowAlarmOutput(const protocol::AlarmOutputSetting& setting);

    // The popup menu's Read and Write follow the window's exchange lock.
    void SetOperationsEnabled(bool enabled);

    // Edits the current cell through the pick or enter dialog, when its column applies to the
    // row's type. Nothing is sent.
    void sgOPDblClick();
    // The pointer's screen position, where the dialogs open.
    void sgOPMouseMove(const QPoint& screenPosition);

    // Reading and writing (AlarmOutputsExchange.cpp). Polling is paused throughout; each
    // transaction waits a bounded time, and the operator learns which outputs were not confirmed.
    void bReadClick();
    void bWriteClick();
    void Read1Click();
    void Write1Click();

    // The table file (AlarmOutputsFile.cpp).
    void bSaveClick();
    void bLoadClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FillGrid();
    void ShowRow(int output);
    protocol::AlarmOutputSetting& Setting(int output) { return records_[output - 1].setting; }
    void MarkEdited(int output);

    // Editing (AlarmOutputsEdit.cpp).
    void PickInto(int output, const QString& legend, const QStringList& items, int& field,
                  int offset);
    void EnterInto(int output, int column, const QString& legend, const QString& fieldName,
                   int& field);

    // Exchanges (AlarmOutputsExchange.cpp): the outputs read or written by their job, each
    // turned red as it is asked about. Reading them all after polling lets the last poll's
    // reply land first.
    void Read(const std::vector<int>& outputs, bool afterPolling);
    void Write(const std::vector<int>& outputs);
    void Run(AlarmOutputs::Operation operation,
             const std::function<std::vector<jobs::OutputResult>()>& job);
    void MarkAsked(int output);
    int CurrentOutput() const;

    AlarmOutputsControls controls_;
    PanelContext context_;
    ExchangeGate gate_;
    std::array<AlarmOutputs::Record, AlarmOutputs::kOutputs> records_;
    QMenu* PopupMenu1;
    QAction* Read1;
    QAction* Write1;
    QPoint pointer_;
};
