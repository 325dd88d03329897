#include "MetafileRecorder.h"

#include "MetafileOutput.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// A pen, brush or font of the picture: the last one made is kept while a stock object ("none")
// stands in for it, so switching between it and none writes no new object.
template <typename Description> struct CachedObject {
    HGDIOBJ handle = 0;
    Description description{};
    bool selected = false;

    // Selects the object described by description, making it only when it differs from the last.
    template <typename Make> void Select(HDC dc, const Description& wanted, Make make) {
        if (handle != 0 && description == wanted) {
            if (!selected) {
                SelectObject(dc, handle);
                selected = true;
            }
            return;
        }
        const HGDIOBJ made = make();
        SelectObject(dc, made);
        if (handle != 0) {
            DeleteObject(handle);
        }
        handle = made;
        description = wanted;
        selected = true;
    }
    void SelectStock(HDC dc, int stock) {
        if (selected) {
            SelectObject(dc, GetStockObject(stock));
            selected = false;
        }
    }
    void Release(HDC dc, int stock) {
        SelectObject(dc, GetStockObject(stock));
        if (handle != 0) {
            DeleteObject(handle);
        }
        *this = CachedObject{};
    }
};

} // namespace

struct MetafileRecorder::State {
    HDC dc = 0;
    CachedObject<Pen> pen;
    CachedObject<std::uint32_t> brush;
    CachedObject<Font> font;
    int fillMode = 0;
    std::uint32_t textColour = 0;
    bool textColourSet = false;
    std::vector<POINT> points;
};

namespace {

COLORREF ColourRef(std::uint32_t colour) {
    return static_cast<COLORREF>(colour & 0xFFFFFF);
}

DWORD PenStyle(const MetafileRecorder::Pen& pen) {
    DWORD style = PS_GEOMETRIC;
    switch (pen.style) {
    case MetafileRecorder::LineStyle::Solid:
        style |= PS_SOLID;
        break;
    case MetafileRecorder::LineStyle::Dash:
        style |= PS_DASH;
        break;
    case MetafileRecorder::LineStyle::Dot:
        style |= PS_DOT;
        break;
    case MetafileRecorder::LineStyle::DashDot:
        style |= PS_DASHDOT;
        break;
    case MetafileRecorder::LineStyle::DashDotDot:
        style |= PS_DASHDOTDOT;
        break;
    }
    switch (pen.cap) {
    case MetafileRecorder::LineCap::Flat:
        style |= PS_ENDCAP_FLAT;
        break;
    case MetafileRecorder::LineCap::Square:
        style |= PS_ENDCAP_SQUARE;
        break;
    case MetafileRecorder::LineCap::Round:
        style |= PS_ENDCAP_ROUND;
        break;
    }
    switch (pen.join) {
    case MetafileRecorder::LineJoin::Miter:
        style |= PS_JOIN_MITER;
        break;
    case MetafileRecorder::LineJoin::Bevel:
        style |= PS_JOIN_BEVEL;
        break;
    case MetafileRecorder::LineJoin::Round:
        style |= PS_JOIN_ROUND;
        break;
    }
    return style;
}

} // namespace

MetafileRecorder::MetafileRecorder() : state_(std::make_unique<State>()) {}

MetafileRecorder::~MetafileRecorder() {
    std::string ignored;
    Close(ignored);
}

bool MetafileRecorder::IsOpen() const {
    return state_->dc != 0;
}

bool MetafileRecorder::Open(const std::string& path, std::int32_t width, std::int32_t height,
                            double unitsPerInch, std::string& error) {
    if (IsOpen()) {
        error = "a picture is already being written";
        return false;
    }
    // The frame is in hundredths of a millimetre; the reference device sets how many of its
    // pixels make a millimetre, and the logical units are mapped onto those.
    const double millimetresPerUnit = 25.4 / unitsPerInch;
    const RECT frame{0, 0, static_cast<LONG>(std::lround(width * millimetresPerUnit * 100)),
                     static_cast<LONG>(std::lround(height * millimetresPerUnit * 100))};
    state_->dc = StartMetafile(path, frame, error);
    if (state_->dc == 0) {
        return false;
    }
    const HDC dc = state_->dc;
    const double pixelsPerMillimetreX =
        static_cast<double>(GetDeviceCaps(dc, HORZRES)) / GetDeviceCaps(dc, HORZSIZE);
    const double pixelsPerMillimetreY =
        static_cast<double>(GetDeviceCaps(dc, VERTRES)) / GetDeviceCaps(dc, VERTSIZE);
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowOrgEx(dc, 0, 0, nullptr);
    SetWindowExtEx(dc, width, height, nullptr);
    SetViewportOrgEx(dc, 0, 0, nullptr);
    SetViewportExtEx(
        dc, static_cast<INT>(std::lround(width * millimetresPerUnit * pixelsPerMillimetreX)),
        static_cast<INT>(std::lround(height * millimetresPerUnit * pixelsPerMillimetreY)), nullptr);
    SetBkMode(dc, TRANSPARENT);
    SetTextAlign(dc, TA_BASELINE | TA_LEFT);
    // Shapes start with neither outline nor fill until the painter asks for them.
    SelectObject(dc, GetStockObject(NULL_PEN));
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    state_->fillMode = 0;
    state_->textColourSet = false;
    return true;
}

bool MetafileRecorder::Close(std::string& error) {
    if (!IsOpen()) {
        return true;
    }
    State& s = *state_;
    s.pen.Release(s.dc, BLACK_PEN);
    s.brush.Release(s.dc, WHITE_BRUSH);
    s.font.Release(s.dc, SYSTEM_FONT);
    const HDC dc = s.dc;
    s.dc = 0;
    return FinishMetafile(dc, error);
}

void MetafileRecorder::SelectPen(const Pen* pen) {
    State& s = *state_;
    if (pen == nullptr) {
        s.pen.SelectStock(s.dc, NULL_PEN);
        return;
    }
    s.pen.Select(s.dc, *pen, [&] {
        LOGBRUSH brush{BS_SOLID, ColourRef(pen->colour), 0};
        return ExtCreatePen(PenStyle(*pen), static_cast<DWORD>(std::max(pen->width, 1)), &brush, 0,
                            nullptr);
    });
}

void MetafileRecorder::SelectBrush(const std::uint32_t* colour) {
    State& s = *state_;
    if (colour == nullptr) {
        s.brush.SelectStock(s.dc, NULL_BRUSH);
        return;
    }
    s.brush.Select(s.dc, *colour, [&] { return CreateSolidBrush(ColourRef(*colour)); });
}

void MetafileRecorder::SelectFont(const Font& font) {
    State& s = *state_;
    s.font.Select(s.dc, font, [&] {
        const std::u16string face = font.family.substr(0, LF_FACESIZE - 1);
        return CreateFontW(-std::abs(font.height), 0, font.escapement, font.escapement, font.weight,
                           font.italic, font.underline, font.strikeOut, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                           DEFAULT_PITCH, reinterpret_cast<LPCWSTR>(face.c_str()));
    });
}

void MetafileRecorder::Polyline(const Point* points, std::size_t count) {
    if (count < 2) {
        return;
    }
    State& s = *state_;
    s.points.resize(count);
    for (std::size_t i = 0; i < count; ++i) {
        s.points[i] = POINT{points[i].x, points[i].y};
    }
    ::Polyline(s.dc, s.points.data(), static_cast<INT>(count));
}

void MetafileRecorder::PolyPolygon(const Point* points, const std::int32_t* counts,
                                   std::size_t polygons, bool winding) {
    if (polygons == 0) {
        return;
    }
    State& s = *state_;
    std::size_t total = 0;
    for (std::size_t i = 0; i < polygons; ++i) {
        total += static_cast<std::size_t>(counts[i]);
    }
    s.points.resize(total);
    for (std::size_t i = 0; i < total; ++i) {
        s.points[i] = POINT{points[i].x, points[i].y};
    }
    const int mode = winding ? WINDING : ALTERNATE;
    if (s.fillMode != mode) {
        SetPolyFillMode(s.dc, mode);
        s.fillMode = mode;
    }
    if (polygons == 1) {
        ::Polygon(s.dc, s.points.data(), counts[0]);
    } else {
        ::PolyPolygon(s.dc, s.points.data(), counts, static_cast<UINT>(polygons));
    }
}

void MetafileRecorder::Text(Point origin, std::u16string_view text, const std::int32_t* advances,
                            std::uint32_t colour, const Rect* clip) {
    if (text.empty()) {
        return;
    }
    State& s = *state_;
    if (!s.textColourSet || s.textColour != colour) {
        SetTextColor(s.dc, ColourRef(colour));
        s.textColour = colour;
        s.textColourSet = true;
    }
    RECT clipRect{};
    UINT options = 0;
    if (clip != nullptr) {
        clipRect = RECT{clip->left, clip->top, clip->right, clip->bottom};
        options |= ETO_CLIPPED;
    }
    std::vector<INT> steps(advances, advances + text.size());
    ExtTextOutW(s.dc, origin.x, origin.y, options, clip != nullptr ? &clipRect : nullptr,
                reinterpret_cast<LPCWSTR>(text.data()), static_cast<UINT>(text.size()),
                steps.data());
}
