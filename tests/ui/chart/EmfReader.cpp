#include "EmfReader.h"

#include <QFile>
#include <cstring>
#include <map>

namespace {

constexpr std::uint32_t kHeader = 1;
constexpr std::uint32_t kPolyline = 4;
constexpr std::uint32_t kEndOfFile = 14;
constexpr std::uint32_t kSelectObject = 37;
constexpr std::uint32_t kCreatePen = 38;
constexpr std::uint32_t kTextOutW = 84;
constexpr std::uint32_t kPolyline16 = 87;
constexpr std::uint32_t kExtCreatePen = 95;
constexpr std::uint32_t kSignature = 0x464D4520; // " EMF"

std::uint32_t Word(const QByteArray& bytes, qsizetype offset) {
    std::uint32_t value = 0;
    if (offset + 4 <= bytes.size()) {
        std::memcpy(&value, bytes.constData() + offset, 4);
    }
    return value;
}

QColor FromColourRef(std::uint32_t colour) {
    return QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF);
}

} // namespace

EmfPicture ReadEmf(const QString& path) {
    EmfPicture picture;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        picture.fault = "cannot open " + path;
        return picture;
    }
    picture.file = file.readAll();
    const QByteArray& data = picture.file;
    qsizetype offset = 0;
    while (offset + 8 <= data.size()) {
        const std::uint32_t type = Word(data, offset);
        const std::uint32_t size = Word(data, offset + 4);
        if (size < 8 || size % 4 != 0 || offset + size > data.size()) {
            picture.fault = QString("record %1 has size %2").arg(picture.records.size()).arg(size);
            return picture;
        }
        picture.records.push_back({type, data.mid(offset, size)});
        offset += size;
    }
    if (offset != data.size()) {
        picture.fault = "record sizes do not add up to the file size";
    } else if (picture.records.empty() || picture.records.front().type != kHeader) {
        picture.fault = "no header first";
    } else if (picture.records.back().type != kEndOfFile) {
        picture.fault = "no end-of-file record last";
    } else {
        const QByteArray& header = picture.records.front().bytes;
        if (header.size() < 88 || Word(header, 40) != kSignature) {
            picture.fault = "header without signature";
        } else if (Word(header, 48) != static_cast<std::uint32_t>(data.size())) {
            picture.fault = "header gives another file size";
        } else if (Word(header, 52) != picture.records.size()) {
            picture.fault = "header gives another record count";
        } else if (static_cast<std::int32_t>(Word(header, 32)) <= 0 ||
                   static_cast<std::int32_t>(Word(header, 36)) <= 0) {
            picture.fault = "header frame is empty";
        }
    }
    return picture;
}

std::vector<EmfLine> PolylinesOf(const EmfPicture& picture) {
    std::map<std::uint32_t, QColor> pens;
    QColor current;
    std::vector<EmfLine> lines;
    for (const EmfRecord& record : picture.records) {
        switch (record.type) {
        case kCreatePen:
            pens[Word(record.bytes, 8)] = FromColourRef(Word(record.bytes, 24));
            break;
        case kExtCreatePen:
            pens[Word(record.bytes, 8)] = FromColourRef(Word(record.bytes, 40));
            break;
        case kSelectObject:
            if (const auto pen = pens.find(Word(record.bytes, 8)); pen != pens.end()) {
                current = pen->second;
            }
            break;
        case kPolyline:
        case kPolyline16: {
            // Bounds, point count, then the points: 16-bit or 32-bit coordinate pairs.
            const std::uint32_t count = Word(record.bytes, 24);
            const bool narrow = record.type == kPolyline16;
            if (28 + static_cast<qsizetype>(count) * (narrow ? 4 : 8) > record.bytes.size()) {
                break;
            }
            EmfLine line{current, {}};
            for (std::uint32_t i = 0; i < count; ++i) {
                const qsizetype at = 28 + i * (narrow ? 4 : 8);
                if (narrow) {
                    qint16 xy[2];
                    std::memcpy(xy, record.bytes.constData() + at, sizeof xy);
                    line.points.append(QPoint(xy[0], xy[1]));
                } else {
                    line.points.append(
                        QPoint(static_cast<std::int32_t>(Word(record.bytes, at)),
                               static_cast<std::int32_t>(Word(record.bytes, at + 4))));
                }
            }
            lines.push_back(line);
            break;
        }
        default:
            break;
        }
    }
    return lines;
}

QStringList TextsOf(const EmfPicture& picture) {
    QStringList texts;
    for (const EmfRecord& record : picture.records) {
        if (record.type != kTextOutW) {
            continue;
        }
        // The text's description follows the bounds, mode and scales: reference point,
        // character count, offset of the characters from the start of the record.
        const std::uint32_t count = Word(record.bytes, 44);
        const std::uint32_t at = Word(record.bytes, 48);
        if (at + 2 * count <= static_cast<std::uint32_t>(record.bytes.size())) {
            texts.append(
                QString::fromUtf16(reinterpret_cast<const char16_t*>(record.bytes.constData() + at),
                                   static_cast<qsizetype>(count)));
        }
    }
    return texts;
}
