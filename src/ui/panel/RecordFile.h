#pragma once

#include <QFile>
#include <QString>

// A text file written record by record (a log line, a downloaded record, a calibration record):
// each record is converted to Windows-1252 and reaches the disk as it is written, whole or not
// at all, so a crash or a power cut loses at most the record being written.
class RecordFile {
public:
    enum class Mode {
        Replace, // a file of that name is replaced
        Append,  // records go after what the file holds; the file is made when missing
        NewOnly, // fails when a file of that name exists
    };

    RecordFile() = default;
    RecordFile(const RecordFile&) = delete;
    RecordFile& operator=(const RecordFile&) = delete;

    // False with the reason in *error; *error names the file and the current folder.
    bool Open(const QString& fileName, Mode mode, QString* error);
    // Writes the record (line end included by the caller) and syncs it to the disk. On failure
    // the file is cut back to where it stood before, and *error says why.
    bool Write(const QString& record, QString* error);
    void Close();

    bool IsOpen() const { return file_.isOpen(); }

private:
    QFile file_;
};
