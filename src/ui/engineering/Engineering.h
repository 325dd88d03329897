#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <string>

// The engineering window. For now it carries what the main window calls: the comms-transaction
// log's flag and line writer, the register and filter constant replies.
class TfRTC : public QWidget {
    Q_OBJECT

public:
    explicit TfRTC(QWidget* parent = nullptr);

    bool CommsLogActive() const { return false; }
    void WriteCommsLogLine(const std::string& line);

    // The 32 register texts, register 0 first.
    void ShowRegisters(const QStringList& registers);
    void ShowFilterConstant(const QString& constant);
    void ShowSixtyHertz(bool sixtyHertz);
};
