// The table file: saved as "OC" + stamp + ".txt", loaded through the file-open dialog.
#include "AlarmOutputsTable.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/RecordFile.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>

using namespace AlarmOutputs;

void AlarmOutputsTable::bSaveClick() {
    if (gate_.running()) {
        return;
    }
    const QString name =
        QStringLiteral("OC") + DateTimeStamp(ToLocalDateTime(context_.clock.Now()));
    RecordFile file;
    QString error;
    bool written = file.Open(name + QStringLiteral(".txt"), RecordFile::Mode::Replace, &error);
    for (int output = 1; written && output <= kOutputs; ++output) {
        written = file.Write(
            QString::fromStdString(FileLine(Setting(output))) + QStringLiteral("\r\n"), &error);
    }
    file.Close();
    if (!written) {
        context_.operatorInteraction.ReportError(error);
        return;
    }
    controls_.lFilename->setText(QStringLiteral("To: ") + name);
}

// The file is read whole and every line checked before any reaches the table, so a file that
// cannot be read changes nothing and a bad line changes no row.
void AlarmOutputsTable::bLoadClick() {
    if (gate_.running()) {
        return;
    }
    const QString path =
        context_.operatorInteraction.OpenFile(QStringLiteral("Text files (*.txt)|*.TXT"));
    if (path.isEmpty()) {
        return;
    }
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly)) {
        bytes = file.readAll();
    }
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        context_.operatorInteraction.ReportError(QStringLiteral("File I/O error."));
        return;
    }
    const QString fileName = QFileInfo(path).fileName();
    controls_.lFilename->setText(fileName);
    const FileContent content =
        ParseFile(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    for (const protocol::AlarmOutputSetting& setting : content.settings) {
        Setting(setting.output) = setting;
        MarkEdited(setting.output);
    }
    if (!content.skippedLines.empty()) {
        context_.operatorInteraction.Notify(SkippedLinesNotice(fileName, content.skippedLines));
    }
}
