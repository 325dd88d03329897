#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// Writes an enhanced metafile through the GDI calls that produce one: the one place that speaks
// to GDI (the metafile library's on Linux, the system's on Windows). The library keeps global
// state, so a recorder is used on the user-interface thread only. Coordinates are logical units;
// colours are 0xBBGGRR.
class MetafileRecorder {
public:
    struct Point {
        std::int32_t x;
        std::int32_t y;
    };
    struct Rect {
        std::int32_t left;
        std::int32_t top;
        std::int32_t right;
        std::int32_t bottom;
    };
    enum class LineStyle { Solid, Dash, Dot, DashDot, DashDotDot };
    enum class LineCap { Flat, Square, Round };
    enum class LineJoin { Miter, Bevel, Round };
    struct Pen {
        std::uint32_t colour = 0;
        std::int32_t width = 1;
        LineStyle style = LineStyle::Solid;
        LineCap cap = LineCap::Square;
        LineJoin join = LineJoin::Bevel;
        bool operator==(const Pen&) const = default;
    };
    struct Font {
        std::u16string family;
        std::int32_t height = 12; // of the characters, without internal leading
        std::int32_t weight = 400;
        bool italic = false;
        bool underline = false;
        bool strikeOut = false;
        std::int32_t escapement = 0; // tenths of a degree, anticlockwise
        bool operator==(const Font&) const = default;
    };

    MetafileRecorder();
    ~MetafileRecorder();
    MetafileRecorder(const MetafileRecorder&) = delete;
    MetafileRecorder& operator=(const MetafileRecorder&) = delete;

    // Starts a picture of width x height logical units, unitsPerInch of them to the inch,
    // replacing any file at path. False, with the reason in error, when it cannot be created.
    bool Open(const std::string& path, std::int32_t width, std::int32_t height, double unitsPerInch,
              std::string& error);
    // Finishes the picture; false, with the reason, when the file could not be written in full.
    bool Close(std::string& error);
    bool IsOpen() const;

    // Outline of the following shapes; none draws no outline.
    void SelectPen(const Pen* pen);
    // Fill of the following shapes; none leaves them hollow.
    void SelectBrush(const std::uint32_t* colour);
    void SelectFont(const Font& font);

    void Polyline(const Point* points, std::size_t count);
    // Polygons of counts[i] points each, filled with the brush by the winding or the even-odd
    // rule and outlined with the pen.
    void PolyPolygon(const Point* points, const std::int32_t* counts, std::size_t polygons,
                     bool winding);
    // Text with its left end on the baseline at origin; advances[i] is the step from character
    // i to the next, so the text keeps the widths it was laid out with. Nothing outside clip
    // (when given) shows.
    void Text(Point origin, std::u16string_view text, const std::int32_t* advances,
              std::uint32_t colour, const Rect* clip);

private:
    struct State;
    std::unique_ptr<State> state_;
};
