#pragma once

#include <QString>
#include <vector>

namespace vanecraft {

enum LineStyle { Solid = 0, Dashed = 1 };

// What the building aids draw on. Coordinates are twips (567 per centimetre), x to the right,
// y downwards, from the surface's top-left corner; widths are device pixels.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    virtual void BeginDrawing() = 0;
    virtual void ClearSurface() {}
    virtual void DrawLine(float x1, float y1, float x2, float y2) = 0;
    virtual void DrawCircle(float cx, float cy, float r) = 0;
    virtual void SetLineStyle(int style) = 0;
    virtual void SetLineWidth(int width) = 0;
    // Ends the page; false when the device could not take it.
    virtual bool EndDocument() { return true; }
};

// One drawing operation as issued, with the style and width in force for it.
struct DrawingOp {
    enum Kind { Begin, Clear, Line, Circle, Style, Width, End } kind;
    float a = 0, b = 0, c = 0, d = 0;
    int style = Solid;
    int width = 1;
    bool operator==(const DrawingOp&) const = default;
};

// Remembers every operation, so a drawing can be checked or painted again later.
class RecordingSurface : public DrawingSurface {
public:
    void BeginDrawing() override;
    void ClearSurface() override;
    void DrawLine(float x1, float y1, float x2, float y2) override;
    void DrawCircle(float cx, float cy, float r) override;
    void SetLineStyle(int style) override;
    void SetLineWidth(int width) override;
    bool EndDocument() override;

    const std::vector<DrawingOp>& ops() const { return ops_; }
    // Only the lines and circles, in drawing order.
    std::vector<DrawingOp> marks() const;
    // Issues the recorded operations again on another surface.
    void ReplayOn(DrawingSurface& target) const;
    void clear() { ops_.clear(); }

private:
    std::vector<DrawingOp> ops_;
    int style_ = Solid;
    int width_ = 1;
};

} // namespace vanecraft
