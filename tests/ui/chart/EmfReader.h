#pragma once

#include <QByteArray>
#include <QColor>
#include <QPolygon>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <vector>

// Reads an enhanced metafile record by record, for checking what a picture holds.
struct EmfRecord {
    std::uint32_t type = 0;
    QByteArray bytes; // the whole record
};

struct EmfPicture {
    QByteArray file;
    std::vector<EmfRecord> records;
    // Empty when the file is a well-formed metafile: a header that describes the file, record
    // sizes that add up to its size, and an end-of-file record last.
    QString fault;
};

struct EmfLine {
    QColor colour;
    QPolygon points; // in the picture's logical units
};

EmfPicture ReadEmf(const QString& path);
// Every polyline with the colour of the pen it was drawn with.
std::vector<EmfLine> PolylinesOf(const EmfPicture& picture);
// Every text the picture writes.
QStringList TextsOf(const EmfPicture& picture);
