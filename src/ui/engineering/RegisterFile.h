#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// The register file: one line per clock register, register 0 first, "1F=3C" for register 1F
// holding 3C, each line ended by CR LF, in Windows-1252.

// The 32 lines of the file, from the register texts on the screen.
QString RegisterFileText(const QStringList& registers);

// The register texts the file holds (RegisterFile::Parse). Nothing, with the reason in *error,
// when the file cannot be read or is much larger than a register file.
std::optional<QStringList> ReadRegisterFile(const QString& path, QString* error);
