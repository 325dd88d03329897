// The table file: saved as "OC" + stamp + ".txt", loaded through the file-open dialog.
#include "AlarmOutputsTable.h"
#include "base/BoundedFile.h"
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
    const BoundedFile file =
        ReadBoundedFile(QFile::encodeName(path).toStdString(), AlarmTable::kLargestFile);
    const QString fileName = QFileInfo(path).fileName();
    if (file.tooLarge) {
        context_.operatorInteraction.ReportError(
            QStringLiteral("%1 is no alarm table file: it is larger than %2 bytes.")
                .arg(fileName)
                .arg(AlarmTable::kLargestFile));
        return;
    }
    if (!file.error.empty()) {
        context_.operatorInteraction.ReportError(QStringLiteral("File I/O error."));
        return;
    }
    controls_.lFilename->setText(fileName);
    const FileContent content = ParseFile(file.bytes);
    for (const protocol::AlarmOutputSetting& setting : content.settings) {
        Setting(setting.output) = setting;
        MarkEdited(setting.output);
    }
    if (!content.skippedLines.empty()) {
        context_.operatorInteraction.Notify(SkippedLinesNotice(fileName, content.skippedLines));
    }
}
