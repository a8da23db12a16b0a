#include "DrawingSurface.h"

namespace vanecraft {

void RecordingSurface::BeginDrawing() {
    style_ = Solid;
    ops_.push_back({DrawingOp::Begin, 0, 0, 0, 0, style_, width_});
}

void RecordingSurface::ClearSurface() {
    ops_.push_back({DrawingOp::Clear, 0, 0, 0, 0, style_, width_});
}

void RecordingSurface::DrawLine(float x1, float y1, float x2, float y2) {
    ops_.push_back({DrawingOp::Line, x1, y1, x2, y2, style_, width_});
}

void RecordingSurface::DrawCircle(float cx, float cy, float r) {
    ops_.push_back({DrawingOp::Circle, cx, cy, r, 0, style_, width_});
}

void RecordingSurface::SetLineStyle(int style) {
    style_ = style;
    ops_.push_back({DrawingOp::Style, 0, 0, 0, 0, style_, width_});
}

void RecordingSurface::SetLineWidth(int width) {
    width_ = width;
    ops_.push_back({DrawingOp::Width, 0, 0, 0, 0, style_, width_});
}

bool RecordingSurface::EndDocument() {
    ops_.push_back({DrawingOp::End, 0, 0, 0, 0, style_, width_});
    return true;
}

std::vector<DrawingOp> RecordingSurface::marks() const {
    std::vector<DrawingOp> out;
    for (const DrawingOp& op : ops_)
        if (op.kind == DrawingOp::Line || op.kind == DrawingOp::Circle)
            out.push_back(op);
    return out;
}

void RecordingSurface::ReplayOn(DrawingSurface& t) const {
    for (const DrawingOp& op : ops_) {
        switch (op.kind) {
        case DrawingOp::Begin:
            t.BeginDrawing();
            break;
        case DrawingOp::Clear:
            t.ClearSurface();
            break;
        case DrawingOp::Line:
            t.DrawLine(op.a, op.b, op.c, op.d);
            break;
        case DrawingOp::Circle:
            t.DrawCircle(op.a, op.b, op.c);
            break;
        case DrawingOp::Style:
            t.SetLineStyle(op.style);
            break;
        case DrawingOp::Width:
            t.SetLineWidth(op.width);
            break;
        case DrawingOp::End:
            t.EndDocument();
            break;
        }
    }
}

} // namespace vanecraft
