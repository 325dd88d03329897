#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <string_view>
#include <vector>

// The instrument and the files speak Windows-1252: Latin-1 with 27 printable characters in
// place of the C1 controls 0x80..0x9F. The five bytes that code page leaves unassigned map to
// the control of the same value, so every byte string survives the round trip.
QString FromWindows1252(std::string_view bytes);
// Each text of the list so, such as the names of the instrument's sensor types or alarm types.
QStringList FromWindows1252(const std::vector<std::string>& texts);

// Characters the code page cannot hold become '?'.
std::string ToWindows1252(const QString& text);
