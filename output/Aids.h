#pragma once

#include "DrawingSurface.h"
#include "model/Design.h"

namespace vanecraft {

extern const char* const GuideToolName;   // "Fins alignment guide"
extern const char* const WrapperToolName; // "Body tube wrapper"
extern const char* const WrongValueMessage;
extern const char* const SelectToolToPrintMessage;
extern const char* const SelectToolToPreviewMessage;

// The printed page is an upright A4 sheet; the figure's centre is the sheet's centre.
constexpr double PageCentreX = 21.0 / 2 * 567;                    // 5953.5
constexpr float PageCentreY = static_cast<float>(29.7 / 2 * 567); // 8419.95
constexpr double PageWidthTwips = 21.0 * 567;                     // 11907
constexpr double PageHeightTwips = 29.7 * 567;                    // 16839.9
constexpr double Pi = 3.14159265358979;

// The values one drawing works from, in twips, worked out once before the tool is looked at.
struct Frame {
    double CentreX = 0;
    float CentreY = 0;
    double OuterRadius = 0;
    double InnerRadius = 0;
    double FinThickness = 0;
    double FinSpan = 0;
    double FinRoot = 0;
    double HalfFinThickness = 0;
    float Circumference = 0;
};

Frame ComputeFrame(const AppState& state, double centreX, float centreY);

// The tube end-on with every fin's outline and centre line. False, with nothing drawn, when the
// values cannot make a guide: the caller then tells the user WrongValueMessage.
bool DrawFinAlignmentGuide(DrawingSurface& surface, const Frame& frame, const AppState& state);

// The strip wrapped around the tube, one mark per fin. False, with nothing drawn, only for
// values no paper can hold (not finite, over 10 m, more than 1000 fins).
bool DrawBodyTubeWrapper(DrawingSurface& surface, const Frame& frame, int outlineWidth,
                         const AppState& state);

// Draws the named tool for the selected fin set: the shared path of print, preview and export.
enum class DrawResult { Drawn, Refused, NoTool };
DrawResult DrawTool(const QString& tool, DrawingSurface& surface, const Frame& frame,
                    int wrapperOutlineWidth, const AppState& state);

} // namespace vanecraft
